#pragma once
// The eight 16 x 16 glyphs of the main tool bar: the icon theme's icon where
// the theme has one for the glyph's subject, else drawn in the colours of
// the palette, so that they stand out on light and dark desktops alike.

class QPalette;
class TImageList;

// Adds, in this order: 0 an open folder, 1 a folder with an upward arrow,
// 2 large icons, 3 small icons, 4 list, 5 report, 6 a stack of pages,
// 7 a round play button; drawn glyphs take their colours from palette.
void AddToolBarGlyphs(TImageList* images, const QPalette& palette);
