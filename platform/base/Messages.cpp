#include "platform/base/Messages.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEvent>
#include <QThread>

#include <atomic>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

namespace {

std::atomic<bool> quitPosted{false};

// Drops every input event while it is installed.
class InputHold : public QObject {
public:
    InputHold() { QCoreApplication::instance()->installEventFilter(this); }
    ~InputHold() override { QCoreApplication::instance()->removeEventFilter(this); }
    InputHold(const InputHold&) = delete;
    InputHold& operator=(const InputHold&) = delete;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (!IsUserInputEvent(event->type())) return false;
        if (event->type() == QEvent::ShortcutOverride) event->accept();  // no shortcut fires
        return true;
    }
};

bool onApplicationThread()
{
    const QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

}  // namespace

void Abort()
{
    throw EAbort("Operation aborted");
}

void PostQuitMessage(int)
{
    quitPosted = true;
}

bool QuitPosted()
{
    return quitPosted;
}

bool IsUserInputEvent(int qtEventType)
{
    switch (static_cast<QEvent::Type>(qtEventType)) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop: return true;
    default: return false;
    }
}

void ProcessMessagesHoldingInput()
{
    if (!onApplicationThread()) return;
    const InputHold hold;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

bool WaitForWork(std::function<void()> work)
{
    if (!onApplicationThread()) {
        work();
        return true;
    }
    struct Shared {
        std::function<void()> work;
        std::atomic<bool> done{false};
        // Guards the wake-up: once the wait is abandoned the dispatcher may
        // go with the application.
        std::mutex waking;
        QAbstractEventDispatcher* dispatcher = nullptr;
    };
    auto shared = std::make_shared<Shared>();
    shared->work = std::move(work);
    shared->dispatcher = QAbstractEventDispatcher::instance();
    try {
        std::thread([shared] {
            shared->work();
            const std::lock_guard lock(shared->waking);
            shared->done = true;
            if (shared->dispatcher) shared->dispatcher->wakeUp();
        }).detach();
    } catch (const std::system_error&) {
        // No thread to be had: the work runs here, as it always could.
        shared->work();
        return true;
    }
    const InputHold hold;
    while (!shared->done) {
        if (QuitPosted()) {
            const std::lock_guard lock(shared->waking);
            shared->dispatcher = nullptr;
            return shared->done;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}
