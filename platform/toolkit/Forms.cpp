#include "platform/toolkit/Forms.h"

#include "platform/base/Messages.h"
#include "platform/toolkit/Dialogs.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontInfo>
#include <QMoveEvent>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QTimer>

#include <algorithm>
#include <exception>
#include <vector>

namespace {
// How long a window manager may take to frame a window just shown, in ms.
constexpr int kFrameWait = 300;
}  // namespace

// The window behind a form: closing it hides it and tells the form.
class FormWindow : public QWidget {
public:
    explicit FormWindow(TForm* form) : FForm(form) {}

protected:
    void closeEvent(QCloseEvent* event) override
    {
        event->accept();
        FForm->Closed();
    }

    bool focusNextPrevChild(bool next) override
    {
        return FForm->MoveTabFocus(next) || QWidget::focusNextPrevChild(next);
    }

    // The window manager frames a window after it is shown; once the frame
    // is known, the window is fitted again, frame included.
    void moveEvent(QMoveEvent* event) override
    {
        QWidget::moveEvent(event);
        if (fitOnFrame && frameGeometry() != geometry()) {
            fitOnFrame = false;
            FForm->FitToScreen();
        }
    }

    // Restored or maximised, the window may have another frame: the
    // smallest size is fitted again.
    void changeEvent(QEvent* event) override
    {
        QWidget::changeEvent(event);
        if (event->type() == QEvent::WindowStateChange)
            QTimer::singleShot(0, this, [this] { FForm->FitToScreen(); });
    }

public:
    bool fitOnFrame = false;

private:
    TForm* FForm;
};

TForm::TForm(TComponent* AOwner) : TWinControl(AOwner, new FormWindow(this))
{
    // A form stays hidden until it is shown.
    TControl::SetVisible(false);
    ColorChanged();
}

TForm::~TForm()
{
    // Controls go while the window still exists, each with its own widget.
    DestroyComponents();
    FActiveControl = nullptr;
    Application->FormDestroyed(this);
}

void TForm::SetText(const AnsiString& text)
{
    TWinControl::SetText(text);
    if (Widget()) Widget()->setWindowTitle(ToQString(text));
}

void TForm::SetMinimumSize(int width, int height)
{
    FMinimumSize = QSize(width, height);
    FitToScreen();
}

void TForm::FitToScreen()
{
    QWidget* window = Widget();
    if (!window || !qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
    // The screen the layout places the window on, else the one it is on.
    QScreen* screen = QGuiApplication::screenAt(window->geometry().center());
    if (!screen) screen = window->screen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    // The window manager's frame, once it has drawn one.
    const QRect frame = window->frameGeometry();
    const QRect client = window->geometry();
    const QMargins margins(client.left() - frame.left(), client.top() - frame.top(),
                           frame.right() - client.right(), frame.bottom() - client.bottom());
    const QSize room = area.marginsRemoved(margins).size();
    if (FMinimumSize.isValid()) window->setMinimumSize(FMinimumSize.boundedTo(room));
    // A maximised window's own place and size are those it returns to when
    // restored: fitted before it is first shown, left alone once it is up.
    if (window->isMaximized() || window->isMinimized()) return;
    if (FWindowState != wsNormal && window->isVisible()) return;

    QRect fitted = client;
    fitted.setSize(client.size().boundedTo(room));
    // Frame edges inside the area: right and bottom first, so that the top
    // left corner (title bar, close box) wins when both cannot hold.
    const QRect inner = area.marginsRemoved(margins);
    if (fitted.right() > inner.right()) fitted.moveRight(inner.right());
    if (fitted.bottom() > inner.bottom()) fitted.moveBottom(inner.bottom());
    if (fitted.left() < inner.left()) fitted.moveLeft(inner.left());
    if (fitted.top() < inner.top()) fitted.moveTop(inner.top());
    if (fitted != client) window->setGeometry(fitted);
}

void TForm::SetWindowState(TWindowState state)
{
    FWindowState = state;
    if (!Widget() || !Widget()->isVisible()) return;
    switch (state) {
    case wsMaximized: Widget()->showMaximized(); break;
    case wsMinimized: Widget()->showMinimized(); break;
    default: Widget()->showNormal(); break;
    }
}

void TForm::SetActiveControl(TWinControl* control)
{
    FActiveControl = control;
    // Focus set while the window is hidden is given when it is shown.
    if (control) control->SetFocus();
}

void TForm::Show()
{
    SetVisible(true);
}

void TForm::SetVisible(bool visible)
{
    TControl::SetVisible(visible);
    QWidget* window = Widget();
    if (!window) return;
    if (!visible) {
        window->hide();
        return;
    }
    FitToScreen();
    switch (FWindowState) {
    case wsMaximized: window->showMaximized(); break;
    case wsMinimized: window->showMinimized(); break;
    default: window->show(); break;
    }
    window->activateWindow();
    // The frame is known only once the window manager has framed the window.
    static_cast<FormWindow*>(window)->fitOnFrame = true;
    QTimer::singleShot(0, window, [this] { FitToScreen(); });
    // A window manager that frames the window where it asked to be, so that
    // no move tells of the frame, has done so a moment later.
    QTimer::singleShot(kFrameWait, window, [this] { FitToScreen(); });
    if (FActiveControl) FActiveControl->SetFocus();
}

void TForm::Close()
{
    if (Widget() && Widget()->isVisible())
        Widget()->close();  // closeEvent calls Closed()
    else
        Closed();
}

namespace {

// True when Tab may stop at w. Of radio buttons that exclude one another
// only the checked one is a stop (the arrow keys move between them), as Qt
// itself means but does not keep up for buttons never focused.
bool TakesTab(QWidget* w)
{
    auto* radio = qobject_cast<QRadioButton*>(w);
    if (!radio || !radio->autoExclusive()) return w->focusPolicy() & Qt::TabFocus;
    if (radio->isChecked()) return true;
    const auto siblings =
        radio->parentWidget()
            ? radio->parentWidget()->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly)
            : QList<QRadioButton*>();
    return std::none_of(siblings.begin(), siblings.end(), [](QRadioButton* other) {
        return other->autoExclusive() && other->isChecked();
    });
}

// The widget that takes the focus for w: w or the end of its proxy chain;
// null when that is no tab stop.
QWidget* TabTarget(QWidget* w)
{
    while (w && w->focusProxy()) w = w->focusProxy();
    return w && w->focusPolicy() != Qt::NoFocus && TakesTab(w) ? w : nullptr;
}

// w's tab stops: its own, or those inside it in the window's order.
void AddTabStops(QWidget* w, std::vector<QWidget*>& stops)
{
    if (!w) return;
    if (QWidget* target = TabTarget(w)) {
        stops.push_back(target);
        return;
    }
    QWidget* start = w->window();
    for (QWidget* next = start->nextInFocusChain(); next && next != start;
         next = next->nextInFocusChain())
        if (w->isAncestorOf(next) && !next->focusProxy() && TabTarget(next)) stops.push_back(next);
}

}  // namespace

void TForm::SetTabOrder(std::initializer_list<TWinControl*> controls)
{
    FTabOrder.clear();
    for (TWinControl* control : controls)
        if (control && control->Widget()) FTabOrder.emplace_back(control->Widget());
}

bool TForm::MoveTabFocus(bool forward)
{
    std::vector<QWidget*> stops;
    for (const QPointer<QWidget>& w : FTabOrder) AddTabStops(w, stops);
    QWidget* focus = QApplication::focusWidget();
    const auto at = std::find(stops.begin(), stops.end(), focus);
    if (at == stops.end()) return false;
    const size_t count = stops.size();
    const size_t from = static_cast<size_t>(at - stops.begin());
    for (size_t step = 1; step < count; ++step) {
        QWidget* next = stops[(forward ? from + step : from + count - step) % count];
        if (next->isVisibleTo(Widget()) && next->isEnabled()) {
            next->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return true;
}

QKeySequence KeySequenceOf(TShortCut shortCut)
{
    const int key = QtKeyFromVirtualKey(static_cast<WORD>(shortCut & 0xFFFF));
    if (!key) return {};
    return QKeySequence(
        QKeyCombination(ModifiersFromShiftState(shortCut >> 16), static_cast<Qt::Key>(key)));
}

void TForm::AddShortCut(TShortCut shortCut, TNotifyEvent handler)
{
    if (!Widget()) return;
    auto* shortcut = new QShortcut(KeySequenceOf(shortCut), Widget());
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, Widget(), [this, handler] {
        if (handler) InvokeHandler([this, &handler] { handler(this); });
    });
}

void TForm::AddCloseKeys()
{
    const auto close = [this](TObject*) { Close(); };
    AddShortCut(ShortCut(VK_ESCAPE, 0), close);
    AddShortCut(ShortCut('W', ssCtrl), close);
}

void TForm::Closed()
{
    TControl::SetVisible(false);
    if (Application->MainForm() == this) Application->Terminate();
}

void TForm::DoCreate()
{
    if (OnCreate) OnCreate(this);
}

void TForm::ColorChanged()
{
    if (!Widget()) return;
    QPalette palette = Widget()->palette();
    palette.setColor(QPalette::Window, ToQColor(Color()));
    Widget()->setPalette(palette);
}

// ---------------------------------------------------------------------------

namespace {

// The program's texts are Traditional Chinese, whatever the user's locale:
// Han characters the desktop's font lacks come from a Traditional Chinese
// face before any other, so that no Japanese or Simplified glyph forms
// appear. The desktop's own face stays first, for everything it has.
void PreferTraditionalChineseFaces()
{
    static const char* const faces[] = {"Noto Sans CJK TC",   "Source Han Sans TC",
                                        "Source Han Sans TW", "Noto Sans TC",
                                        "AR PL UMing TW",     "AR PL UKai TW"};
    QFont font = QApplication::font();
    QStringList families{QFontInfo(font).family()};
    for (const char* face : faces)
        if (!families.contains(QLatin1String(face))) families.append(QLatin1String(face));
    font.setFamilies(families);
    QApplication::setFont(font);
}

}  // namespace

TApplication::TApplication() : TComponent(nullptr), FHandle(nullptr) {}

TApplication::~TApplication()
{
    DestroyComponents();
    if (FHandle) UnregisterWindowProc(FHandle);
}

void TApplication::Initialize()
{
    if (!QApplication::instance()) {
        // The program reads no command line; Qt still wants an argv that
        // outlives the application object.
        static int argc = 1;
        static char name[] = "quillet";
        static char* argv[] = {name, nullptr};
        FOwnedQApp = std::make_unique<QApplication>(argc, argv);
    }
    // Only closing the main form ends the program.
    QApplication::setQuitOnLastWindowClosed(false);
    PreferTraditionalChineseFaces();
    if (!FHandle) FHandle = RegisterWindowProc([](UINT, WPARAM, LPARAM) -> LRESULT { return 0; });
}

void TApplication::Run()
{
    if (FMainForm && !FTerminated) FMainForm->Show();
    if (!FTerminated && QCoreApplication::instance()) QCoreApplication::exec();
}

void TApplication::Terminate()
{
    FTerminated = true;
    PostQuitMessage(0);
    // exit() rather than quit(): it also ends any nested loop, such as a
    // message box that is open when the main form goes.
    if (QCoreApplication::instance()) QCoreApplication::exit(0);
}

void TApplication::ProcessMessages()
{
    if (QCoreApplication::instance()) QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void TApplication::HandleMessage()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void TApplication::ShowException(const Exception* e)
{
    if (e) Dialogs().ShowError(e->Message());
}

void TApplication::HandleException()
{
    if (!std::current_exception()) return;
    try {
        throw;
    } catch (const EAbort&) {
        // The silent exception: whoever raised it has nothing to tell.
    } catch (const Exception& e) {
        ShowException(&e);
    } catch (const std::exception& e) {
        Dialogs().ShowError(e.what());
    } catch (...) {
        Dialogs().ShowError("An unknown error occurred.");
    }
}

void TApplication::FormDestroyed(TForm* form)
{
    if (FMainForm == form) FMainForm = nullptr;
}

// ---------------------------------------------------------------------------

qreal TScreen::DevicePixelRatio() const
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return 1.0;
    return std::max<qreal>(1.0, qGuiApp->devicePixelRatio());
}

void TScreen::SetCursor(TCursor cursor)
{
    const bool overridden = FCursor != crDefault;
    FCursor = cursor;
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
    const Qt::CursorShape shape = ToQCursorShape(cursor);
    if (cursor == crDefault) {
        if (overridden && QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
    } else if (overridden) {
        QGuiApplication::changeOverrideCursor(shape);
    } else {
        QGuiApplication::setOverrideCursor(shape);
    }
}

// Both live for the whole run; neither makes a Qt object before Initialize().
TApplication* Application = new TApplication;
TScreen* Screen = new TScreen;
