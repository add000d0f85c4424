#pragma once
// Forms, the application object and the screen.

#include "platform/toolkit/Controls.h"

#include <QKeySequence>

#include <initializer_list>
#include <memory>
#include <vector>

enum TWindowState { wsNormal, wsMinimized, wsMaximized };

// A key with its modifiers: the virtual-key code, with the ss* bits above it.
using TShortCut = int;
constexpr TShortCut ShortCut(WORD key, TShiftState shift)
{
    return key | (shift << 16);
}
// The key as Qt names it ("Ctrl+O"); empty for 0.
QKeySequence KeySequenceOf(TShortCut shortCut);

// A top-level window. Closing a form hides it; closing the application's main
// form ends the message loop.
class TForm : public TWinControl {
public:
    explicit TForm(TComponent* AOwner);
    ~TForm() override;

    AnsiString Caption() const { return GetText(); }
    // The title the window system shows (title bar, task bar, window list).
    void SetCaption(const AnsiString& caption) { SetText(caption); }
    void SetText(const AnsiString& text) override;
    // The smallest size the user can give the window, in pixels; never more
    // than the free area of the screen the window is on.
    void SetMinimumSize(int width, int height);
    TWindowState WindowState() const { return FWindowState; }
    void SetWindowState(TWindowState state);
    TWinControl* ActiveControl() const { return FActiveControl; }
    // Gives the control the focus now, or when the form is first shown.
    void SetActiveControl(TWinControl* control);
    // Shows the form without blocking. A window whose layout place or size
    // would put it past the screen's free area is moved onto it, and shrunk
    // if it is larger.
    void Show();
    // Shows or hides the form; hiding is not closing.
    void SetVisible(bool visible) override;
    // Hides the form; for the main form, ends the message loop too.
    void Close();
    // The order in which Tab moves the focus through the form's controls,
    // round and round (Shift+Tab goes back): each control's own tab stop, or
    // the stops inside it when it takes no focus itself. Hidden and disabled
    // controls are passed over; focus outside the list moves as Qt moves it.
    void SetTabOrder(std::initializer_list<TWinControl*> controls);
    // Runs handler (through InvokeHandler) when shortCut is pressed anywhere
    // in the form, unless the control with the focus uses that key itself.
    void AddShortCut(TShortCut shortCut, TNotifyEvent handler);
    // Escape and Ctrl+W close the form, as its close box does.
    void AddCloseKeys();

    TNotifyEvent OnCreate;
    // Raises OnCreate; exceptions pass to the caller (CreateForm).
    void DoCreate();

protected:
    void ColorChanged() override;

private:
    friend class FormWindow;
    // The window was closed, by Close() or by the window manager.
    void Closed();
    // Tab or Shift+Tab; false when the focus is not on a listed stop.
    bool MoveTabFocus(bool forward);
    // Keeps the minimum size and a normal window inside the free area of
    // the window's screen, frame included once the window manager gave one.
    void FitToScreen();

    QSize FMinimumSize;

    TWindowState FWindowState = wsNormal;
    TWinControl* FActiveControl = nullptr;
    std::vector<QPointer<QWidget>> FTabOrder;
};

class TApplication : public TComponent {
public:
    TApplication();
    ~TApplication() override;

    // Creates the Qt application object when there is none yet.
    void Initialize();
    // Constructs the form with the application as owner, stores it in
    // reference, makes the first one the main form, and runs its OnCreate.
    // When OnCreate raises, the form is destroyed, reference is reset and the
    // exception passes on.
    template <class T>
    void CreateForm(T*& reference)
    {
        auto* form = new T(this);
        reference = form;
        if (!FMainForm) FMainForm = form;
        try {
            form->DoCreate();
        } catch (...) {
            if (FMainForm == form) FMainForm = nullptr;
            reference = nullptr;
            delete form;
            throw;
        }
    }
    // Shows the main form (maximised as it asks) and runs the message loop
    // until the main form is closed.
    void Run();
    void Terminate();
    bool Terminated() const { return FTerminated; }
    // Dispatches every pending event, then returns.
    void ProcessMessages();
    // Waits until at least one event arrives or the loop is woken (from any
    // thread, through Qt's event dispatcher), dispatches what is pending,
    // then returns.
    void HandleMessage();
    // The error display: a message box with the exception's message.
    void ShowException(const Exception* e);
    // Shows the exception in flight (called from inside a catch block).
    void HandleException();
    TForm* MainForm() const { return FMainForm; }
    // Called by a form that is being destroyed.
    void FormDestroyed(TForm* form);
    HWND Handle() const { return FHandle; }

private:
    TForm* FMainForm = nullptr;
    bool FTerminated = false;
    HWND FHandle;
    std::unique_ptr<class QApplication> FOwnedQApp;
};

// The screen: the cursor shown over every window of the program, and how
// dense its pixels are.
class TScreen : public TComponent {
public:
    TScreen() : TComponent(nullptr) {}
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor cursor);
    // Device pixels per logical pixel on the densest screen the program
    // shows on (1 without a display).
    qreal DevicePixelRatio() const;

private:
    TCursor FCursor = crDefault;
};

extern TApplication* Application;
extern TScreen* Screen;
