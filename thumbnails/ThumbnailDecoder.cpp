#include "thumbnails/ThumbnailDecoder.h"

#include "platform/toolkit/Jpeg.h"
#include "thumbnails/GalleryMemory.h"
#include "thumbnails/TileFit.h"

#include <jerror.h>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

int lookAhead(int workers, int tileWidth, int tileHeight)
{
    const qint64 perTile = std::max<qint64>(1, TileBytes(tileWidth, tileHeight));
    return static_cast<int>(std::clamp<qint64>(kLookAheadBytes / perTile, 1, qint64{2} * workers));
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
        // A file larger than the whole allowance is not read past its
        // header: its decode would fail for want of memory anyway.
        JpegLoadLimits load;
        load.cancel = stop;
        load.maxBytes = allowance;
        picture.LoadFromFile(*posixPath, load);
    } catch (const std::exception&) {
        result.loadFailed = true;
    }
    result.rect = FitPictureInTile(static_cast<float>(picture.Width()),
                                   static_cast<float>(picture.Height()), tileWidth, tileHeight);
    if (!result.rect) return result;
    result.rect = TileRectOnDevice(*result.rect, ratio);
    try {
        if (!picture.Whole()) throw EJPEG(JERR_OUT_OF_MEMORY);
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

ThumbnailDecoder::ThumbnailDecoder(int tileWidth, int tileHeight) : FJobs(WorkerGroup::Create())
{
    SetTile(tileWidth, tileHeight);
}

void ThumbnailDecoder::SetTile(int tileWidth, int tileHeight)
{
    FTileWidth = tileWidth;
    FTileHeight = tileHeight;
    FRatio = TileOnDevice(tileWidth, tileHeight).ratio;
    const int workers = WorkerGroup::Workers();
    FCapacity = lookAhead(workers, tileWidth, tileHeight);
    FDecodeAllowance =
        static_cast<long>(std::min<qint64>(GalleryMemoryBound() / workers, LONG_MAX));
}

ThumbnailDecoder::~ThumbnailDecoder()
{
    Stop();
}

void ThumbnailDecoder::Stop()
{
    // A request not begun is dropped with its job, and a decode under way
    // stops at its next row; either leaves its result broken.
    FJobs->Stop();
}

void ThumbnailDecoder::Request(std::optional<std::string> posixPath)
{
    auto promise = std::make_shared<std::promise<DecodedThumbnail>>();
    FPending.push_back({posixPath, promise->get_future()});
    FJobs->Post([promise, path = std::move(posixPath), width = FTileWidth, height = FTileHeight,
                 ratio = FRatio, allowance = FDecodeAllowance](WorkerGroup& group) {
        DecodedThumbnail result;
        std::exception_ptr failure;
        try {
            result = DecodeThumbnail(path, width, height, allowance, group.StopFlag(), ratio);
        } catch (...) {
            failure = std::current_exception();
        }
        group.Deliver([&] {
            if (failure)
                promise->set_exception(failure);
            else
                promise->set_value(std::move(result));
        });
    });
}

void ThumbnailDecoder::Retarget(int tileWidth, int tileHeight, std::optional<std::string> posixPath)
{
    // The old group's work is for the old size: dropped, and its results
    // never delivered. A new group takes the files again.
    FJobs->Stop();
    FJobs = WorkerGroup::Create();
    SetTile(tileWidth, tileHeight);
    std::deque<Asked> pending = std::move(FPending);
    FPending.clear();
    Request(std::move(posixPath));
    for (Asked& file : pending) Request(std::move(file.path));
}

bool ThumbnailDecoder::NextReady() const
{
    return FPending.front().result.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}

DecodedThumbnail ThumbnailDecoder::TakeNext()
{
    std::future<DecodedThumbnail> next = std::move(FPending.front().result);
    FPending.pop_front();
    return next.get();
}
