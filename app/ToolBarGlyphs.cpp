#include "app/ToolBarGlyphs.h"

#include "platform/toolkit/ImageList.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>

namespace {

constexpr int kSize = 16;
const QColor kOutline(64, 64, 64);
const QColor kFolder(240, 200, 80);
const QColor kFolderDark(200, 150, 40);
const QColor kBlue(40, 90, 180);
const QColor kPaper(252, 252, 252);

QPixmap Glyph(const std::function<void(QPainter&)>& draw)
{
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    draw(painter);
    return pixmap;
}

void FolderBack(QPainter& p)
{
    p.setPen(kOutline);
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

void OpenFolder(QPainter& p)
{
    FolderBack(p);
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

void FolderUp(QPainter& p)
{
    FolderBack(p);
    p.fillRect(QRect(2, 7, 12, 6), kFolder);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kBlue, 1.6));
    p.drawLine(QPointF(8, 12), QPointF(8, 1.5));
    p.drawLine(QPointF(8, 1.5), QPointF(4.5, 5));
    p.drawLine(QPointF(8, 1.5), QPointF(11.5, 5));
}

void Square(QPainter& p, int x, int y, int side)
{
    p.setPen(kOutline);
    p.setBrush(kBlue.lighter(150));
    p.drawRect(x, y, side - 1, side - 1);
}

void LargeIcons(QPainter& p)
{
    for (int x : {1, 9})
        for (int y : {1, 9}) Square(p, x, y, 6);
}

void SmallIcons(QPainter& p)
{
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 2; ++column) {
            const int x = 1 + column * 8;
            const int y = 2 + row * 5;
            Square(p, x, y, 3);
            p.setPen(kOutline);
            p.drawLine(x + 4, y + 1, x + 6, y + 1);
        }
}

void List(QPainter& p)
{
    for (int column = 0; column < 2; ++column)
        for (int row = 0; row < 4; ++row) {
            const int x = 1 + column * 8;
            const int y = 2 + row * 4;
            p.fillRect(x, y, 2, 2, kBlue);
            p.setPen(kOutline);
            p.drawLine(x + 3, y, x + 6, y);
        }
}

void Report(QPainter& p)
{
    p.setPen(kOutline);
    p.setBrush(kPaper);
    p.drawRect(1, 1, 13, 13);
    p.fillRect(2, 2, 12, 3, kBlue.lighter(140));
    p.drawLine(1, 5, 14, 5);
    p.drawLine(6, 2, 6, 13);
    for (int y : {8, 11}) p.drawLine(2, y, 13, y);
}

void Pages(QPainter& p)
{
    for (int i = 2; i >= 0; --i) {
        const int x = 1 + i * 2;
        const int y = 5 - i * 2;
        p.setPen(kOutline);
        p.setBrush(i == 0 ? kPaper : kPaper.darker(110 + i * 5));
        p.drawRect(x, y, 9, 10);
    }
    p.setPen(kBlue);
    for (int y : {8, 10, 12}) p.drawLine(3, y, 8, y);
}

void Play(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kBlue.darker(130), 1));
    p.setBrush(kBlue);
    p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    const QPointF triangle[] = {{6, 4.5}, {6, 11.5}, {11.5, 8}};
    p.drawPolygon(triangle, 3);
}

}  // namespace

void AddToolBarGlyphs(TImageList* images)
{
    for (auto* draw : {OpenFolder, FolderUp, LargeIcons, SmallIcons, List, Report, Pages, Play})
        images->AddPixmap(Glyph(draw));
}
