#include "thumbnails/ThumbnailDecoder.h"

#include "platform/base/Drives.h"
#include "thumbnails/TileFit.h"

#include <QThread>

#include <algorithm>

namespace {

// Results waiting to be taken hold a rendered tile each; past this many bytes
// of them the look-ahead shrinks, down to one file, for very large tiles.
constexpr qint64 kLookAheadBytes = qint64{64} << 20;

int lookAhead(int workers, int tileWidth, int tileHeight)
{
    // A rendered picture can overhang its tile; reckon with twice its area.
    const qint64 perTile =
        std::max<qint64>(1, qint64{std::max(tileWidth, 1)} * std::max(tileHeight, 1) * 4 * 2);
    return static_cast<int>(std::clamp<qint64>(kLookAheadBytes / perTile, 1, 2 * workers));
}

// Runs on a worker: reads the file, then decodes and resamples it for its
// place on the tile. Touches nothing but its arguments.
DecodedThumbnail decode(const std::optional<std::string>& posixPath, int tileWidth, int tileHeight)
{
    DecodedThumbnail result;
    result.tileWidth = tileWidth;
    result.tileHeight = tileHeight;
    result.picture = std::make_unique<TJPEGImage>();
    try {
        if (!posixPath) throw Exception("No such file");
        result.picture->LoadFromFile(*posixPath);
    } catch (const std::exception&) {
        result.loadFailed = true;
    }
    result.rect =
        FitPictureInTile(static_cast<float>(result.picture->Width()),
                         static_cast<float>(result.picture->Height()), tileWidth, tileHeight);
    if (result.rect) {
        try {
            result.rendered = result.picture->Render(*result.rect, QSize(tileWidth, tileHeight));
        } catch (...) {
            result.drawError = std::current_exception();
        }
    }
    return result;
}

}  // namespace

ThumbnailDecoder::ThumbnailDecoder(int tileWidth, int tileHeight)
    : FTileWidth(tileWidth), FTileHeight(tileHeight)
{
    const int workers = std::max(1, QThread::idealThreadCount());
    FPool.setMaxThreadCount(workers);
    FCapacity = lookAhead(workers, tileWidth, tileHeight);
}

ThumbnailDecoder::~ThumbnailDecoder()
{
    FPool.clear();
    FPool.waitForDone();
}

void ThumbnailDecoder::Request(const AnsiString& fileName)
{
    // The drive map is the program's; resolve the path here, not on a worker.
    auto promise = std::make_shared<std::promise<DecodedThumbnail>>();
    FPending.push_back(promise->get_future());
    FPool.start(
        [promise, path = NamespaceToPosixPath(fileName), width = FTileWidth, height = FTileHeight] {
            try {
                promise->set_value(decode(path, width, height));
            } catch (...) {
                promise->set_exception(std::current_exception());
            }
        });
}

bool ThumbnailDecoder::NextReady(std::chrono::milliseconds wait) const
{
    return FPending.front().wait_for(wait) == std::future_status::ready;
}

DecodedThumbnail ThumbnailDecoder::TakeNext()
{
    std::future<DecodedThumbnail> next = std::move(FPending.front());
    FPending.pop_front();
    return next.get();
}
