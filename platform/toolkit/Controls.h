#pragma once
// Components and controls. A TComponent owns the components created with it
// as owner and destroys them with itself; a TControl is a real Qt widget
// placed in its parent control, by bounds or by alignment.

#include "platform/base/Classes.h"
#include "platform/toolkit/Graphics.h"

#include <QEvent>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>

#include <functional>
#include <vector>

class TWinControl;
class TPopupMenu;
class TControl;

using TNotifyEvent = std::function<void(TObject* Sender)>;
enum TShiftStateBits {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssMiddle = 32,
    ssDouble = 64
};
using TShiftState = int;
// Key is a virtual-key code; a handler sets it to 0 to consume the key.
using TKeyEvent = std::function<void(TObject* Sender, WORD& Key, TShiftState Shift)>;

// Runs an event handler; an exception of the toolkit's class that leaves it
// goes to the application's error display and never into Qt's event loop.
void InvokeHandler(const std::function<void()>& handler);

// Text between the program's 8-bit strings and Qt: bytes that are not valid
// UTF-8 survive the round trip.
QString ToQString(const AnsiString& text);
AnsiString FromQString(const QString& text);

// The virtual-key code of a Qt key (letters 'A'..'Z', digits '0'..'9',
// VK_RETURN, VK_BACK, ...); 0 for keys without one.
WORD VirtualKeyFromQt(int qtKey);
// The Qt key of a virtual-key code; 0 for codes without one.
int QtKeyFromVirtualKey(WORD key);
TShiftState ShiftStateFromQt(Qt::KeyboardModifiers modifiers);
Qt::KeyboardModifiers ModifiersFromShiftState(TShiftState shift);

// The control whose own widget widget is; null for any other widget (the
// inner parts of a control, Qt's own helpers) and once the control is being
// destroyed.
TControl* ControlOf(const QObject* widget);

// Runs filter for every event the watched object receives; true stops the
// event. The hook is a child of the watched object and dies with it.
class EventHook : public QObject {
public:
    using Filter = std::function<bool(QEvent* event)>;
    EventHook(QObject* watched, Filter filter);
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QObject* FWatched;
    Filter FFilter;
};

class TComponent : public TObject {
public:
    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return FOwner; }
    const AnsiString& Name() const { return FName; }
    virtual void SetName(const AnsiString& name);
    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    TComponent* Components(int index) const { return FComponents.at(static_cast<size_t>(index)); }
    // Destroys every owned component, newest first.
    void DestroyComponents();

private:
    TComponent* FOwner;
    AnsiString FName;
    std::vector<TComponent*> FComponents;
};

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// A control over one Qt widget. The control owns its widget; when Qt destroys
// the widget first (with its parent), the control notices and lets it be.
class TControl : public TComponent {
public:
    ~TControl() override;

    QWidget* Widget() const { return FWidget; }
    void SetName(const AnsiString& name) override;  // also the widget's object name

    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* parent);

    void SetBounds(int left, int top, int width, int height);
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void SetLeft(int value);
    void SetTop(int value);
    void SetWidth(int value);
    void SetHeight(int value);

    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign align);

    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool visible);
    bool Enabled() const;
    void SetEnabled(bool enabled);

    AnsiString Hint() const { return FHint; }
    // Tool tip and accessible description.
    void SetHint(const AnsiString& hint);
    // The name assistive technology reads for a control that shows no
    // caption of its own (a glyph-only button, an unlabelled box). It
    // outranks the hint and the caption; it never shows as a tool tip.
    void SetAccessibleName(const AnsiString& name);
    // Caption or text, as the control shows it.
    virtual AnsiString GetText() const;
    virtual void SetText(const AnsiString& text);

    TFont* Font() { return &FFont; }
    // Applies a changed Font to the widget.
    void FontChanged();
    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    void SetCursor(TCursor cursor);
    TPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu* menu);

    void Repaint();
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }

    TNotifyEvent OnClick;

protected:
    // A subclass makes its widget and hands it over once, in its constructor.
    TControl(TComponent* AOwner, QWidget* widget);
    // Shows a changed Color; plain controls keep the platform's colours.
    virtual void ColorChanged() {}
    // Called after SetBounds (and the setters of single bounds).
    virtual void BoundsChanged() {}
    // The accessible name: the one set for assistive technology, else the
    // hint, else the caption where the text is one; never the component's
    // name. Left empty, Qt names the control from a label whose focus
    // control it is.
    void UpdateAccessibleName();
    // False for a control whose text is its value (an edit, a combo box).
    virtual bool TextIsCaption() const { return true; }
    // Puts the accessible name on the widget (and on its inner parts).
    virtual void ApplyAccessibleName(const QString& name);
    // Raises OnClick through InvokeHandler.
    void DoClick();

private:
    friend class TWinControl;

    QPointer<QWidget> FWidget;
    TWinControl* FParent = nullptr;
    TAlign FAlign = alNone;
    bool FVisible = true;
    AnsiString FHint;
    AnsiString FAccessibleName;
    AnsiString FText;
    TFont FFont;
    TColor FColor = clBtnFace;
    TPopupMenu* FPopupMenu = nullptr;
};

// A control that can hold other controls and has a window handle. Its
// children with an alignment are laid out in the order top, bottom, left,
// right, client whenever it changes size.
class TWinControl : public TControl {
public:
    ~TWinControl() override;
    HWND Handle() const { return FHandle; }
    bool Focused() const;
    void SetFocus();
    int ControlCount() const { return static_cast<int>(FControls.size()); }
    TControl* Controls(int index) const { return FControls.at(static_cast<size_t>(index)); }
    // Size of the area the children are placed in.
    int ClientWidth() const;
    int ClientHeight() const;
    void Realign();

    TKeyEvent OnKeyDown;
    // The control changed size; its aligned children are laid out already.
    TNotifyEvent OnResize;

protected:
    TWinControl(TComponent* AOwner, QWidget* widget);
    // Window messages sent to Handle() with SendMessageA.
    virtual LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The widget whose children the aligned controls are (their container).
    virtual QWidget* ClientWidget() const { return Widget(); }
    // The part of ClientWidget() the aligned children share.
    virtual QRect AlignRect() const;
    // Raises OnKeyDown for key presses in widget (the control's own widget
    // is watched already); a key the handler sets to 0 goes no further.
    void WatchKeys(QWidget* widget);
    // Raises OnKeyDown; true when the handler consumed the key.
    bool DoKeyDown(int qtKey, Qt::KeyboardModifiers modifiers);
    // New bounds lay the children out again at once, shown or not.
    void BoundsChanged() override { Realign(); }

private:
    friend class TControl;
    friend class TSplitter;
    HWND FHandle;
    std::vector<TControl*> FControls;
    // What alClient children got (or would get) at the last Realign.
    QRect FClientRemainder;
    bool FAligning = false;
};

// A control made as every window lays one out: owned by owner, named, then
// put in parent, optionally at the given bounds.
template <class T>
T* NewControl(TComponent* owner, TWinControl* parent, const char* name)
{
    auto* control = new T(owner);
    control->SetName(name);
    control->SetParent(parent);
    return control;
}

template <class T>
T* NewControl(TComponent* owner, TWinControl* parent, const char* name, int left, int top,
              int width, int height)
{
    T* control = NewControl<T>(owner, parent, name);
    control->SetBounds(left, top, width, height);
    return control;
}
