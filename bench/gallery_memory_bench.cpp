// What a gallery of the largest tiles costs the process at its peak: a scan
// of a folder at 10000 x 10000 pixels a tile (the largest the panel
// accepts), with the peak resident memory (VmHWM) before and after, beside
// the memory bound's parts: the kept tiles and the decodes in flight.
//
// The bound may be set in tiles (bound_tiles, as if physical memory were
// four times that many tiles), so that a scan of a few large pictures
// reaches it. The peak's growth must stay within the two bounds (kept tiles
// and decodes) plus the margin the bound leaves out: the result the window
// is drawing onto its tile (one tile) and the results waiting to be taken
// (the look-ahead: at most kLookAheadBytes, or one tile). Prints whether it
// did, and how far above the kept tiles the peak went.
//
// Usage: gallery_memory_bench [photo folder] [tiles] [side] [bound_tiles]

#include "app/Quillet.h"
#include "platform/base/Drives.h"
#include "platform/toolkit/Dialogs.h"
#include "platform/toolkit/ImageList.h"
#include "thumbnails/GalleryMemory.h"
#include "thumbnails/ThumbnailDecoder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

class SilentDialogs : public DialogSeam {
public:
    void ShowMessage(const AnsiString& text) override
    {
        std::printf("message: %s\n", text.c_str());
    }
    void ShowError(const AnsiString& text) override { std::printf("error: %s\n", text.c_str()); }
    bool SelectDirectory(const AnsiString&, const AnsiString&, AnsiString&) override
    {
        return false;
    }
};
SilentDialogs gDialogs;

// A line of /proc/self/status in bytes (its value is in kB).
qint64 status(const std::string& key)
{
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(key + ":", 0) == 0) return std::atoll(line.c_str() + key.size() + 1) * 1024;
    return 0;
}

double mb(qint64 bytes)
{
    return double(bytes) / (1 << 20);
}

}  // namespace

int main(int argc, char** argv)
{
    const QString photos =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString("/work/shared/data/jpeg/photos");
    const int tiles = argc > 2 ? std::atoi(argv[2]) : 3;
    const int side = argc > 3 ? std::atoi(argv[3]) : 10000;
    const double boundTiles = argc > 4 ? std::atof(argv[4]) : 0;
    Application->Initialize();
    if (boundTiles > 0)
        SetPhysicalMemoryForTesting(
            static_cast<qint64>(4 * boundTiles * double(TileBytes(side, side))));
    SetDialogSeam(&gDialogs);
    QTemporaryDir root;
    const QStringList names = QDir(photos).entryList({"*.jpg"}, QDir::Files, QDir::Name);
    if (names.isEmpty()) return 2;
    for (int i = 0; i < tiles; ++i)
        QFile::copy(QDir(photos).filePath(names[i % names.size()]),
                    root.filePath(QString("p%1.jpg").arg(i)));
    setenv("QUILLET_DRIVES", ("C=" + root.path().toStdString()).c_str(), 1);
    ReloadDriveMap();
    Application->CreateForm(frmQuillet);
    ThumbWidth = ThumbHeight = side;
    frmQuillet->ImageList1->SetSize(side, side);
    frmQuillet->FCurrentPath = "C:\\";

    const qint64 before = status("VmHWM");
    frmQuillet->BuildThumbnails();
    const qint64 peak = status("VmHWM");
    const qint64 after = status("VmRSS");
    const qint64 kept = qint64{frmQuillet->ImageList1->Count()} * TileBytes(side, side);
    const int workers = std::max(1, QThread::idealThreadCount());
    std::printf("tiles %d of %d x %d, %d workers; bound: %.0f MB kept + %.0f MB decoding\n",
                frmQuillet->ImageList1->Count(), side, side, workers, mb(GalleryMemoryBound()),
                mb(GalleryMemoryBound()));
    std::printf("VmHWM before the scan %.0f MB, after %.0f MB; VmRSS after %.0f MB\n", mb(before),
                mb(peak), mb(after));
    std::printf("kept tiles %.0f MB; peak growth %.0f MB = kept + %.0f MB (%.2f tiles)\n", mb(kept),
                mb(peak - before), mb(peak - before - kept),
                double(peak - before - kept) / double(TileBytes(side, side)));
    const qint64 tile = TileBytes(side, side);
    const qint64 margin = tile + std::max(kLookAheadBytes, tile);
    const qint64 allowed = 2 * GalleryMemoryBound() + margin;
    std::printf(
        "margin %.0f MB (a tile being drawn, %.0f MB of results waiting); peak growth %.0f MB "
        "%s bound + margin %.0f MB\n",
        mb(margin), mb(std::max(kLookAheadBytes, tile)), mb(peak - before),
        peak - before <= allowed ? "within" : "ABOVE", mb(allowed));
    if (frmQuillet->ImageList1->Count() > 0) {
        const QImage first = frmQuillet->ImageList1->Image(0).toImage();
        const QRgb centre = first.pixel(first.width() / 2, first.height() / 2);
        std::printf("first tile's centre: #%06x\n", centre & 0xFFFFFF);
    }
    delete frmQuillet;
    frmQuillet = nullptr;
    SetDialogSeam(nullptr);
    return 0;
}
