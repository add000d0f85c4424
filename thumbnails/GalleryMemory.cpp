#include "thumbnails/GalleryMemory.h"

#include "platform/toolkit/Bitmap.h"
#include "platform/toolkit/Forms.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <string>

#include <unistd.h>

namespace {

qint64 gPhysicalForTesting = 0;
qreal gRatioForTesting = 0;

// The memory limit of this process's control group (version 2), or 0.
qint64 controlGroupLimit()
{
    std::ifstream groups("/proc/self/cgroup");
    std::string line;
    while (std::getline(groups, line)) {
        if (line.rfind("0::", 0) != 0) continue;
        std::ifstream limit("/sys/fs/cgroup" + line.substr(3) + "/memory.max");
        long long bytes = 0;
        if (limit >> bytes) return bytes;  // "max" reads as nothing
    }
    return 0;
}

qint64 physicalMemory()
{
    if (gPhysicalForTesting > 0) return gPhysicalForTesting;
    static const qint64 machine = [] {
        const long pages = sysconf(_SC_PHYS_PAGES);
        const long pageSize = sysconf(_SC_PAGESIZE);
        qint64 bytes = pages > 0 && pageSize > 0 ? qint64{pages} * pageSize : qint64{1} << 30;
        const qint64 group = controlGroupLimit();
        if (group > 0 && group < bytes) bytes = group;
        return bytes;
    }();
    return machine;
}

AnsiString megabytes(qint64 bytes)
{
    return Format("%lld MB", static_cast<long long>((bytes + (1 << 19)) >> 20));
}

}  // namespace

qint64 GalleryMemoryBound()
{
    return physicalMemory() / 4;
}

void SetPhysicalMemoryForTesting(qint64 bytes)
{
    gPhysicalForTesting = bytes;
}

TileDevice TileOnDevice(int width, int height)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    qreal ratio = gRatioForTesting > 0 ? gRatioForTesting : Screen->DevicePixelRatio();
    // Never more than a bitmap may have, nor fewer than the logical pixels.
    const double longer = std::max({width, height, 1});
    const double area = std::max(double(width) * height, 1.0);
    ratio = std::min(
        {ratio, TBitmap::kMaxSide / longer, std::sqrt(double(TBitmap::kMaxPixels) / area)});
    ratio = std::max<qreal>(ratio, 1.0);
    return {static_cast<int>(std::lround(width * ratio)),
            static_cast<int>(std::lround(height * ratio)), ratio};
}

void SetDevicePixelRatioForTesting(qreal ratio)
{
    gRatioForTesting = ratio;
}

qint64 TileBytes(int width, int height)
{
    const TileDevice device = TileOnDevice(width, height);
    return qint64{4} * device.width * device.height;
}

bool GalleryFits(qint64 tiles, int width, int height)
{
    const qint64 tile = TileBytes(width, height);
    return tile == 0 || tiles <= GalleryMemoryBound() / tile;
}

AnsiString GalleryTooLargeMessage(qint64 tiles, int width, int height)
{
    return Format(
        "A gallery of %lld tiles of %d x %d pixels would need %s of memory; it may use %s.",
        static_cast<long long>(tiles), width, height,
        megabytes(tiles * TileBytes(width, height)).c_str(),
        megabytes(GalleryMemoryBound()).c_str());
}

AnsiString GalleryStopsMessage(qint64 kept, int width, int height)
{
    return Format(
        "The gallery stops after %lld tiles: tiles of %d x %d pixels may take at most %s "
        "of memory.",
        static_cast<long long>(kept), width, height, megabytes(GalleryMemoryBound()).c_str());
}
