#include "platform/toolkit/ToolBar.h"

#include "platform/toolkit/ImageList.h"
#include "platform/toolkit/private/AccessibleFactory.h"

#include <QPainter>
#include <QToolButton>

#include <algorithm>

namespace {

// A tool button that draws as an etched gap when it is a separator.
class ToolButtonWidget : public QToolButton {
public:
    bool separator = false;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        if (!separator) {
            QToolButton::paintEvent(event);
            return;
        }
        QPainter painter(this);
        const int x = width() / 2 - 1;
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawLine(x, 2, x, height() - 3);
        painter.setPen(palette().color(QPalette::Light));
        painter.drawLine(x + 1, 2, x + 1, height() - 3);
    }
};
}  // namespace

TToolBar::TToolBar(TComponent* AOwner) : TWinControl(AOwner, new QWidget)
{
    SetBounds(0, 0, 100, 29);
    new EventHook(Widget(), [this](QEvent* event) {
        // Glyphs may be added to the image list after the buttons exist.
        if (event->type() == QEvent::Show || event->type() == QEvent::Paint) RefreshGlyphs();
        return false;
    });
}

TToolBar::~TToolBar()
{
    for (TToolButton* button : FButtons) button->FToolBar = nullptr;
}

void TToolBar::SetFlat(bool flat)
{
    FFlat = flat;
    for (TToolButton* button : FButtons)
        if (button->Button()) button->Button()->setAutoRaise(flat);
}

void TToolBar::SetImages(TImageList* images)
{
    FImages = images;
    FGlyphGeneration = 0;
    RefreshGlyphs();
}

void TToolBar::SetButtonWidth(int width)
{
    FButtonWidth = width;
    ArrangeButtons();
}

void TToolBar::SetButtonHeight(int height)
{
    FButtonHeight = height;
    ArrangeButtons();
}

void TToolBar::SetShowHint(bool show)
{
    FShowHint = show;
}

void TToolBar::InsertButton(TToolButton* button)
{
    FButtons.push_back(button);
    if (QToolButton* widget = button->Button()) widget->setAutoRaise(FFlat);
    button->UpdateGlyph();
    ArrangeButtons();
}

void TToolBar::RemoveButton(TToolButton* button)
{
    std::erase(FButtons, button);
    ArrangeButtons();
}

void TToolBar::ArrangeButtons()
{
    int left = 0;
    for (TToolButton* button : FButtons) {
        QToolButton* widget = button->Button();
        if (!widget || !button->Visible()) continue;
        const bool gap = button->Style() == tbsSeparator || button->Style() == tbsDivider;
        const int width = gap ? button->FGapWidth : FButtonWidth;
        widget->setGeometry(left, 0, width, FButtonHeight);
        left += width;
    }
}

void TToolBar::RefreshGlyphs()
{
    const quint64 generation = FImages ? FImages->Generation() : 0;
    if (generation == FGlyphGeneration && generation != 0) return;
    FGlyphGeneration = generation;
    for (TToolButton* button : FButtons) button->UpdateGlyph();
}

void TToolBar::ReleaseGroup(TToolButton* pressed)
{
    const auto at = std::find(FButtons.begin(), FButtons.end(), pressed);
    if (at == FButtons.end()) return;
    const auto inGroup = [](TToolButton* button) {
        return button->Grouped() && button->Style() == tbsCheck;
    };
    for (auto it = at; it != FButtons.begin() && inGroup(*(it - 1)); --it)
        (*(it - 1))->SetDown(false);
    for (auto it = at + 1; it != FButtons.end() && inGroup(*it); ++it) (*it)->SetDown(false);
}

// ---------------------------------------------------------------------------

TToolButton::TToolButton(TComponent* AOwner) : TControl(AOwner, new ToolButtonWidget)
{
    QToolButton* button = Button();
    button->setFocusPolicy(Qt::NoFocus);
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    QObject::connect(button, &QToolButton::clicked, button, [this] { Click(); });
    // Hints show as tool tips only when the bar says so.
    new EventHook(button, [this](QEvent* event) {
        return event->type() == QEvent::ToolTip && !(FToolBar && FToolBar->ShowHint());
    });
}

TToolButton::~TToolButton()
{
    if (FToolBar) FToolBar->RemoveButton(this);
}

QToolButton* TToolButton::Button() const
{
    return static_cast<QToolButton*>(Widget());
}

void TToolButton::SetParent(TWinControl* parent)
{
    if (FToolBar) {
        FToolBar->RemoveButton(this);
        FToolBar = nullptr;
    }
    TControl::SetParent(parent);
    FToolBar = dynamic_cast<TToolBar*>(parent);
    if (FToolBar) FToolBar->InsertButton(this);
}

void TToolButton::SetStyle(TToolButtonStyle style)
{
    FStyle = style;
    auto* button = static_cast<ToolButtonWidget*>(Button());
    if (!button) return;
    const bool gap = style == tbsSeparator || style == tbsDivider;
    // A gap is told to readers as a separator, a button as a button.
    if (gap != button->separator) ForgetAccessible(button);
    button->separator = gap;
    button->setCheckable(style == tbsCheck);
    // A gap is not a button: the mouse goes through it.
    button->setAttribute(Qt::WA_TransparentForMouseEvents, gap);
    ApplyDown();
    UpdateGlyph();
    if (FToolBar) FToolBar->ArrangeButtons();
}

void TToolButton::SetGrouped(bool grouped)
{
    FGrouped = grouped;
}

void TToolButton::SetDown(bool down)
{
    FDown = down;
    ApplyDown();
    if (down && FGrouped && FStyle == tbsCheck && FToolBar) FToolBar->ReleaseGroup(this);
}

void TToolButton::ApplyDown()
{
    QToolButton* button = Button();
    if (!button) return;
    const QSignalBlocker blocker(button);
    if (button->isCheckable())
        button->setChecked(FDown);
    else
        button->setDown(FDown);
}

void TToolButton::SetImageIndex(int index)
{
    FImageIndex = index;
    UpdateGlyph();
}

void TToolButton::UpdateGlyph()
{
    QToolButton* button = Button();
    if (!button) return;
    TImageList* images = FToolBar ? FToolBar->Images() : nullptr;
    const bool gap = FStyle == tbsSeparator || FStyle == tbsDivider;
    if (!images || gap || FImageIndex < 0 || FImageIndex >= images->Count()) {
        button->setIcon(QIcon());
        return;
    }
    button->setIconSize(images->ImageSize());
    button->setIcon(QIcon(images->Image(FImageIndex)));
}

void TToolButton::Click()
{
    if (FStyle == tbsCheck)
        SetDown(FGrouped ? true : !FDown);
    else
        ApplyDown();  // Qt may have left a plain button looking pressed
    DoClick();
}

void TToolButton::BoundsChanged()
{
    const bool gap = FStyle == tbsSeparator || FStyle == tbsDivider;
    if (gap) FGapWidth = Width();
    if (FToolBar) FToolBar->ArrangeButtons();
}
