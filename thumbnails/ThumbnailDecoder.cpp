#include "thumbnails/ThumbnailDecoder.h"

#include "platform/toolkit/Jpeg.h"
#include "thumbnails/GalleryMemory.h"
#include "thumbnails/TileFit.h"

#include <jerror.h>

#include <QAbstractEventDispatcher>
#include <QThread>

#include <algorithm>
#include <climits>
#include <cmath>

#include <cerrno>

#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// Results waiting to be taken hold a rendered tile each; past this many bytes
// of them the look-ahead shrinks, down to one file, for very large tiles.
constexpr qint64 kLookAheadBytes = qint64{64} << 20;
// How much nicer than the user-interface thread the workers run: the window
// wins the processor whenever it has something to do, while the workers keep
// most of their share against the machine's other programs.
constexpr int kWorkerNiceness = 5;

int lookAhead(int workers, int tileWidth, int tileHeight)
{
    const qint64 perTile = std::max<qint64>(1, TileBytes(tileWidth, tileHeight));
    return static_cast<int>(std::clamp<qint64>(kLookAheadBytes / perTile, 1, qint64{2} * workers));
}

// Linux gives each thread its own niceness and policy, and a pool thread is
// ours alone. The batch policy also keeps a worker that wakes from taking the
// processor from the window.
void lowerThisThreadsPriority()
{
    thread_local bool lowered = false;
    if (lowered) return;
    lowered = true;
    const sched_param parameters{};
    pthread_setschedparam(pthread_self(), SCHED_BATCH, &parameters);
    const auto tid = static_cast<id_t>(gettid());
    errno = 0;
    const int now = getpriority(PRIO_PROCESS, tid);
    if (errno == 0) setpriority(PRIO_PROCESS, tid, std::min(19, now + kWorkerNiceness));
}

}  // namespace

DecodedThumbnail DecodeThumbnail(const std::optional<std::string>& posixPath, int tileWidth,
                                 int tileHeight, long allowance, const std::atomic<bool>* stop,
                                 qreal ratio)
{
    DecodedThumbnail result;
    const QSize device(static_cast<int>(std::lround(tileWidth * ratio)),
                       static_cast<int>(std::lround(tileHeight * ratio)));
    result.tileWidth = device.width();
    result.tileHeight = device.height();
    TJPEGImage picture;
    try {
        if (!posixPath) throw Exception("No such file");
        picture.LoadFromFile(*posixPath);
    } catch (const std::exception&) {
        result.loadFailed = true;
    }
    result.rect = FitPictureInTile(static_cast<float>(picture.Width()),
                                   static_cast<float>(picture.Height()), tileWidth, tileHeight);
    if (!result.rect) return result;
    result.rect = TileRectOnDevice(*result.rect, ratio);
    try {
        // The file's bytes are in; the decode may take the rest of the
        // allowance (a progressive picture keeps all its coefficients).
        const qint64 left = qint64{allowance} - static_cast<qint64>(picture.DataSize());
        if (left <= 0) throw EJPEG(JERR_OUT_OF_MEMORY);
        JpegDecodeLimits limits;
        limits.cancel = stop;
        limits.maxMemory = static_cast<long>(std::min<qint64>(left, LONG_MAX));
        result.rendered = picture.Render(*result.rect, device, limits);
    } catch (...) {
        result.drawError = std::current_exception();
    }
    return result;
}

ThumbnailDecoder::ThumbnailDecoder(int tileWidth, int tileHeight)
    : FTileWidth(tileWidth),
      FTileHeight(tileHeight),
      FRatio(TileOnDevice(tileWidth, tileHeight).ratio)
{
    const int workers = std::max(1, QThread::idealThreadCount());
    FPool.setMaxThreadCount(workers);
    FCapacity = lookAhead(workers, tileWidth, tileHeight);
    FDecodeAllowance =
        static_cast<long>(std::min<qint64>(GalleryMemoryBound() / workers, LONG_MAX));
}

ThumbnailDecoder::~ThumbnailDecoder()
{
    Stop();
    FPool.waitForDone();
}

void ThumbnailDecoder::Stop()
{
    FStop = true;
    FPool.clear();
}

void ThumbnailDecoder::Request(std::optional<std::string> posixPath)
{
    auto promise = std::make_shared<std::promise<DecodedThumbnail>>();
    FPending.push_back(promise->get_future());
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    FPool.start([promise, path = std::move(posixPath), width = FTileWidth, height = FTileHeight,
                 ratio = FRatio, allowance = FDecodeAllowance, stop = &FStop, dispatcher] {
        lowerThisThreadsPriority();
        try {
            promise->set_value(DecodeThumbnail(path, width, height, allowance, stop, ratio));
        } catch (...) {
            promise->set_exception(std::current_exception());
        }
        if (dispatcher) dispatcher->wakeUp();
    });
}

bool ThumbnailDecoder::NextReady() const
{
    return FPending.front().wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}

DecodedThumbnail ThumbnailDecoder::TakeNext()
{
    std::future<DecodedThumbnail> next = std::move(FPending.front());
    FPending.pop_front();
    return next.get();
}
