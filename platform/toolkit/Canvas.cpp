#include "platform/toolkit/Graphics.h"

TCanvas::TCanvas() : Font(new TFont) {}

TCanvas::~TCanvas()
{
    delete Font;
}

void TCanvas::StretchDraw(const TRect& rect, TGraphic* graphic)
{
    if (graphic) graphic->Draw(this, rect);
}
