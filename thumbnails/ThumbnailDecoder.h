#pragma once
// Loads and decodes the pictures of a gallery scan ahead of it, on a few
// worker threads, handing the results back in the order they were asked for.

#include "platform/toolkit/Graphics.h"
#include "platform/toolkit/Jpeg.h"

#include <QThreadPool>

#include <chrono>
#include <deque>
#include <exception>
#include <future>
#include <memory>
#include <optional>

// What the scan needs of one file, made away from the user-interface thread.
struct DecodedThumbnail {
    std::unique_ptr<TJPEGImage> picture;  // empty when loading failed
    bool loadFailed = false;
    int tileWidth = 0;  // the tile size rendered for
    int tileHeight = 0;
    std::optional<TRect> rect;     // where the picture goes, if anywhere
    QImage rendered;               // for TJPEGImage::PaintRendered
    std::exception_ptr drawError;  // raised by decoding, if it failed
};

// Work not yet taken is dropped, and running work waited for, on destruction;
// so a scan that ends early, by error or by being superseded, leaves nothing
// behind.
class ThumbnailDecoder {
public:
    explicit ThumbnailDecoder(int tileWidth, int tileHeight);
    ~ThumbnailDecoder();
    ThumbnailDecoder(const ThumbnailDecoder&) = delete;
    ThumbnailDecoder& operator=(const ThumbnailDecoder&) = delete;

    // How many files may be asked for before the first is taken.
    int Capacity() const { return FCapacity; }
    int Pending() const { return static_cast<int>(FPending.size()); }
    // Queues fileName (a namespace path) for loading and decoding.
    void Request(const AnsiString& fileName);
    // Whether the oldest request's result is ready, waiting up to wait for it.
    bool NextReady(std::chrono::milliseconds wait) const;
    // Waits for the oldest request and hands back its result.
    DecodedThumbnail TakeNext();

private:
    QThreadPool FPool;
    std::deque<std::future<DecodedThumbnail>> FPending;
    int FTileWidth;
    int FTileHeight;
    int FCapacity;
};
