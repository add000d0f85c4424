#include "slideshow/PlaybackGlyphs.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <functional>

namespace {
const QColor kSymbolBlue(0x1E, 0x4F, 0xC8);
const QColor kOutline(0x40, 0x40, 0x48);

QPixmap drawGlyph(int width, int height, const std::function<void(QPainter&)>& paint)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    paint(painter);
    painter.end();
    return QPixmap::fromImage(image);
}

// A raised round button face filling the 28 x 28 square.
void drawRoundButton(QPainter& p)
{
    QRadialGradient face(QPointF(11, 10), 16);
    face.setColorAt(0.0, QColor(0xFF, 0xFF, 0xFF));
    face.setColorAt(1.0, QColor(0xB8, 0xC0, 0xCC));
    p.setPen(QPen(kOutline, 1.2));
    p.setBrush(face);
    p.drawEllipse(QRectF(1.5, 1.5, 25, 25));
}

void drawTriangle(QPainter& p, qreal left, qreal right, qreal top, qreal bottom)
{
    QPainterPath path;
    path.moveTo(left, top);
    path.lineTo(right, (top + bottom) / 2);
    path.lineTo(left, bottom);
    path.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(kSymbolBlue);
    p.drawPath(path);
}

// Lens, handle and the sign inside the lens; plus adds the vertical stroke.
void drawMagnifier(QPainter& p, bool plus)
{
    p.setPen(QPen(QColor(0x5A, 0x3A, 0x1A), 3.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(14.5, 14.5), QPointF(20.5, 19.5));
    p.setPen(QPen(kOutline, 1.6));
    p.setBrush(QColor(0xDD, 0xEE, 0xFF));
    p.drawEllipse(QRectF(1.5, 1.5, 14, 14));
    p.setPen(QPen(kSymbolBlue, 2.0, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(4.5, 8.5), QPointF(12.5, 8.5));
    if (plus) p.drawLine(QPointF(8.5, 4.5), QPointF(8.5, 12.5));
}
}  // namespace

QPixmap PlayGlyph()
{
    return drawGlyph(28, 28, [](QPainter& p) {
        drawRoundButton(p);
        drawTriangle(p, 10.5, 20.5, 7.5, 20.5);
    });
}

QPixmap StopGlyph()
{
    return drawGlyph(28, 28, [](QPainter& p) {
        drawRoundButton(p);
        p.setPen(Qt::NoPen);
        p.setBrush(kSymbolBlue);
        p.drawRect(QRectF(9, 9, 10, 10));
    });
}

QPixmap ForwardGlyph()
{
    return drawGlyph(28, 28, [](QPainter& p) {
        drawRoundButton(p);
        drawTriangle(p, 8.5, 17.5, 8.5, 19.5);
        p.drawRect(QRectF(17.5, 8.5, 2.5, 11));
    });
}

QPixmap BackGlyph()
{
    // The forward glyph mirrored left to right.
    return QPixmap::fromImage(ForwardGlyph().toImage().mirrored(true, false));
}

QPixmap ZoomInGlyph()
{
    return drawGlyph(23, 22, [](QPainter& p) { drawMagnifier(p, true); });
}

QPixmap ZoomOutGlyph()
{
    return drawGlyph(23, 21, [](QPainter& p) { drawMagnifier(p, false); });
}

QPixmap PrinterGlyph()
{
    return drawGlyph(26, 19, [](QPainter& p) {
        p.setPen(QPen(kOutline, 1.0));
        // Paper waiting at the back.
        p.setBrush(Qt::white);
        p.drawRect(QRectF(7.5, 0.5, 11, 7));
        // The body.
        p.setBrush(QColor(0xC8, 0xC8, 0xC0));
        p.drawRoundedRect(QRectF(1.5, 6.5, 23, 8), 1.5, 1.5);
        // The printed sheet coming out at the front, with two lines of text.
        p.setBrush(Qt::white);
        p.drawRect(QRectF(5.5, 11.5, 15, 7));
        p.drawLine(QPointF(8, 14), QPointF(18, 14));
        p.drawLine(QPointF(8, 16.5), QPointF(15, 16.5));
        // The power light.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x20, 0xB0, 0x30));
        p.drawEllipse(QRectF(20, 8.5, 2.5, 2.5));
    });
}
