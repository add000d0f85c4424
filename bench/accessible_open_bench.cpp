// Opening a folder of 1 000 000 entries in a shown main window, with
// assistive technology reading and without. Reading in-process means the
// platform's accessibility is on and every event the window sends is read
// as a screen reader reads it: the object it names, that object's name and
// state. Each mode runs in a process of its own, so each peak memory figure
// is its own; the last column is what a reader then pays to read one far
// row's five cells.
//
// Usage: accessible_open_bench [work folder] [entries]
// The folder is made once under the work folder (default
// /tmp/quillet-a11y-bench) and kept for later runs.

#include "app/Quillet.h"
#include "bench/BenchFolder.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

namespace {

long gEventsRead = 0;

// What a screen reader asks of every event's object.
void ReadEvent(QAccessibleEvent* event)
{
    if (QAccessibleInterface* iface = event->accessibleInterface()) {
        (void)iface->text(QAccessible::Name);
        (void)iface->state();
        ++gEventsRead;
    }
}

// A field of /proc/self/status in KiB: VmRSS now, VmHWM the peak so far.
long StatusKiB(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0) return std::atol(line.c_str() + std::strlen(field));
    return 0;
}

void Settle()
{
    for (int i = 0; i < 10; ++i) QApplication::processEvents();
}

// Opens the folder three times in one window; prints the best open, the
// peak memory and a far row read by a reader.
void RunMode(bool reading, const std::string& work, const std::string& name, int entries)
{
    setenv("QUILLET_DRIVES", std::string("C=").append(work).c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    Application->Initialize();
    Application->CreateForm(frmQuillet);
    frmQuillet->SetWindowState(wsNormal);
    frmQuillet->SetBounds(0, 0, 1000, 700);
    frmQuillet->Show();
    Settle();
    // Run on a desktop with its accessibility bus (QT_LINUX_ACCESSIBILITY_ALWAYS_ON
    // set, xcb), the first mode is the desktop's bridge, which takes a moment
    // to connect; the second reads in-process instead of it.
    QElapsedTimer connecting;
    connecting.start();
    while (qEnvironmentVariableIsSet("QT_LINUX_ACCESSIBILITY_ALWAYS_ON") &&
           !QAccessible::isActive() && connecting.elapsed() < 3000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    const char* reader = QAccessible::isActive() ? "AT-SPI" : "none";
    if (reading) {
        QAccessible::installUpdateHandler(ReadEvent);
        QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(true);
        reader = "in-process";
    }

    double best = 1e99;
    for (int run = 0; run < 3; ++run) {
        frmQuillet->OpenFolderPath("C:\\");
        Settle();
        QElapsedTimer timer;
        timer.start();
        frmQuillet->OpenFolderPath(std::string("C:\\").append(name));
        // Until the first rows are on screen, as a person waits for them.
        while (!frmQuillet->lstvwVirtualList->LastDrawnStyle(0, 0).color.isValid())
            QApplication::processEvents();
        best = std::min(best, timer.nsecsElapsed() / 1e9);
    }

    QElapsedTimer timer;
    timer.start();
    QAccessibleInterface* list =
        QAccessible::queryAccessibleInterface(frmQuillet->lstvwVirtualList->ActiveView());
    for (int column = 0; column < 5; ++column)
        (void)list->tableInterface()->cellAt(entries / 2, column)->text(QAccessible::Name);
    const double farRow = timer.nsecsElapsed() / 1e6;

    std::printf("%-12s %9d %9.3f %10ld %10.1f %10.1f %12.3f\n", reader, entries, best, gEventsRead,
                StatusKiB("VmHWM:") / 1024.0, StatusKiB("VmRSS:") / 1024.0, farRow);
    std::fflush(stdout);
    if (reading) QAccessible::installUpdateHandler(nullptr);
    delete frmQuillet;
    Application->DestroyComponents();
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string work = argc > 1 ? argv[1] : "/tmp/quillet-a11y-bench";
    const int entries = argc > 2 ? std::atoi(argv[2]) : 1000000;
    mkdir(work.c_str(), 0755);
    const std::string name = std::string("f").append(std::to_string(entries));
    MakeFolderOnce(
        std::string(work).append("/").append(name), entries,
        [](int i) {
            char text[64];
            std::snprintf(text, sizeof text, "%s%07d.jpg", i % 2 ? "IMG_" : "scan", i);
            return std::string(text);
        },
        [](int i) { return i % 100 == 0; });

    std::printf("%-12s %9s %9s %10s %10s %10s %12s\n", "reader", "entries", "open s", "events",
                "peak MiB", "rss MiB", "far row ms");
    std::fflush(stdout);
    int status = 0;
    for (const bool reading : {false, true}) {
        const pid_t child = fork();
        if (child == 0) {
            RunMode(reading, work, name, entries);
            std::_Exit(0);
        }
        int result = 0;
        if (child < 0 || waitpid(child, &result, 0) < 0 || result != 0) status = 1;
    }
    return status;
}
