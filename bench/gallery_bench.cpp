// The gallery of a folder of 200 photographs, built at two tile sizes, beside
// two yardsticks over the same files: vipsthumbnail at 200x200 and a plain
// libjpeg loop that decodes every file at full size.
//
// Counters: pics_per_s, and max_gap_ms, the longest time the event loop went
// without dispatching an event during a scan.
//
// Usage: gallery_bench [photo folder] [benchmark flags]. The folder defaults
// to QUILLET_BENCH_PHOTOS, then /work/shared/data/jpeg/photos.

#include "app/Quillet.h"
#include "platform/base/Drives.h"
#include "platform/toolkit/ImageList.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace {

constexpr int kPictures = 200;

QTemporaryDir* gFolder = nullptr;
QStringList gFiles;

void makeFolder(const QString& photos)
{
    const QStringList sources = QDir(photos).entryList({"*.jpg"}, QDir::Files, QDir::Name);
    if (sources.isEmpty()) {
        std::fprintf(stderr, "no photographs in %s\n", qPrintable(photos));
        std::exit(2);
    }
    gFolder = new QTemporaryDir;
    for (int i = 0; i < kPictures; ++i) {
        const QString name = QString("photo%1.jpg").arg(i, 3, 10, QChar('0'));
        const QString target = gFolder->filePath(name);
        QFile::copy(QDir(photos).filePath(sources[i % sources.size()]), target);
        gFiles << target;
    }
}

void galleryScan(benchmark::State& state)
{
    const int side = static_cast<int>(state.range(0));
    ThumbWidth = side;
    ThumbHeight = side;
    frmQuillet->ImageList1->SetSize(side, side);
    frmQuillet->FCurrentPath = "C:\\";

    // A zero-interval timer fires whenever the loop dispatches events.
    QElapsedTimer clock;
    qint64 last = 0;
    qint64 maxGap = 0;
    QTimer tick;
    tick.setInterval(0);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        maxGap = std::max(maxGap, now - last);
        last = now;
    });
    for (auto _ : state) {
        tick.start();
        clock.start();
        last = 0;
        frmQuillet->BuildThumbnails();
        const qint64 now = clock.nsecsElapsed();
        maxGap = std::max(maxGap, now - last);
        tick.stop();
        if (frmQuillet->ImageList1->Count() != kPictures) state.SkipWithError("tiles missing");
    }
    state.counters["pics_per_s"] = benchmark::Counter(
        double(kPictures) * double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["max_gap_ms"] = double(maxGap) / 1e6;
}

void vipsThumbnail(benchmark::State& state)
{
    QTemporaryDir out;
    QStringList arguments{"--size", "200x200", "-o", out.path() + "/%s.jpg"};
    arguments << gFiles;
    for (auto _ : state) {
        QProcess vips;
        vips.start("vipsthumbnail", arguments);
        if (!vips.waitForFinished(-1) || vips.exitCode() != 0) {
            state.SkipWithError("vipsthumbnail failed");
            break;
        }
    }
    state.counters["pics_per_s"] = benchmark::Counter(
        double(kPictures) * double(state.iterations()), benchmark::Counter::kIsRate);
}

struct PlainError {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

[[noreturn]] void plainErrorExit(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<PlainError*>(cinfo->err)->jump, 1);
}

// Decodes one file at full size into rows; false on a decoding error.
bool decodeFullSize(FILE* file, JSAMPLE* rowBuffer, size_t rowBytes)
{
    jpeg_decompress_struct cinfo;
    PlainError err;
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = plainErrorExit;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_stdio_src(&cinfo, file);
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_EXT_BGRA;
    jpeg_start_decompress(&cinfo);
    if (size_t{cinfo.output_width} * 4 > rowBytes) longjmp(err.jump, 1);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = rowBuffer;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

void libjpegFullSize(benchmark::State& state)
{
    std::vector<JSAMPLE> row(65536 * 4);
    for (auto _ : state) {
        for (const QString& path : gFiles) {
            FILE* file = std::fopen(path.toLocal8Bit().constData(), "rb");
            const bool ok = file && decodeFullSize(file, row.data(), row.size());
            if (file) std::fclose(file);
            if (!ok) state.SkipWithError("decode failed");
        }
    }
    state.counters["pics_per_s"] = benchmark::Counter(
        double(kPictures) * double(state.iterations()), benchmark::Counter::kIsRate);
}

}  // namespace

BENCHMARK(galleryScan)
    ->Arg(200)
    ->Arg(500)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);
BENCHMARK(vipsThumbnail)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(libjpegFullSize)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

int main(int argc, char** argv)
{
    QString photos = qEnvironmentVariable("QUILLET_BENCH_PHOTOS", "/work/shared/data/jpeg/photos");
    if (argc > 1 && argv[1][0] != '-') {
        photos = QString::fromLocal8Bit(argv[1]);
        --argc;
        ++argv;
    }
    Application->Initialize();
    makeFolder(photos);
    setenv("QUILLET_DRIVES", ("C=" + gFolder->path().toStdString()).c_str(), 1);
    ReloadDriveMap();
    Application->CreateForm(frmQuillet);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    delete frmQuillet;
    frmQuillet = nullptr;
    delete gFolder;
    return 0;
}
