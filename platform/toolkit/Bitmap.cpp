#include "platform/toolkit/Bitmap.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>

namespace {

// What a new area shows: the base colour of the application's palette (what
// lists and tiles are drawn on), so that a dark theme gets no white bars;
// white where there is no palette (no application yet).
QColor fillColour()
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return Qt::white;
    return QGuiApplication::palette().color(QPalette::Active, QPalette::Base);
}

}  // namespace

TBitmap::TBitmap() : FCanvas(std::make_unique<TCanvas>())
{
    FCanvas->Target = &FImage;
}

TBitmap::~TBitmap() = default;

void TBitmap::SetWidth(int width)
{
    Resize(width, FHeight);
}

void TBitmap::SetHeight(int height)
{
    Resize(FWidth, height);
}

void TBitmap::Resize(int width, int height)
{
    if (width == FWidth && height == FHeight) return;
    if (width < 0 || height < 0 || width > kMaxSide || height > kMaxSide ||
        static_cast<long long>(width) * height > kMaxPixels)
        throw EOutOfResources(Format("Cannot make a bitmap of %d x %d pixels", width, height));

    QImage image;
    if (width > 0 && height > 0) {
        image = QImage(width, height, QImage::Format_RGB32);
        if (image.isNull())
            throw EOutOfResources(
                Format("Not enough memory for a bitmap of %d x %d pixels", width, height));
        image.fill(fillColour().rgb());
        if (!FImage.isNull()) {
            QPainter painter(&image);
            painter.drawImage(0, 0, FImage);
        }
    }
    FImage = std::move(image);
    FWidth = width;
    FHeight = height;
}

void TBitmap::Draw(TCanvas* canvas, const TRect& rect)
{
    if (FImage.isNull() || !canvas || !canvas->Target || canvas->Target->isNull()) return;
    const qint64 width = qint64{rect.Right} - rect.Left;
    const qint64 height = qint64{rect.Bottom} - rect.Top;
    if (width <= 0 || height <= 0) return;
    QPainter painter(canvas->Target);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(
        QRectF(rect.Left, rect.Top, static_cast<qreal>(width), static_cast<qreal>(height)), FImage);
}
