#include "platform/toolkit/Controls.h"

#include "platform/toolkit/Forms.h"
#include "platform/toolkit/PopupMenu.h"
#include "platform/toolkit/private/AccessibleFactory.h"

#include <QAbstractScrollArea>
#include <QKeyEvent>

#include <algorithm>
#include <array>

void InvokeHandler(const std::function<void()>& handler)
{
    if (!handler) return;
    try {
        handler();
    } catch (...) {
        try {
            Application->HandleException();
        } catch (...) {
            // The error display itself failed; there is no one left to tell,
            // and nothing may unwind into Qt's event loop.
        }
    }
}

QString ToQString(const AnsiString& text)
{
    if (text.empty()) return {};
    const int length = static_cast<int>(text.size());
    const int needed = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    if (needed <= 0) return QString::fromUtf8(text.data(), length);
    std::u16string wide(static_cast<size_t>(needed), u'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.data(), needed);
    return QString::fromStdU16String(wide);
}

AnsiString FromQString(const QString& text)
{
    if (text.isEmpty()) return {};
    const auto* wide = reinterpret_cast<LPCWSTR>(text.utf16());
    const int length = static_cast<int>(text.size());
    const int needed = WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) return text.toStdString();
    AnsiString bytes(static_cast<size_t>(needed), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide, length, bytes.data(), needed, nullptr, nullptr);
    return bytes;
}

namespace {

struct KeyPair {
    int qt;
    WORD vk;
};
// Keys other than letters, digits and function keys; where two Qt keys give
// one virtual key, the first is the one a virtual key stands for.
constexpr std::array<KeyPair, 22> kKeys{{
    {Qt::Key_Backspace, VK_BACK}, {Qt::Key_Tab, 0x09},        {Qt::Key_Backtab, 0x09},
    {Qt::Key_Return, VK_RETURN},  {Qt::Key_Enter, VK_RETURN}, {Qt::Key_Shift, 0x10},
    {Qt::Key_Control, 0x11},      {Qt::Key_Alt, 0x12},        {Qt::Key_Pause, 0x13},
    {Qt::Key_Escape, 0x1B},       {Qt::Key_Space, 0x20},      {Qt::Key_PageUp, 0x21},
    {Qt::Key_PageDown, 0x22},     {Qt::Key_End, 0x23},        {Qt::Key_Home, 0x24},
    {Qt::Key_Left, 0x25},         {Qt::Key_Up, 0x26},         {Qt::Key_Right, 0x27},
    {Qt::Key_Down, 0x28},         {Qt::Key_Insert, 0x2D},     {Qt::Key_Delete, 0x2E},
    {Qt::Key_Menu, 0x5D},
}};

}  // namespace

WORD VirtualKeyFromQt(int qtKey)
{
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return static_cast<WORD>(qtKey);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return static_cast<WORD>(0x70 + (qtKey - Qt::Key_F1));
    for (const auto& pair : kKeys)
        if (pair.qt == qtKey) return pair.vk;
    return 0;
}

int QtKeyFromVirtualKey(WORD key)
{
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return key;
    if (key >= 0x70 && key <= 0x87) return Qt::Key_F1 + (key - 0x70);
    for (const auto& pair : kKeys)
        if (pair.vk == key) return pair.qt;
    return 0;
}

Qt::KeyboardModifiers ModifiersFromShiftState(TShiftState shift)
{
    Qt::KeyboardModifiers modifiers;
    if (shift & ssShift) modifiers |= Qt::ShiftModifier;
    if (shift & ssAlt) modifiers |= Qt::AltModifier;
    if (shift & ssCtrl) modifiers |= Qt::ControlModifier;
    return modifiers;
}

TShiftState ShiftStateFromQt(Qt::KeyboardModifiers modifiers)
{
    TShiftState shift = 0;
    if (modifiers & Qt::ShiftModifier) shift |= ssShift;
    if (modifiers & Qt::AltModifier) shift |= ssAlt;
    if (modifiers & Qt::ControlModifier) shift |= ssCtrl;
    return shift;
}

EventHook::EventHook(QObject* watched, Filter filter)
    : QObject(watched), FWatched(watched), FFilter(std::move(filter))
{
    watched->installEventFilter(this);
}

bool EventHook::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == FWatched && FFilter(event)) return true;
    return QObject::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------

TComponent::TComponent(TComponent* AOwner) : FOwner(AOwner)
{
    if (FOwner) FOwner->FComponents.push_back(this);
}

TComponent::~TComponent()
{
    DestroyComponents();
    if (FOwner) std::erase(FOwner->FComponents, this);
}

void TComponent::SetName(const AnsiString& name)
{
    FName = name;
}

void TComponent::DestroyComponents()
{
    while (!FComponents.empty()) {
        TComponent* newest = FComponents.back();
        // The component's destructor takes it off the list.
        delete newest;
    }
}

// ---------------------------------------------------------------------------

namespace {
// The dynamic property that leads from a control's widget back to it.
constexpr char kControlProperty[] = "quillet_control";
}  // namespace

TControl* ControlOf(const QObject* widget)
{
    return widget ? static_cast<TControl*>(widget->property(kControlProperty).value<void*>())
                  : nullptr;
}

TControl::TControl(TComponent* AOwner, QWidget* widget) : TComponent(AOwner), FWidget(widget)
{
    InstallAccessibleFactory();
    if (FWidget) FWidget->setProperty(kControlProperty, QVariant::fromValue<void*>(this));
}

TControl::~TControl()
{
    if (FParent) {
        TWinControl* parent = FParent;
        FParent = nullptr;
        std::erase(parent->FControls, this);
        if (FAlign != alNone && FVisible) parent->Realign();
    }
    if (FWidget) {
        // The widget's own destructor must not call back into this half
        // destroyed control, nor its accessibility interface reach it.
        FWidget->setProperty(kControlProperty, QVariant());
        FWidget->blockSignals(true);
        delete FWidget.data();
    }
}

void TControl::SetName(const AnsiString& name)
{
    TComponent::SetName(name);
    if (FWidget) FWidget->setObjectName(QString::fromStdString(name));
    UpdateAccessibleName();
}

void TControl::SetParent(TWinControl* parent)
{
    if (parent == FParent) return;
    if (FParent) {
        TWinControl* old = FParent;
        FParent = nullptr;
        std::erase(old->FControls, this);
        if (FAlign != alNone) old->Realign();
    }
    FParent = parent;
    if (!FWidget) return;
    FWidget->setParent(parent ? parent->ClientWidget() : nullptr);
    if (!parent) return;
    parent->FControls.push_back(this);
    FWidget->setVisible(FVisible);
    if (FAlign != alNone) parent->Realign();
}

void TControl::SetBounds(int left, int top, int width, int height)
{
    if (FWidget) FWidget->setGeometry(left, top, std::max(0, width), std::max(0, height));
    if (FAlign != alNone && FParent) FParent->Realign();
    BoundsChanged();
}

int TControl::Left() const
{
    return FWidget ? FWidget->x() : 0;
}
int TControl::Top() const
{
    return FWidget ? FWidget->y() : 0;
}
int TControl::Width() const
{
    return FWidget ? FWidget->width() : 0;
}
int TControl::Height() const
{
    return FWidget ? FWidget->height() : 0;
}
void TControl::SetLeft(int value)
{
    SetBounds(value, Top(), Width(), Height());
}
void TControl::SetTop(int value)
{
    SetBounds(Left(), value, Width(), Height());
}
void TControl::SetWidth(int value)
{
    SetBounds(Left(), Top(), value, Height());
}
void TControl::SetHeight(int value)
{
    SetBounds(Left(), Top(), Width(), value);
}

void TControl::SetAlign(TAlign align)
{
    if (align == FAlign) return;
    FAlign = align;
    if (FParent) FParent->Realign();
}

void TControl::SetVisible(bool visible)
{
    const bool changed = visible != FVisible;
    FVisible = visible;
    // A widget outside any parent would become a window of its own.
    if (FWidget && (FWidget->parentWidget() || !visible)) FWidget->setVisible(visible);
    if (changed && FAlign != alNone && FParent) FParent->Realign();
}

bool TControl::Enabled() const
{
    return FWidget && !FWidget->testAttribute(Qt::WA_ForceDisabled);
}

void TControl::SetEnabled(bool enabled)
{
    if (FWidget) FWidget->setEnabled(enabled);
}

void TControl::SetHint(const AnsiString& hint)
{
    FHint = hint;
    if (FWidget) {
        FWidget->setToolTip(ToQString(hint));
        FWidget->setAccessibleDescription(ToQString(hint));
    }
    UpdateAccessibleName();
}

AnsiString TControl::GetText() const
{
    return FText;
}

void TControl::SetText(const AnsiString& text)
{
    FText = text;
    UpdateAccessibleName();
}

void TControl::SetAccessibleName(const AnsiString& name)
{
    FAccessibleName = name;
    UpdateAccessibleName();
}

void TControl::UpdateAccessibleName()
{
    if (!FWidget) return;
    AnsiString name = FAccessibleName;
    if (name.empty()) name = FHint;
    if (name.empty() && TextIsCaption()) name = FText;
    ApplyAccessibleName(ToQString(name));
}

void TControl::ApplyAccessibleName(const QString& name)
{
    if (FWidget) FWidget->setAccessibleName(name);
}

void TControl::FontChanged()
{
    if (!FWidget) return;
    FWidget->setFont(FFont.ToQFont(QFont()));
    if (FFont.Color != clWindowText) {
        QPalette palette = FWidget->palette();
        palette.setColor(QPalette::WindowText, ToQColor(FFont.Color));
        palette.setColor(QPalette::Text, ToQColor(FFont.Color));
        FWidget->setPalette(palette);
    }
}

void TControl::SetColor(TColor color)
{
    FColor = color;
    ColorChanged();
}

void TControl::SetCursor(TCursor cursor)
{
    if (!FWidget) return;
    if (cursor == crDefault)
        FWidget->unsetCursor();
    else
        FWidget->setCursor(ToQCursorShape(cursor));
}

void TControl::SetPopupMenu(TPopupMenu* menu)
{
    FPopupMenu = menu;
    if (!FWidget) return;
    FWidget->setContextMenuPolicy(menu ? Qt::CustomContextMenu : Qt::DefaultContextMenu);
    QWidget* widget = FWidget;
    QObject::disconnect(widget, &QWidget::customContextMenuRequested, nullptr, nullptr);
    if (!menu) return;
    QObject::connect(widget, &QWidget::customContextMenuRequested, widget,
                     [this, widget](QPoint pos) {
                         if (!FPopupMenu) return;
                         // Scroll areas report the request in their viewport's coordinates.
                         QWidget* origin = widget;
                         if (auto* area = qobject_cast<QAbstractScrollArea*>(widget))
                             origin = area->viewport();
                         const QPoint global = origin->mapToGlobal(pos);
                         FPopupMenu->Popup(global.x(), global.y());
                     });
}

void TControl::Repaint()
{
    if (FWidget) FWidget->repaint();
}

void TControl::DoClick()
{
    if (OnClick) InvokeHandler([this] { OnClick(this); });
}

// ---------------------------------------------------------------------------

TWinControl::TWinControl(TComponent* AOwner, QWidget* widget)
    : TControl(AOwner, widget),
      FHandle(RegisterWindowProc([this](UINT message, WPARAM wParam, LPARAM lParam) {
          return WndProc(message, wParam, lParam);
      }))
{
    new EventHook(widget, [this](QEvent* event) {
        if (event->type() != QEvent::Resize) return false;
        Realign();
        if (OnResize) InvokeHandler([this] { OnResize(this); });
        return false;
    });
    WatchKeys(widget);
}

TWinControl::~TWinControl()
{
    UnregisterWindowProc(FHandle);
    for (TControl* child : FControls) child->FParent = nullptr;
    FControls.clear();
}

LRESULT TWinControl::WndProc(UINT, WPARAM, LPARAM)
{
    return 0;
}

bool TWinControl::Focused() const
{
    return Widget() && Widget()->hasFocus();
}

void TWinControl::SetFocus()
{
    if (Widget()) Widget()->setFocus(Qt::OtherFocusReason);
}

QRect TWinControl::AlignRect() const
{
    QWidget* client = ClientWidget();
    return client ? client->contentsRect() : QRect();
}

int TWinControl::ClientWidth() const
{
    return AlignRect().width();
}

int TWinControl::ClientHeight() const
{
    return AlignRect().height();
}

void TWinControl::Realign()
{
    if (FAligning || !ClientWidget()) return;
    FAligning = true;
    int left = 0, top = 0, right = 0, bottom = 0;
    const QRect area = AlignRect();
    area.getCoords(&left, &top, &right, &bottom);
    ++right;  // exclusive edges from here on
    ++bottom;
    for (TAlign pass : {alTop, alBottom, alLeft, alRight}) {
        for (TControl* child : FControls) {
            if (child->FAlign != pass || !child->FVisible || !child->FWidget) continue;
            QWidget* w = child->FWidget;
            const int width = std::max(0, right - left);
            const int height = std::max(0, bottom - top);
            switch (pass) {
            case alTop:
                w->setGeometry(left, top, width, w->height());
                top += w->height();
                break;
            case alBottom:
                w->setGeometry(left, bottom - w->height(), width, w->height());
                bottom -= w->height();
                break;
            case alLeft:
                w->setGeometry(left, top, w->width(), height);
                left += w->width();
                break;
            default:
                w->setGeometry(right - w->width(), top, w->width(), height);
                right -= w->width();
                break;
            }
            child->BoundsChanged();
        }
    }
    FClientRemainder = QRect(left, top, std::max(0, right - left), std::max(0, bottom - top));
    for (TControl* child : FControls)
        if (child->FAlign == alClient && child->FVisible && child->FWidget) {
            child->FWidget->setGeometry(FClientRemainder);
            child->BoundsChanged();
        }
    FAligning = false;
}

void TWinControl::WatchKeys(QWidget* widget)
{
    new EventHook(widget, [this](QEvent* event) {
        if (event->type() != QEvent::KeyPress) return false;
        auto* key = static_cast<QKeyEvent*>(event);
        return DoKeyDown(key->key(), key->modifiers());
    });
}

bool TWinControl::DoKeyDown(int qtKey, Qt::KeyboardModifiers modifiers)
{
    if (!OnKeyDown) return false;
    WORD key = VirtualKeyFromQt(qtKey);
    if (key == 0) return false;
    const TShiftState shift = ShiftStateFromQt(modifiers);
    InvokeHandler([this, &key, shift] { OnKeyDown(this, key, shift); });
    return key == 0;
}
