#pragma once
// The eight 16 x 16 glyphs of the main tool bar, drawn rather than loaded.

class TImageList;

// Adds, in this order: 0 an open folder, 1 a folder with an upward arrow,
// 2 large icons, 3 small icons, 4 list, 5 report, 6 a stack of pages,
// 7 a round play button.
void AddToolBarGlyphs(TImageList* images);
