// The cost of one screenful of row details in the report view (50 fresh
// records through LoadItemDetails) against the least a file manager must do
// for the same 50 files: stat() and a type lookup by name.
//
// Usage: row_details_bench [work folder] [runs]
// Prints the median and best time of each and their ratio.

#include "app/Quillet.h"
#include "platform/base/Classes.h"
#include "platform/base/Drives.h"
#include "platform/toolkit/Forms.h"

#include <QElapsedTimer>
#include <QMimeDatabase>
#include <QString>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int screenful = 50;
// A spread of types, so the type lookup is not one cache hit.
const char* const extensions[] = {".jpg", ".txt",  ".pdf", ".cpp", ".png",
                                  ".zip", ".html", ".mp3", ".odt", ".sh"};

std::vector<std::string> MakeFiles(const std::string& folder)
{
    mkdir(folder.c_str(), 0755);
    std::vector<std::string> names;
    for (int i = 0; i < screenful; ++i) {
        const std::string name = "file" + std::to_string(i) + extensions[i % std::size(extensions)];
        const int fd = open((folder + "/" + name).c_str(), O_CREAT | O_WRONLY, 0644);
        if (fd >= 0) {
            if (ftruncate(fd, i * 1000) != 0) std::perror("ftruncate");
            close(fd);
        }
        names.push_back(name);
    }
    return names;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string work = argc > 1 ? argv[1] : "/tmp/quillet-row-bench";
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 200;
    const std::vector<std::string> names = MakeFiles(work);
    setenv("QUILLET_DRIVES", ("C=" + work).c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ReloadDriveMap();

    Application->Initialize();
    Application->CreateForm(frmQuillet);
    frmQuillet->lstvwVirtualList->SetViewStyle(vsReport);

    QMimeDatabase mimeTypes;
    std::vector<double> details;
    std::vector<double> direct;
    double firstDetails = 0;
    double firstDirect = 0;
    long checksum = 0;
    for (int run = 0; run < runs; ++run) {
        // Fresh records each run; the open itself is not measured.
        frmQuillet->OpenFolderPath("C:\\");
        const int last = std::min(screenful, frmQuillet->FShellItems->GetCount()) - 1;

        QElapsedTimer timer;
        timer.start();
        frmQuillet->LoadItemDetails(0, last);
        details.push_back(timer.nsecsElapsed() / 1e3);

        timer.start();
        for (const std::string& name : names) {
            struct stat info {};
            stat((work + "/" + name).c_str(), &info);
            const QString type =
                mimeTypes
                    .mimeTypeForFile(QString::fromStdString(name), QMimeDatabase::MatchExtension)
                    .comment();
            checksum += info.st_size + type.size();
        }
        direct.push_back(timer.nsecsElapsed() / 1e3);
        if (run == 0) {
            firstDetails = details.back();
            firstDirect = direct.back();
        }
    }

    const double medianDetails = Median(details);
    const double medianDirect = Median(direct);
    std::printf("%d rows, %d runs (checksum %ld)\n", screenful, runs, checksum);
    std::printf("%-28s %10s %10s %10s\n", "", "first us", "median us", "best us");
    std::printf("%-28s %10.0f %10.0f %10.0f\n", "LoadItemDetails", firstDetails, medianDetails,
                *std::min_element(details.begin(), details.end()));
    std::printf("%-28s %10.0f %10.0f %10.0f\n", "stat + type by name", firstDirect, medianDirect,
                *std::min_element(direct.begin(), direct.end()));
    std::printf("ratio (median): %.2fx   goal <= 1.5x\n", medianDetails / medianDirect);

    delete frmQuillet;
    frmQuillet = nullptr;
    Application->DestroyComponents();
    return 0;
}
