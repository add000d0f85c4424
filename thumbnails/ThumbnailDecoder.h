#pragma once
// Loads and decodes the pictures of a gallery scan ahead of it, on the
// gallery's workers (GalleryWorkers.h) at a lower priority than the
// user-interface thread, handing the results back in the order they were
// asked for.
//
// Memory: the decodes in flight share the gallery's decode bound
// (GalleryMemory.h) evenly, each holding its file's bytes, the part of the
// tile it makes and one band of decoded rows; the results waiting to be
// taken hold a tile each, at most kLookAheadBytes of them (or one tile, for
// tiles larger than that), and the result being drawn one more: the margin
// the gallery may take above its two bounds. A file larger than its
// decode's share is not read past its header.

#include "platform/toolkit/Graphics.h"
#include "thumbnails/GalleryWorkers.h"

#include <atomic>
#include <deque>
#include <exception>
#include <future>
#include <optional>
#include <string>

// Results waiting to be taken hold a rendered tile each; past this many bytes
// of them the look-ahead shrinks, down to one file, for very large tiles.
constexpr qint64 kLookAheadBytes = qint64{64} << 20;

// What the scan needs of one file, made away from the user-interface thread.
struct DecodedThumbnail {
    bool loadFailed = false;
    int tileWidth = 0;  // the tile size rendered for, in device pixels
    int tileHeight = 0;
    std::optional<TRect> rect;     // where the picture goes, if anywhere
    QImage rendered;               // for TJPEGImage::PaintRendered
    std::exception_ptr drawError;  // raised by decoding, if it failed
};

// What a worker does with one file: reads it, then decodes and resamples it
// for its place on a tile of tileWidth x tileHeight logical pixels, drawn at
// ratio device pixels each (the rectangle and size in the result are in
// device pixels), holding at most allowance bytes; it stops early once *stop
// turns true. Touches nothing but its arguments. A file that cannot be loaded
// (none: no file) gives loadFailed; a decoding failure is kept in drawError.
DecodedThumbnail DecodeThumbnail(const std::optional<std::string>& posixPath, int tileWidth,
                                 int tileHeight, long allowance, const std::atomic<bool>* stop,
                                 qreal ratio = 1.0);

class ThumbnailDecoder {
public:
    explicit ThumbnailDecoder(int tileWidth, int tileHeight);
    // Stops, without waiting for any decode or read to finish.
    ~ThumbnailDecoder();
    ThumbnailDecoder(const ThumbnailDecoder&) = delete;
    ThumbnailDecoder& operator=(const ThumbnailDecoder&) = delete;

    // Drops the requests not begun and stops the decodes under way, for a
    // scan that will take nothing more (it was superseded). Their results
    // are broken promises: TakeNext raises std::future_error.
    void Stop();

    // How many files may be asked for before the first is taken.
    int Capacity() const { return FCapacity; }
    int Pending() const { return static_cast<int>(FPending.size()); }
    // Queues the file at posixPath for loading and decoding; none stands for
    // a path that names no file, which fails to load.
    void Request(std::optional<std::string> posixPath);
    // Whether the oldest request's result is there. A result that arrives
    // wakes the user-interface thread's event loop, so the scan can wait for
    // it there (TApplication::HandleMessage) without polling.
    bool NextReady() const;
    // The oldest request's result; waits for it unless NextReady().
    DecodedThumbnail TakeNext();
    // Makes tiles of tileWidth x tileHeight from now on (the tile size or the
    // screen's ratio changed under the scan): the decodes under way are
    // dropped, and the file at posixPath (whose result came too soon) and
    // those still pending are asked for again, in their order.
    void Retarget(int tileWidth, int tileHeight, std::optional<std::string> posixPath);

private:
    void SetTile(int tileWidth, int tileHeight);

    std::shared_ptr<WorkerGroup> FJobs;
    // A file asked for and its result to come.
    struct Asked {
        std::optional<std::string> path;
        std::future<DecodedThumbnail> result;
    };
    std::deque<Asked> FPending;
    int FTileWidth = 0;
    int FTileHeight = 0;
    qreal FRatio = 1.0;  // device pixels per logical pixel of the tiles
    int FCapacity = 1;
    long FDecodeAllowance = 0;  // bytes each decode may hold
};
