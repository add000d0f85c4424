#pragma once
// A bitmap in memory with a canvas that draws into it.

#include "platform/toolkit/Graphics.h"

#include <memory>

// The pixels are opaque RGB32. A new or enlarged area has the application
// palette's base colour (white without an application). Sizes run
// from 0 (an empty bitmap, nothing allocated) to kMaxSide per side and
// kMaxPixels in all; outside that, or when memory runs out, a setter raises
// EOutOfResources and the bitmap keeps its old size and pixels.
class TBitmap : public TGraphic {
public:
    static constexpr int kMaxSide = 32767;
    static constexpr long long kMaxPixels = 1LL << 27;

    TBitmap();
    ~TBitmap() override;
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    int Width() const override { return FWidth; }
    int Height() const override { return FHeight; }
    void SetWidth(int width);
    void SetHeight(int height);
    // Draws into the bitmap; valid for the bitmap's life.
    TCanvas* Canvas() { return FCanvas.get(); }
    // The pixels; a null image while either side is 0.
    const QImage& Image() const { return FImage; }
    // How many pixels of the bitmap make one pixel of the screen it is meant
    // for (1 unless set); an image list shows it at Width() / ratio logical
    // pixels. Drawing into the bitmap's canvas is always in its own pixels.
    qreal DevicePixelRatio() const { return FDevicePixelRatio; }
    void SetDevicePixelRatio(qreal ratio) { FDevicePixelRatio = ratio > 0 ? ratio : 1.0; }
    // Draws the bitmap stretched smoothly into rect, clipped to the canvas.
    void Draw(TCanvas* canvas, const TRect& rect) override;

private:
    void Resize(int width, int height);

    QImage FImage;
    std::unique_ptr<TCanvas> FCanvas;
    int FWidth = 0;
    int FHeight = 0;
    qreal FDevicePixelRatio = 1.0;
};

class EOutOfResources : public Exception {
public:
    using Exception::Exception;
};
