#pragma once
// Colours, fonts, rectangles, the drawing surface and the picture base class.

#include "platform/base/SysUtils.h"

#include <QColor>
#include <QFont>
#include <QImage>

class QPainter;

// 0x00BBGGRR for plain colours; system colours are 0x80000000 | COLOR_*.
using TColor = std::int32_t;
constexpr TColor clSystemColor = static_cast<TColor>(0x80000000u);
constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clWindow = clSystemColor | COLOR_WINDOW;
constexpr TColor clWindowText = clSystemColor | COLOR_WINDOWTEXT;
constexpr TColor clAppWorkSpace = clSystemColor | COLOR_APPWORKSPACE;
constexpr TColor clHighlight = clSystemColor | COLOR_HIGHLIGHT;
constexpr TColor clBtnFace = clSystemColor | COLOR_BTNFACE;
constexpr TColor clGrayText = clSystemColor | COLOR_GRAYTEXT;
// Resolves system colours through GetSysColor.
COLORREF ColorToRGB(TColor color);
QColor ToQColor(TColor color);

enum TFontStyle { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = int;  // a set of TFontStyle bits

class TFont {
public:
    AnsiString Name = "MS Sans Serif";
    int Height = -11;  // negative: character height in pixels
    TColor Color = clWindowText;
    TFontStyles Style = 0;
    QFont ToQFont(const QFont& base) const;
};

struct TPoint {
    int x = 0;
    int y = 0;
};

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool operator==(const TRect&) const = default;
};
inline TRect Rect(int left, int top, int right, int bottom)
{
    return {left, top, right, bottom};
}

class TCanvas;

// A picture that can draw itself stretched into a rectangle of a canvas.
class TGraphic {
public:
    virtual ~TGraphic() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual bool Empty() const { return Width() == 0 || Height() == 0; }
    // Draws the picture stretched into rect on canvas, clipped to the canvas.
    virtual void Draw(TCanvas* canvas, const TRect& rect) = 0;
};

// A drawing surface. A bitmap's canvas draws into the bitmap's image; a list
// view's canvas only carries the font its drawing events may change.
class TCanvas {
public:
    TCanvas();
    ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    TFont* Font;
    // The image this canvas draws into; null for a list view's canvas.
    QImage* Target = nullptr;
    void StretchDraw(const TRect& rect, TGraphic* graphic);
};

enum TCursor : int {
    crDefault = 0,
    crArrow = -2,
    crHourGlass = -11,
    crHSplit = -14,
    crVSplit = -15,
};
// The Qt shape a cursor is shown with; the arrow for any other value.
Qt::CursorShape ToQCursorShape(TCursor cursor);
