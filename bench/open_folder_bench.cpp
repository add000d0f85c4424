// Opening a large folder end to end (enumeration, records, sort, row count)
// against the physical limit (a bare readdir loop that only counts) and
// against `ls -1`, at 10 000, 100 000 and 1 000 000 entries.
//
// Usage: open_folder_bench [work folder] [largest size]
// The folders are made once under the work folder (default /tmp/quillet-bench)
// and kept for later runs.

#include "app/Quillet.h"
#include "bench/BenchFolder.h"
#include "platform/base/Drives.h"

#include <QElapsedTimer>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

namespace {

// Mixed-case names with numbers; about one entry in a hundred is a folder.
void MakeFolder(const std::string& path, int entries)
{
    MakeFolderOnce(
        path, entries,
        [](int i) {
            char name[96];
            std::snprintf(name, sizeof name, "%s%d_Take%d%s",
                          (i % 3 == 0) ? "IMG_" : (i % 3 == 1 ? "img" : "Holiday"), i, i % 17,
                          i % 100 == 0 ? "" : ".jpg");
            return std::string(name);
        },
        [](int i) { return i % 100 == 0; });
}

double Seconds(const QElapsedTimer& timer)
{
    return timer.nsecsElapsed() / 1e9;
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

}  // namespace

int main(int argc, char** argv)
{
    const std::string work = argc > 1 ? argv[1] : "/tmp/quillet-bench";
    const int largest = argc > 2 ? std::atoi(argv[2]) : 1000000;
    mkdir(work.c_str(), 0755);
    setenv("QUILLET_DRIVES", ("C=" + work).c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);

    Application->Initialize();
    Application->CreateForm(frmQuillet);

    std::printf("%-9s %10s %10s %10s %8s %8s %10s %10s\n", "entries", "readdir s", "ls -1 s",
                "open s", "/readdir", "/ls", "B/entry", "peak B/e");
    for (int entries = 10000; entries <= largest; entries *= 10) {
        const std::string name = std::string("f").append(std::to_string(entries));
        const std::string path = work + "/" + name;
        MakeFolder(path, entries);

        const double counting = BestOf(3, [&] { CountEntries(path); });
        const std::string ls = "ls -1 '" + path + "' > /dev/null";
        const double listing = BestOf(3, [&] { (void)std::system(ls.c_str()); });

        // Start from a small folder so each run replaces records, as a user's open does.
        frmQuillet->OpenFolderPath("C:\\");
        const long before = StatusKiB("VmRSS:");
        // Only the open is timed, not the release of the previous run's records.
        double opening = 1e99;
        for (int run = 0; run < 3; ++run) {
            frmQuillet->OpenFolderPath("C:\\");
            QElapsedTimer timer;
            timer.start();
            frmQuillet->OpenFolderPath("C:\\" + name);
            opening = std::min(opening, Seconds(timer));
        }
        const double perEntry = (StatusKiB("VmRSS:") - before) * 1024.0 / entries;
        // The peak is process-wide, so it speaks for the largest folder only.
        const double peakPerEntry = (StatusKiB("VmHWM:") - before) * 1024.0 / entries;
        std::printf("%-9d %10.3f %10.3f %10.3f %7.2fx %7.2fx %10.0f %10.0f\n", entries, counting,
                    listing, opening, opening / counting, opening / listing, perEntry,
                    peakPerEntry);
        std::fflush(stdout);
    }
    delete frmQuillet;
    Application->DestroyComponents();
    return 0;
}
