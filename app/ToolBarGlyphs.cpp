#include "app/ToolBarGlyphs.h"

#include "platform/base/IconTheme.h"
#include "platform/toolkit/ImageList.h"

#include <QGuiApplication>
#include <QIcon>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QPixmap>

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace {

constexpr int kSize = 16;
// The folder keeps its colour on every palette; the rest follows the palette.
const QColor kFolder(240, 200, 80);
const QColor kFolderDark(205, 155, 45);

// The colours a drawn glyph uses: ink for outlines and lines, paper for
// sheets, accent for what stands out, all taken from the palette.
struct Colours {
    QColor ink, paper, accent, background;
    explicit Colours(const QPalette& palette)
        : ink(palette.color(QPalette::ButtonText)),
          paper(palette.color(QPalette::Base)),
          accent(palette.color(QPalette::Highlight)),
          background(palette.color(QPalette::Button))
    {
    }
};

using Draw = void (*)(QPainter&, const Colours&);

double Luminance(const QColor& c)
{
    const auto channel = [](double v) {
        v /= 255.0;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.red()) + 0.7152 * channel(c.green()) + 0.0722 * channel(c.blue());
}

// True when enough of the picture differs from the background as clearly as
// a control's outline must (3:1), so that the glyph does not vanish into it.
bool StandsOut(const QPixmap& picture, const QColor& background)
{
    const QImage image = picture.toImage().convertToFormat(QImage::Format_ARGB32);
    const double back = Luminance(background);
    int clear = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = QColor::fromRgba(image.pixel(x, y));
            if (pixel.alpha() < 128) continue;
            const double lum = Luminance(pixel);
            const double ratio = (std::max(lum, back) + 0.05) / (std::min(lum, back) + 0.05);
            if (ratio >= 3.0) ++clear;
        }
    return clear * 10 >= image.width() * image.height();  // a tenth of the square
}

QPixmap Drawn(Draw draw, const Colours& colours, qreal ratio)
{
    QPixmap pixmap(QSize(kSize, kSize) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    draw(painter, colours);
    return pixmap;
}

void FolderBack(QPainter& p, const Colours& c)
{
    p.setPen(c.ink);
    p.setBrush(kFolderDark);
    QPainterPath back;
    back.moveTo(1.5, 3.5);
    back.lineTo(6.5, 3.5);
    back.lineTo(8.5, 5.5);
    back.lineTo(14.5, 5.5);
    back.lineTo(14.5, 13.5);
    back.lineTo(1.5, 13.5);
    back.closeSubpath();
    p.drawPath(back);
}

void OpenFolder(QPainter& p, const Colours& c)
{
    FolderBack(p, c);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(kFolder);
    QPainterPath flap;
    flap.moveTo(1.5, 13.5);
    flap.lineTo(4.5, 7.5);
    flap.lineTo(15.5, 7.5);
    flap.lineTo(12.5, 13.5);
    flap.closeSubpath();
    p.drawPath(flap);
}

void FolderUp(QPainter& p, const Colours& c)
{
    FolderBack(p, c);
    p.fillRect(QRect(2, 7, 12, 6), kFolder);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(c.ink, 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8, 12), QPointF(8, 1.5));
    p.drawLine(QPointF(8, 1.5), QPointF(4.5, 5));
    p.drawLine(QPointF(8, 1.5), QPointF(11.5, 5));
}

void Square(QPainter& p, const Colours& c, int x, int y, int side)
{
    p.setPen(c.ink);
    p.setBrush(c.accent);
    p.drawRect(x, y, side - 1, side - 1);
}

void LargeIcons(QPainter& p, const Colours& c)
{
    for (int x : {1, 9})
        for (int y : {1, 9}) Square(p, c, x, y, 6);
}

void SmallIcons(QPainter& p, const Colours& c)
{
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 2; ++column) {
            const int x = 1 + column * 8;
            const int y = 2 + row * 5;
            Square(p, c, x, y, 3);
            p.setPen(c.ink);
            p.drawLine(x + 4, y + 1, x + 6, y + 1);
        }
}

void List(QPainter& p, const Colours& c)
{
    for (int column = 0; column < 2; ++column)
        for (int row = 0; row < 4; ++row) {
            const int x = 1 + column * 8;
            const int y = 2 + row * 4;
            p.fillRect(x, y, 2, 2, c.ink);
            p.setPen(c.ink);
            p.drawLine(x + 3, y, x + 6, y);
        }
}

void Report(QPainter& p, const Colours& c)
{
    p.setPen(c.ink);
    p.setBrush(c.paper);
    p.drawRect(1, 1, 13, 13);
    p.fillRect(2, 2, 12, 3, c.accent);
    p.drawLine(1, 5, 14, 5);
    p.drawLine(6, 2, 6, 13);
    for (int y : {8, 11}) p.drawLine(2, y, 13, y);
}

void Pages(QPainter& p, const Colours& c)
{
    for (int i = 2; i >= 0; --i) {
        const int x = 1 + i * 2;
        const int y = 5 - i * 2;
        p.setPen(c.ink);
        p.setBrush(c.paper);
        p.drawRect(x, y, 9, 10);
    }
    p.setPen(c.accent);
    for (int y : {8, 10, 12}) p.drawLine(3, y, 8, y);
}

void Play(QPainter& p, const Colours& c)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(c.ink, 1));
    p.setBrush(c.accent);
    p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    p.setPen(Qt::NoPen);
    p.setBrush(c.paper);
    const QPointF triangle[] = {{6, 4.5}, {6, 11.5}, {11.5, 8}};
    p.drawPolygon(triangle, 3);
}

struct Subject {
    // Icon theme names for the subject, best first; none when no common name
    // depicts it.
    std::initializer_list<const char*> themeNames;
    Draw draw;
};

const Subject kSubjects[] = {
    {{"folder-open"}, OpenFolder},     {{"go-parent-folder", "folder-up"}, FolderUp},
    {{"view-list-icons"}, LargeIcons}, {{}, SmallIcons},
    {{"view-list-text"}, List},        {{"view-list-details"}, Report},
    {{"document-multiple"}, Pages},    {{"media-playback-start"}, Play},
};

qreal PixelRatio()
{
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    return app ? std::max<qreal>(1.0, app->devicePixelRatio()) : 1.0;
}

QPixmap Glyph(const Subject& subject, const QPalette& palette, qreal ratio)
{
    const Colours colours(palette);
    EnsureIconTheme();
    for (const char* name : subject.themeNames) {
        const QString themeName = QString::fromLatin1(name);
        if (!QIcon::hasThemeIcon(themeName)) continue;
        const QPixmap themed = QIcon::fromTheme(themeName).pixmap(QSize(kSize, kSize), ratio);
        if (!themed.isNull() && StandsOut(themed, colours.background)) return themed;
    }
    return Drawn(subject.draw, colours, ratio);
}

}  // namespace

void AddToolBarGlyphs(TImageList* images, const QPalette& palette)
{
    const qreal ratio = PixelRatio();
    for (const Subject& subject : kSubjects) images->AddPixmap(Glyph(subject, palette, ratio));
}
