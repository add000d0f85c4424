// The thumbnail gallery beside vipsthumbnail over the same files, in one run.
//
// Folders, made for the run:
//   photos: QUILLET_BENCH_PICTURES (default 20) photographs, the photo folder's
//           files in name order, repeated;
//   broken: files that cannot be loaded (empty, not a JPEG file, garbage after
//           the start marker, truncated) and headers that claim 65500 x 65500
//           pixels (baseline and arithmetic-coded), between a few photographs.
//
// The scans run as the user sees them: the main window shown with the gallery
// visible, its tiles painted as they come (QUILLET_BENCH_HIDDEN=1 keeps the
// window hidden). Each iteration after the first is a re-scan, which empties
// the gallery the one before made.
//
// Counters of a scan: pics_per_s; first_ms, from the start of the scan to the
// first tile; max_gap_ms and p99_gap_ms, the longest time and the 99th
// percentile of the times between two timeouts of a 1 ms timer, that is of
// how long the event loop let an event wait (every gap of every iteration
// counts, the emptying of the old gallery included); gaps_over_16ms, how many
// were longer than a frame. vipsThumbnail runs with its default
// threads and with one (VIPS_CONCURRENCY=1); libjpegFullSize decodes every
// photo at full size on one thread.
//
// Usage: gallery_bench [photo folder] [benchmark flags]. The folder defaults
// to QUILLET_BENCH_PHOTOS, then /work/shared/data/jpeg/photos.

#include "app/Quillet.h"
#include "platform/base/Drives.h"
#include "platform/toolkit/Dialogs.h"
#include "platform/toolkit/ImageList.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace {

QTemporaryDir* gRoot = nullptr;
QStringList gPhotos;  // the photos folder's files
int gBrokenFiles = 0;

// Load-error messages and error displays are counted, never shown.
class CountingDialogs : public DialogSeam {
public:
    void ShowMessage(const AnsiString&) override { ++messages; }
    void ShowError(const AnsiString&) override { ++errors; }
    bool SelectDirectory(const AnsiString&, const AnsiString&, AnsiString&) override
    {
        return false;
    }
    int messages = 0;
    int errors = 0;
};
CountingDialogs gDialogs;

QStringList photoSources(const QString& photos)
{
    const QStringList names = QDir(photos).entryList({"*.jpg"}, QDir::Files, QDir::Name);
    QStringList paths;
    for (const QString& name : names) paths << QDir(photos).filePath(name);
    if (paths.isEmpty()) {
        std::fprintf(stderr, "no photographs in %s\n", qPrintable(photos));
        std::exit(2);
    }
    return paths;
}

void makePhotos(const QStringList& sources, int count)
{
    QDir().mkpath(gRoot->filePath("photos"));
    for (int i = 0; i < count; ++i) {
        const QString target =
            gRoot->filePath(QString("photos/photo%1.jpg").arg(i, 3, 10, QChar('0')));
        QFile::copy(sources[i % sources.size()], target);
        gPhotos << target;
    }
}

// The file's bytes with the frame header's size set to width x height.
QByteArray withClaimedSize(const QString& path, int width, int height)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    QByteArray data = file.readAll();
    for (int i = 2; i + 9 < data.size(); ++i) {
        const auto marker = static_cast<unsigned char>(data[i + 1]);
        if (static_cast<unsigned char>(data[i]) == 0xFF && marker >= 0xC0 && marker <= 0xCF &&
            marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
            data[i + 5] = static_cast<char>(height >> 8);
            data[i + 6] = static_cast<char>(height & 0xFF);
            data[i + 7] = static_cast<char>(width >> 8);
            data[i + 8] = static_cast<char>(width & 0xFF);
            break;
        }
    }
    return data;
}

void makeBroken(const QStringList& sources)
{
    const QString data = QUILLET_BENCH_DATA "/";
    QDir().mkpath(gRoot->filePath("broken"));
    auto put = [](const QString& target, const QByteArray& bytes) {
        QFile file(gRoot->filePath("broken/" + target));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        ++gBrokenFiles;
    };
    auto read = [](const QString& path) {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    };
    for (const char* name : {"empty", "not-a-jpeg", "garbage-after-soi", "truncated"})
        put(QString(name) + ".jpg", read(data + "broken/" + name + ".jpg"));
    put("huge-baseline.jpg", withClaimedSize(data + "sizes/pic_640x480.jpg", 65500, 65500));
    put("huge-arith.jpg", withClaimedSize(data + "sizes/arith_640x480.jpg", 65500, 65500));
    for (int i = 0; i < 4; ++i)
        put(QString("photo%1.jpg").arg(i), read(sources[i % sources.size()]));
}

std::vector<qint64> gGaps;

double percentile(std::vector<qint64> values, double share)
{
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const auto at = static_cast<size_t>(share * double(values.size() - 1) + 0.5);
    return double(values[std::min(at, values.size() - 1)]);
}

// files: the folder's entries; expectAll: whether every one must get its tile
// without an error.
void galleryScan(benchmark::State& state, const char* folder, int files, bool expectAll)
{
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    ThumbWidth = width;
    ThumbHeight = height;
    frmQuillet->ImageList1->SetSize(width, height);
    frmQuillet->FCurrentPath = AnsiString("C:\\") + folder;

    // A precise 1 ms timer: the time between two of its timeouts is how long
    // a pending event waited. (A zero-interval timer would keep the loop from
    // ever sleeping, and the scan would spin while it waits for a decode.)
    QElapsedTimer clock;
    qint64 last = 0;
    qint64 first = -1;
    std::vector<qint64> gaps;
    std::vector<qint64> firsts;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    tick.setInterval(1);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        gaps.push_back(now - last);
        last = now;
        if (first < 0 && frmQuillet->ImageList1->Count() > 0) first = now;
    });
    for (auto _ : state) {
        gDialogs = CountingDialogs();
        tick.start();
        clock.start();
        last = 0;
        first = -1;
        // A decoding error ends the scan and reaches the program's top-level
        // handler, which shows it: counted here.
        try {
            frmQuillet->BuildThumbnails();
        } catch (const std::exception&) {
            ++gDialogs.errors;
        }
        const qint64 now = clock.nsecsElapsed();
        gaps.push_back(now - last);
        firsts.push_back(first < 0 ? now : first);
        tick.stop();
        if (expectAll && (frmQuillet->ImageList1->Count() != files || gDialogs.errors != 0))
            state.SkipWithError("tiles missing");
    }
    state.counters["pics_per_s"] =
        benchmark::Counter(double(files) * double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["first_ms"] = percentile(firsts, 0.5) / 1e6;
    state.counters["max_gap_ms"] = percentile(gaps, 1.0) / 1e6;
    state.counters["p99_gap_ms"] = percentile(gaps, 0.99) / 1e6;
    state.counters["gaps_over_16ms"] = static_cast<double>(
        std::count_if(gaps.begin(), gaps.end(), [](qint64 gap) { return gap > 16'000'000; }));
}

void vipsThumbnail(benchmark::State& state)
{
    const bool oneThread = state.range(2) == 1;
    QTemporaryDir out;
    const QString size = QString("%1x%2").arg(state.range(0)).arg(state.range(1));
    QStringList arguments{"--size", size, "-o", out.path() + "/%s.jpg"};
    arguments << gPhotos;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (oneThread) environment.insert("VIPS_CONCURRENCY", "1");
    for (auto _ : state) {
        QProcess vips;
        vips.setProcessEnvironment(environment);
        vips.start("vipsthumbnail", arguments);
        if (!vips.waitForFinished(-1) || vips.exitCode() != 0) {
            state.SkipWithError("vipsthumbnail failed");
            break;
        }
    }
    state.counters["pics_per_s"] = benchmark::Counter(
        double(gPhotos.size()) * double(state.iterations()), benchmark::Counter::kIsRate);
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
        for (const QString& path : gPhotos) {
            FILE* file = std::fopen(path.toLocal8Bit().constData(), "rb");
            const bool ok = file && decodeFullSize(file, row.data(), row.size());
            if (file) std::fclose(file);
            if (!ok) state.SkipWithError("decode failed");
        }
    }
    state.counters["pics_per_s"] = benchmark::Counter(
        double(gPhotos.size()) * double(state.iterations()), benchmark::Counter::kIsRate);
}

void registerBenchmarks()
{
    const int photos = static_cast<int>(gPhotos.size());
    benchmark::RegisterBenchmark(
        "galleryScan/photos",
        [photos](benchmark::State& s) { galleryScan(s, "photos", photos, true); })
        ->ArgNames({"width", "height"})
        ->Args({200, 200})
        ->Args({333, 217})
        ->Args({500, 500})
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(5);
    benchmark::RegisterBenchmark(
        "galleryScan/broken",
        [](benchmark::State& s) { galleryScan(s, "broken", gBrokenFiles, false); })
        ->Args({200, 200})
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(2);
    benchmark::RegisterBenchmark("vipsThumbnail", vipsThumbnail)
        ->ArgNames({"width", "height", "one_thread"})
        ->Args({200, 200, 0})
        ->Args({200, 200, 1})
        ->Args({333, 217, 0})
        ->Args({333, 217, 1})
        ->Args({500, 500, 0})
        ->Args({500, 500, 1})
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(5);
    benchmark::RegisterBenchmark("libjpegFullSize", libjpegFullSize)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(3);
}

}  // namespace

int main(int argc, char** argv)
{
    QString photos = qEnvironmentVariable("QUILLET_BENCH_PHOTOS", "/work/shared/data/jpeg/photos");
    if (argc > 1 && argv[1][0] != '-') {
        photos = QString::fromLocal8Bit(argv[1]);
        --argc;
        ++argv;
    }
    const int count = qEnvironmentVariableIntValue("QUILLET_BENCH_PICTURES");
    Application->Initialize();
    SetDialogSeam(&gDialogs);
    gRoot = new QTemporaryDir;
    const QStringList sources = photoSources(photos);
    makePhotos(sources, count > 0 ? count : 20);
    makeBroken(sources);
    setenv("QUILLET_DRIVES", ("C=" + gRoot->path().toStdString()).c_str(), 1);
    ReloadDriveMap();
    Application->CreateForm(frmQuillet);
    // The gallery is scanned as the user sees it: shown, tiles painted as
    // they come.
    if (!qEnvironmentVariableIsSet("QUILLET_BENCH_HIDDEN")) {
        frmQuillet->LstViewPicture->SetVisible(true);
        frmQuillet->Show();
        // The window's first layout and paint are over before anything is
        // timed.
        QEventLoop settle;
        QTimer::singleShot(500, &settle, &QEventLoop::quit);
        settle.exec();
    }

    registerBenchmarks();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    delete frmQuillet;
    frmQuillet = nullptr;
    SetDialogSeam(nullptr);
    delete gRoot;
    return 0;
}
