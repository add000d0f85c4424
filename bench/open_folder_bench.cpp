// Opening a large folder (enumeration, records, sort, row count) against the
// physical limit (a bare readdir loop that only counts) and against `ls -1`,
// for one pattern of names at one size. Two ways to open it, each in a
// process of its own so that each peak memory figure is that open's own:
//
//   open   frmQuillet->OpenFolderPath on a window that is not shown, best of 3;
//          "first s" is the first of the three, which pays for every page
//          the records take from the system (the later ones reuse them);
//   typed  the shown window, the folder's path typed into the path box and
//          Enter pressed as key events, until the file list reports all its
//          rows to assistive technology and has drawn the first; best of 3.
//
// Usage: open_folder_bench WORK PATTERN ENTRIES   one row of the table
//        open_folder_bench --list                 the pattern names
//        open_folder_bench --header               the table's heading
//        open_folder_bench --make WORK PATTERN ENTRIES   makes the folder (once),
//                                                 prints its path and mean name bytes
//        open_folder_bench --readdir FOLDER       the readdir loop's best of 3, s
//        open_folder_bench --fresh MB PAUSE       what touching MB of memory the
//                                                 process never had costs, ms a
//                                                 MB, each time after PAUSE s
//                                                 of rest; median of 3
// The folder WORK/PATTERN-ENTRIES is made once and kept for later runs.
// bench/open_folder.sh runs the whole table.

#include "app/Quillet.h"
#include "bench/BenchFolder.h"
#include "bench/NamePatterns.h"
#include "platform/base/MappedBlock.h"
#include "platform/toolkit/ComboBox.h"
#include "platform/toolkit/ListView.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QKeyEvent>

#include <dirent.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

double MeanNameBytes(const Pattern& pattern, int entries)
{
    double total = 0;
    int sampled = 0;
    for (int i = 0; i < entries; ++i, ++sampled)
        total += static_cast<double>(pattern.name(i).size());
    return sampled ? total / sampled : 0;
}

// The memory budget: 160 bytes an entry for names up to 48 bytes; none is
// set for longer names.
int PeakGoal(double nameBytes)
{
    return nameBytes <= 48 ? 160 : 0;
}

// ---------------------------------------------------------------------------
// Measuring

double Seconds(const QElapsedTimer& timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

template <class F>
double BestOf(int runs, F&& run)
{
    double best = 1e99;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        run();
        best = std::min(best, Seconds(timer));
    }
    return best;
}

// Milliseconds a MB of touching mb MB of memory new to the process, mapped
// as an open maps its arrays, after pause seconds of rest: the median of 3.
// Most of it is the kernel zero-filling each page on its first touch, and
// on a virtual machine the host backing the page again once it has had it
// back.
double FreshMemoryCost(size_t mb, double pause)
{
    std::vector<double> costs;
    for (int i = 0; i < 3; ++i) {
        std::this_thread::sleep_for(std::chrono::duration<double>(pause));
        MappedBlock block;
        const size_t bytes = mb << 20;
        if (!block.Reserve(bytes) || !block.Commit(bytes)) return -1;
        QElapsedTimer timer;
        timer.start();
        std::memset(block.Data(), 1, bytes);
        costs.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6 / static_cast<double>(mb));
    }
    std::sort(costs.begin(), costs.end());
    return costs[1];
}

long CountEntries(const std::string& path)
{
    long count = 0;
    if (DIR* dir = opendir(path.c_str())) {
        while (readdir(dir)) ++count;
        closedir(dir);
    }
    return count;
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

// What one open reports back to the parent.
struct OpenFigures {
    double seconds = 0;
    double firstSeconds = 0;  // the first open in the process, page faults and all
    double rssPerEntry = 0;
    double peakPerEntry = 0;
    long rows = 0;
};

void Settle()
{
    for (int i = 0; i < 10; ++i) QApplication::processEvents();
}

void StartWindow(const std::string& work)
{
    setenv("QUILLET_DRIVES", ("C=" + work).c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    Application->Initialize();
    Application->CreateForm(frmQuillet);
}

OpenFigures OpenByCall(const std::string& work, const std::string& name, int entries)
{
    StartWindow(work);
    // Start from a small folder so each run replaces records, as a user's open does.
    frmQuillet->OpenFolderPath("C:\\");
    const long before = StatusKiB("VmRSS:");
    OpenFigures figures;
    figures.seconds = 1e99;
    for (int run = 0; run < 3; ++run) {
        frmQuillet->OpenFolderPath("C:\\");
        // Only the open is timed, not the release of the previous run's records.
        QElapsedTimer timer;
        timer.start();
        frmQuillet->OpenFolderPath("C:\\" + name);
        figures.seconds = std::min(figures.seconds, Seconds(timer));
        if (run == 0) figures.firstSeconds = Seconds(timer);
    }
    figures.rssPerEntry = (StatusKiB("VmRSS:") - before) * 1024.0 / entries;
    figures.peakPerEntry = (StatusKiB("VmHWM:") - before) * 1024.0 / entries;
    figures.rows = frmQuillet->FShellItems->GetCount();
    return figures;
}

// Presses and releases one key on the focused widget, as the keyboard does.
void Press(int key, const QString& text = {})
{
    QWidget* target = QApplication::focusWidget();
    if (!target) target = frmQuillet->cmbxPath->Box();
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &release);
}

void TypeText(const QString& text)
{
    for (const QChar c : text) {
        // Qt's key codes for ASCII are the upper-case characters.
        const int key = c.unicode() < 0x80 ? int{c.toUpper().unicode()} : int{Qt::Key_unknown};
        Press(key, QString(c));
    }
}

// The rows the file list reports to assistive technology.
long AccessibleRows()
{
    QAccessibleInterface* list =
        QAccessible::queryAccessibleInterface(frmQuillet->lstvwVirtualList->ActiveView());
    if (!list) return -1;
    if (QAccessibleTableInterface* table = list->tableInterface()) return table->rowCount();
    return list->childCount();
}

OpenFigures OpenByTyping(const std::string& work, const std::string& name, int entries)
{
    StartWindow(work);
    frmQuillet->SetWindowState(wsNormal);
    frmQuillet->SetBounds(0, 0, 1000, 700);
    frmQuillet->Show();
    frmQuillet->Widget()->activateWindow();
    frmQuillet->OpenFolderPath("C:\\");
    Settle();
    const long before = StatusKiB("VmRSS:");
    const QString path = QString::fromStdString(work + "/" + name);
    OpenFigures figures;
    figures.seconds = 1e99;
    for (int run = 0; run < 3; ++run) {
        frmQuillet->OpenFolderPath("C:\\");
        Settle();
        frmQuillet->cmbxPath->SetText("");
        frmQuillet->cmbxPath->SetFocus();
        Settle();
        TypeText(path);
        QElapsedTimer timer;
        timer.start();
        Press(Qt::Key_Return);
        // Until every row is there for a reader and the first is on screen,
        // as a person waits for them.
        while (frmQuillet->FCurrentPath == "C:\\" || AccessibleRows() < entries ||
               !frmQuillet->lstvwVirtualList->LastDrawnStyle(0, 0).color.isValid()) {
            QApplication::processEvents();
            if (timer.elapsed() > 600000) {
                std::fprintf(stderr, "typed open of %s: %ld rows after 10 minutes\n",
                             path.toLocal8Bit().constData(), AccessibleRows());
                std::_Exit(1);
            }
        }
        figures.seconds = std::min(figures.seconds, Seconds(timer));
    }
    figures.rssPerEntry = (StatusKiB("VmRSS:") - before) * 1024.0 / entries;
    figures.peakPerEntry = (StatusKiB("VmHWM:") - before) * 1024.0 / entries;
    figures.rows = AccessibleRows();
    return figures;
}

// Runs open in a child process; false when the child failed.
template <class Open>
bool InChild(Open open, OpenFigures& figures)
{
    int channel[2];
    if (pipe(channel) != 0) return false;
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        const OpenFigures measured = open();
        const bool written = write(channel[1], &measured, sizeof measured) == sizeof measured;
        // The records are not released: the process ends here.
        std::_Exit(written ? 0 : 1);
    }
    close(channel[1]);
    const bool read_all = child > 0 && read(channel[0], &figures, sizeof figures) == sizeof figures;
    close(channel[0]);
    int status = 0;
    if (child > 0) waitpid(child, &status, 0);
    return read_all && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void PrintHeader()
{
    std::printf(
        "goals at 1 000 000 entries: open <= 2.5x readdir and ahead of ls -1; typed <= "
        "3x readdir;\npeak <= 160 B/entry for names up to 48 bytes (goal column; - none)\n");
    std::printf("%-10s %8s %5s %9s %8s %8s %7s %6s %6s %6s %7s %5s %8s %7s %6s  %s\n", "pattern",
                "entries", "nameB", "readdir s", "ls -1 s", "open s", "/readdir", "/ls", "B/e",
                "peakBe", "first s", "goal", "typed s", "/readdir", "peakBe", "missed at 1M");
}

int RunCase(const std::string& work, const Pattern& pattern, int entries)
{
    mkdir(work.c_str(), 0755);
    const std::string name = std::string(pattern.key) + "-" + std::to_string(entries);
    const std::string path = work + "/" + name;
    MakeFolderOnce(path, entries, pattern.name, pattern.folder);

    const double counting = BestOf(3, [&] { CountEntries(path); });
    const std::string ls = "ls -1 '" + path + "' > /dev/null";
    const double listing = BestOf(3, [&] { (void)std::system(ls.c_str()); });

    OpenFigures called;
    OpenFigures typed;
    const bool calledOk = InChild([&] { return OpenByCall(work, name, entries); }, called);
    const bool typedOk = InChild([&] { return OpenByTyping(work, name, entries); }, typed);

    const double nameBytes = MeanNameBytes(pattern, entries);
    const int goal = PeakGoal(nameBytes);
    std::string missed;
    if (entries >= 1000000) {
        if (!calledOk || called.seconds > 2.5 * counting) missed += " open/readdir";
        if (!calledOk || called.seconds >= listing) missed += " open/ls";
        if (!typedOk || typed.seconds > 3 * counting) missed += " typed/readdir";
        if (goal && (!calledOk || called.peakPerEntry > goal)) missed += " peak";
    }
    std::printf("%-10s %8d %5.0f %9.3f %8.3f ", pattern.key, entries, nameBytes, counting, listing);
    if (calledOk)
        std::printf("%8.3f %7.2fx %5.2fx %6.0f %6.0f %7.3f ", called.seconds,
                    called.seconds / counting, called.seconds / listing, called.rssPerEntry,
                    called.peakPerEntry, called.firstSeconds);
    else
        std::printf("%8s %8s %6s %6s %6s %7s ", "failed", "-", "-", "-", "-", "-");
    std::printf("%5s ", goal ? std::to_string(goal).c_str() : "-");
    if (typedOk)
        std::printf("%8.3f %6.2fx %6.0f ", typed.seconds, typed.seconds / counting,
                    typed.peakPerEntry);
    else
        std::printf("%8s %7s %6s ", "failed", "-", "-");
    std::printf(" %s\n", missed.empty() ? "-" : missed.c_str() + 1);
    std::fflush(stdout);
    return calledOk && typedOk ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "--list") == 0) {
        for (const Pattern& pattern : kPatterns) std::printf("%s\n", pattern.key);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--header") == 0) {
        PrintHeader();
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "--readdir") == 0) {
        std::printf("%.3f\n", BestOf(3, [&] { CountEntries(argv[2]); }));
        return 0;
    }
    if (argc == 4 && std::strcmp(argv[1], "--fresh") == 0) {
        const long mb = std::atol(argv[2]);
        const double pause = std::atof(argv[3]);
        if (mb < 1 || mb > 4096 || !(pause >= 0 && pause <= 60)) return 2;
        std::printf("%.2f\n", FreshMemoryCost(static_cast<size_t>(mb), pause));
        return 0;
    }
    if (argc == 5 && std::strcmp(argv[1], "--make") == 0) {
        const Pattern* pattern = FindPattern(argv[3]);
        const int entries = std::atoi(argv[4]);
        if (!pattern || entries < 1) return 2;
        mkdir(argv[2], 0755);
        const std::string path =
            std::string(argv[2]) + "/" + pattern->key + "-" + std::to_string(entries);
        MakeFolderOnce(path, entries, pattern->name, pattern->folder);
        std::printf("%s %.0f\n", path.c_str(), MeanNameBytes(*pattern, entries));
        return 0;
    }
    const Pattern* pattern = argc == 4 ? FindPattern(argv[2]) : nullptr;
    const int entries = argc == 4 ? std::atoi(argv[3]) : 0;
    if (!pattern || entries < 1) {
        std::fprintf(stderr, "usage: open_folder_bench WORK PATTERN ENTRIES | --list | --header\n");
        return 2;
    }
    return RunCase(argv[1], *pattern, entries);
}
