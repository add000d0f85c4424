// Quillet: a folder browser with a thumbnail gallery.

#include <QApplication>
#include <QIcon>
#include <QRegularExpression>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/Quillet.h"

namespace {

// Every window carries the program's icon, at the sizes the desktop installs
// (compiled in from packaging/icons). The desktop file name lets a Wayland
// compositor match the windows to the launcher.
void SetApplicationIcon()
{
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/%1x%1/apps/" QUILLET_APP_ID ".png").arg(size));
    QApplication::setWindowIcon(icon);
    QGuiApplication::setDesktopFileName(QStringLiteral(QUILLET_APP_ID));
}

// Where no display can be opened (an SSH session, a build chroot), Qt ends the
// process with a fatal message and an abort inside the platform plugin. While
// the application object is made, Qt's messages are held back: a fatal one
// becomes one line on standard error naming the platforms tried, and exit
// status 1; otherwise the held messages go out as Qt would have printed them.
class StartupMessages {
public:
    StartupMessages() { previous_ = qInstallMessageHandler(&StartupMessages::hold); }
    ~StartupMessages() { release(); }
    StartupMessages(const StartupMessages&) = delete;
    StartupMessages& operator=(const StartupMessages&) = delete;

    // Restores Qt's handler and hands it the messages held so far.
    void release()
    {
        if (!previous_) return;
        qInstallMessageHandler(previous_);
        for (const Held& m : held())
            previous_(m.type, QMessageLogContext(m.file, m.line, m.function, m.category), m.text);
        held().clear();
        previous_ = nullptr;
    }

private:
    struct Held {
        QtMsgType type;
        const char* file;
        int line;
        const char* function;
        const char* category;
        QString text;
    };
    static std::vector<Held>& held()
    {
        static std::vector<Held> messages;
        return messages;
    }

    static void hold(QtMsgType type, const QMessageLogContext& context, const QString& text)
    {
        if (type != QtFatalMsg) {
            held().push_back(
                {type, context.file, context.line, context.function, context.category, text});
            return;
        }
        std::fprintf(stderr, "quillet: no display could be opened (platform tried: %s)\n",
                     qPrintable(platformsTried()));
        std::fflush(stderr);
        std::_Exit(1);  // inside Qt's constructor: no destructors may run
    }

    // The platform plugins Qt named as failing, in the order it tried them;
    // a plugin that is not installed says so.
    static QString platformsTried()
    {
        static const QRegularExpression failed(
            QStringLiteral("Could not (find|load) the Qt platform plugin \"([^\"]+)\""));
        QStringList names;
        for (const Held& m : held()) {
            const QRegularExpressionMatch match = failed.match(m.text);
            if (!match.hasMatch()) continue;
            names << match.captured(2) + (match.captured(1) == u"find"
                                              ? QStringLiteral(", not installed")
                                              : QString());
        }
        if (!names.isEmpty()) return names.join(QStringLiteral("; "));
        const QString requested = qEnvironmentVariable("QT_QPA_PLATFORM");
        return requested.isEmpty() ? QStringLiteral("the default") : requested;
    }

    static inline QtMessageHandler previous_ = nullptr;
};

}  // namespace

int main()
{
    try {
        {
            StartupMessages startup;
            Application->Initialize();
        }
        SetApplicationIcon();
        Application->CreateForm(frmQuillet);
        Application->Run();
    } catch (const Exception& e) {
        Application->ShowException(&e);
    }
    Application->DestroyComponents();
    return 0;
}
