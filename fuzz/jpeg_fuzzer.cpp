// libFuzzer target: the bytes of one file through the gallery's JPEG path, as
// a worker of a scan handles them: written to a file, loaded from it, decoded
// and resampled for its place on a tile, then painted on the tile's bitmap as
// the scan paints it. The tile's shape (square, wide, tall) and its device
// pixel ratio follow the input's length, so every fit branch is reached; the
// picture's EXIF orientation turns it.

#include "platform/toolkit/Bitmap.h"
#include "platform/toolkit/Jpeg.h"
#include "thumbnails/ThumbnailDecoder.h"

#include <cstdint>
#include <cstdlib>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace {

// What one decode may hold: the gallery's share for one worker of a machine
// with 2 GiB and two cores (a quarter for decodes in flight, split in two),
// so that libFuzzer's memory limit stays out of reach of a legitimate decode.
constexpr long kAllowance = 256L << 20;

struct Tile {
    int width;
    int height;
    double ratio;  // device pixels per logical pixel
};
constexpr Tile kTiles[] = {{200, 200, 1.0}, {300, 200, 1.5}, {200, 500, 2.0}};

// One scratch file, rewritten for every input.
const std::string& scratchPath()
{
    static const std::string path = [] {
        const char* directory = std::getenv("TMPDIR");
        std::string pattern =
            std::string(directory && *directory ? directory : "/tmp") + "/quillet-fuzz-XXXXXX.jpg";
        const int fd = mkstemps(pattern.data(), 4);
        if (fd < 0) std::abort();
        close(fd);
        return pattern;
    }();
    return path;
}

void writeFile(const std::string& path, const uint8_t* data, size_t size)
{
    const int fd = open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) std::abort();
    for (size_t done = 0; done < size;) {
        const ssize_t n = write(fd, data + done, size - done);
        if (n <= 0) std::abort();
        done += static_cast<size_t>(n);
    }
    close(fd);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string& path = scratchPath();
    writeFile(path, data, size);
    const Tile tile = kTiles[size % std::size(kTiles)];
    const DecodedThumbnail decoded =
        DecodeThumbnail(path, tile.width, tile.height, kAllowance, nullptr, tile.ratio);
    TBitmap bitmap;
    bitmap.SetWidth(decoded.tileWidth);
    bitmap.SetHeight(decoded.tileHeight);
    if (decoded.rect && !decoded.drawError)
        TJPEGImage::PaintRendered(bitmap.Canvas(), *decoded.rect, decoded.rendered);
    return 0;
}
