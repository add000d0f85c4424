// Scrolling a 100 000-entry folder page by page in the report view of the
// real window (offscreen): per frame, the scroll, the cache hint, the row
// requests and the painting, up to the end of a synchronous repaint.
//
// Usage: scroll_bench [work folder] [entries]
// Prints the worst, 99th percentile and median frame; goal: worst < 16 ms.

#include "app/Quillet.h"
#include "bench/BenchFolder.h"
#include "platform/base/Classes.h"
#include "platform/base/Drives.h"
#include "platform/toolkit/Forms.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

namespace {

void MakeFolder(const std::string& path, int entries)
{
    MakeFolderOnce(
        path, entries,
        [](int i) {
            char name[48];
            std::snprintf(name, sizeof name, "Entry%06d%s", i,
                          i % 3 == 0 ? ".jpg" : (i % 3 == 1 ? ".txt" : ".pdf"));
            return std::string(name);
        },
        [](int) { return false; });
}

QAbstractItemView* FileView()
{
    QWidget* widget = frmQuillet->lstvwVirtualList->Widget();
    if (auto* view = qobject_cast<QAbstractItemView*>(widget)) return view;
    // One view per style; the one of the current style is the one shown.
    for (auto* view : widget->findChildren<QAbstractItemView*>())
        if (view->isVisibleTo(widget)) return view;
    return nullptr;
}

// CPU time of this thread: on a shared machine the wall clock also counts
// the time other processes held the processor.
double ThreadMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

double Percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    return values[static_cast<size_t>(p * static_cast<double>(values.size() - 1))];
}

void PrintFrames(const char* what, const std::vector<double>& frames)
{
    std::printf("%-10s worst %6.2f  p99 %6.2f  median %6.2f   goal: worst < 16\n", what,
                *std::max_element(frames.begin(), frames.end()), Percentile(frames, 0.99),
                Percentile(frames, 0.5));
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string work = argc > 1 ? argv[1] : "/tmp/quillet-scroll-bench";
    const int entries = argc > 2 ? std::max(1, std::atoi(argv[2])) : 100000;
    mkdir(work.c_str(), 0755);
    const std::string folder = std::string("f").append(std::to_string(entries));
    MakeFolder(work + "/" + folder, entries);
    setenv("QUILLET_DRIVES", ("C=" + work).c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ReloadDriveMap();

    Application->Initialize();
    Application->CreateForm(frmQuillet);
    frmQuillet->OpenFolderPath("C:\\" + folder);
    frmQuillet->lstvwVirtualList->SetViewStyle(vsReport);
    frmQuillet->SetWindowState(wsNormal);
    frmQuillet->SetBounds(0, 0, 1024, 768);
    frmQuillet->Show();
    for (int i = 0; i < 20; ++i) QApplication::processEvents();

    QAbstractItemView* view = FileView();
    if (!view) {
        std::fprintf(stderr, "no item view in the file list\n");
        return 1;
    }
    QScrollBar* bar = view->verticalScrollBar();
    std::vector<double> frames;
    std::vector<double> cpuFrames;
    QElapsedTimer timer;
    while (bar->value() < bar->maximum()) {
        const double cpuStart = ThreadMs();
        timer.start();
        bar->setValue(std::min(bar->maximum(), bar->value() + bar->pageStep()));
        view->viewport()->repaint();
        frames.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        cpuFrames.push_back(ThreadMs() - cpuStart);
        QApplication::processEvents();
    }

    int loaded = 0;
    for (int i = 0; i < frmQuillet->FShellItems->GetCount(); ++i)
        loaded += frmQuillet->GetShellItem(i)->NeedsDetails ? 0 : 1;
    std::printf("%d entries, %zu frames (page step %d), %d records loaded\n", entries,
                frames.size(), bar->pageStep(), loaded);
    if (!frames.empty()) {
        PrintFrames("wall ms", frames);
        PrintFrames("cpu ms", cpuFrames);
    }
    delete frmQuillet;
    frmQuillet = nullptr;
    Application->DestroyComponents();
    return 0;
}
