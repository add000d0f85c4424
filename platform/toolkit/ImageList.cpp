#include "platform/toolkit/ImageList.h"

#include "platform/toolkit/Bitmap.h"

#include <QPainter>

TImageList::TImageList(TComponent* AOwner) : TComponent(AOwner) {}

void TImageList::SetWidth(int width)
{
    SetSize(width, FHeight);
}

void TImageList::SetHeight(int height)
{
    SetSize(FWidth, height);
}

void TImageList::SetSize(int width, int height)
{
    if (width == FWidth && height == FHeight) return;
    FWidth = std::max(0, width);
    FHeight = std::max(0, height);
    Clear();
}

void TImageList::Clear()
{
    FImages.clear();
    ++FGeneration;
}

std::vector<QPixmap> TImageList::TakeImages()
{
    std::vector<QPixmap> images;
    images.swap(FImages);
    ++FGeneration;
    return images;
}

int TImageList::Add(TBitmap* image, TBitmap* mask)
{
    QPixmap picture;
    if (image && !image->Image().isNull()) {
        if (!mask || mask->Image().isNull()) {
            // An opaque bitmap: the pixmap shares its pixels as they are, so
            // the list holds the one copy once the bitmap is gone.
            picture = QPixmap::fromImage(image->Image());
        } else {
            QImage pixels = image->Image().convertToFormat(QImage::Format_ARGB32);
            const QImage bits =
                mask->Image().scaled(pixels.size()).convertToFormat(QImage::Format_RGB32);
            for (int y = 0; y < pixels.height(); ++y) {
                auto* line = reinterpret_cast<QRgb*>(pixels.scanLine(y));
                const auto* maskLine = reinterpret_cast<const QRgb*>(bits.constScanLine(y));
                for (int x = 0; x < pixels.width(); ++x)
                    if (qGray(maskLine[x]) >= 128) line[x] = qRgba(0, 0, 0, 0);
            }
            picture = QPixmap::fromImage(pixels);
        }
        picture.setDevicePixelRatio(image->DevicePixelRatio());
    }
    return AddPixmap(picture);
}

int TImageList::AddPixmap(const QPixmap& pixmap)
{
    FImages.push_back(Fit(pixmap));
    ++FGeneration;
    return Count() - 1;
}

QPixmap TImageList::Image(int index) const
{
    if (index < 0 || index >= Count()) return {};
    return FImages[static_cast<size_t>(index)];
}

QPixmap TImageList::Fit(const QPixmap& pixmap) const
{
    if (FWidth <= 0 || FHeight <= 0) return {};
    // A picture drawn for a high-density screen keeps its pixels.
    if (pixmap.deviceIndependentSize().toSize() == QSize(FWidth, FHeight)) return pixmap;
    // An empty or differently sized picture still takes one slot of the
    // list's size, so that indexes stay in step.
    QPixmap fitted(FWidth, FHeight);
    if (fitted.isNull()) return {};
    fitted.fill(Qt::transparent);
    if (!pixmap.isNull()) {
        QPainter painter(&fitted);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(fitted.rect(), pixmap);
    }
    return fitted;
}
