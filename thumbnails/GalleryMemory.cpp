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

// The smallest limit among the files named file in the control group
// folder of group (below hierarchy) and in its ancestors: a limit on a parent
// holds for its children too, and inside a container only the folders from
// the container's own group down may be there.
qint64 smallestLimit(const std::string& hierarchy, std::string group, const char* file)
{
    qint64 smallest = 0;
    for (;;) {
        std::ifstream limit(hierarchy + (group == "/" ? "" : group) + "/" + file);
        long long bytes = 0;
        if (limit >> bytes && bytes > 0 && (smallest == 0 || bytes < smallest))
            smallest = bytes;  // "max" reads as nothing
        if (group.empty() || group == "/") return smallest;
        const size_t cut = group.find_last_of('/');
        group = cut == 0 || cut == std::string::npos ? "/" : group.substr(0, cut);
    }
}

qint64 physicalMemory()
{
    if (gPhysicalForTesting > 0) return gPhysicalForTesting;
    static const qint64 machine = [] {
        const long pages = sysconf(_SC_PHYS_PAGES);
        const long pageSize = sysconf(_SC_PAGESIZE);
        qint64 bytes = pages > 0 && pageSize > 0 ? qint64{pages} * pageSize : qint64{1} << 30;
        const qint64 group = ControlGroupMemoryLimit("");
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

qint64 ControlGroupMemoryLimit(const std::string& root)
{
    qint64 smallest = 0;
    std::ifstream groups(root + "/proc/self/cgroup");
    std::string line;
    while (std::getline(groups, line)) {
        // hierarchy-id:controllers:path; version 2 has id 0 and no
        // controllers, version 1 names "memory" among them.
        const size_t first = line.find(':');
        const size_t second = first == std::string::npos ? first : line.find(':', first + 1);
        if (second == std::string::npos) continue;
        const std::string controllers = line.substr(first + 1, second - first - 1);
        const std::string group = line.substr(second + 1);
        qint64 limit = 0;
        if (line.rfind("0::", 0) == 0) {
            limit = smallestLimit(root + "/sys/fs/cgroup", group, "memory.max");
        } else if (("," + controllers + ",").find(",memory,") != std::string::npos) {
            limit = smallestLimit(root + "/sys/fs/cgroup/" + controllers, group,
                                  "memory.limit_in_bytes");
            if (limit == 0 && controllers != "memory")
                limit =
                    smallestLimit(root + "/sys/fs/cgroup/memory", group, "memory.limit_in_bytes");
        }
        if (limit > 0 && (smallest == 0 || limit < smallest)) smallest = limit;
    }
    return smallest;
}

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
