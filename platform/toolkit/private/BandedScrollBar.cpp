#include "platform/toolkit/private/BandedScrollBar.h"

#include <QEvent>
#include <QHoverEvent>
#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QStyleOptionSlider>

#include <algorithm>
#include <cmath>

QStyle::SubControl BandedScrollBar::PartAt(const QPoint& point) const
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    return style()->hitTestComplexControl(QStyle::CC_ScrollBar, &option, point, this);
}

void BandedScrollBar::paintEvent(QPaintEvent* event)
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    option.subControls = QStyle::SC_All;
    if (FPressed != QStyle::SC_None) {
        option.activeSubControls = FPressed;
        if (!FOutsidePressed) option.state |= QStyle::State_Sunken;
    } else {
        option.activeSubControls = FHovered;
    }
    // Each band is drawn whole into an image and then copied in: the style
    // sets clips of its own, so a clip on this painter would not hold it to
    // the band. One image serves every band. Scaled up, the style's lines are
    // wider and take more spans a row, so the bands are fewer rows.
    const qreal ratio = devicePixelRatioF();
    const int bandHeight = std::max(1, static_cast<int>(kBandRows / (ratio * ratio)));
    QImage image((QSizeF(width(), bandHeight) * ratio).toSize(),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    QPainter painter(this);
    const QRect area = event->rect().intersected(rect());
    for (int top = area.top(); top <= area.bottom(); top += bandHeight) {
        const int rows = std::min(bandHeight, area.bottom() + 1 - top);
        image.fill(Qt::transparent);
        QPainter bandPainter(&image);
        bandPainter.translate(0, -top);
        style()->drawComplexControl(QStyle::CC_ScrollBar, &option, &bandPainter, this);
        bandPainter.end();
        painter.drawImage(QPointF(0, top), image,
                          QRectF(0, 0, image.width(), std::ceil(rows * ratio)));
    }
}

bool BandedScrollBar::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::HoverEnter:
    case QEvent::HoverMove:
        if (const QStyle::SubControl part =
                PartAt(static_cast<QHoverEvent*>(event)->position().toPoint());
            part != FHovered) {
            FHovered = part;
            update();
        }
        break;
    case QEvent::HoverLeave:
        FHovered = QStyle::SC_None;
        update();
        break;
    default: break;
    }
    return QScrollBar::event(event);
}

void BandedScrollBar::mousePressEvent(QMouseEvent* event)
{
    FPressed = PartAt(event->position().toPoint());
    FOutsidePressed = false;
    QScrollBar::mousePressEvent(event);
}

void BandedScrollBar::mouseMoveEvent(QMouseEvent* event)
{
    // The slider is dragged wherever the pointer goes; other parts count as
    // pressed only while the pointer is over them.
    if (FPressed != QStyle::SC_None && FPressed != QStyle::SC_ScrollBarSlider)
        FOutsidePressed = PartAt(event->position().toPoint()) != FPressed;
    QScrollBar::mouseMoveEvent(event);
}

void BandedScrollBar::mouseReleaseEvent(QMouseEvent* event)
{
    FPressed = QStyle::SC_None;
    FOutsidePressed = false;
    QScrollBar::mouseReleaseEvent(event);
    update();
}
