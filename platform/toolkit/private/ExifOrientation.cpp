#include "platform/toolkit/private/ExifOrientation.h"

#include <cstring>

namespace {

constexpr unsigned char kExifHeader[] = {'E', 'x', 'i', 'f', 0, 0};
constexpr unsigned kOrientationTag = 0x0112;
constexpr unsigned kShortType = 3;
constexpr std::size_t kEntryBytes = 12;

// Reads the TIFF structure's numbers in the byte order its header names.
class TiffReader {
public:
    TiffReader(const unsigned char* data, std::size_t size, bool bigEndian)
        : FData(data), FSize(size), FBigEndian(bigEndian)
    {
    }
    bool Has(std::size_t offset, std::size_t bytes) const
    {
        return offset <= FSize && bytes <= FSize - offset;
    }
    unsigned U16(std::size_t at) const
    {
        return FBigEndian ? (unsigned{FData[at]} << 8) | FData[at + 1]
                          : (unsigned{FData[at + 1]} << 8) | FData[at];
    }
    std::uint32_t U32(std::size_t at) const
    {
        const std::uint32_t high = U16(FBigEndian ? at : at + 2);
        const std::uint32_t low = U16(FBigEndian ? at + 2 : at);
        return (high << 16) | low;
    }

private:
    const unsigned char* FData;
    std::size_t FSize;
    bool FBigEndian;
};

}  // namespace

int ExifOrientationOfSegment(const unsigned char* data, std::size_t size)
{
    if (!data || size < sizeof kExifHeader || std::memcmp(data, kExifHeader, sizeof kExifHeader))
        return 0;
    const unsigned char* tiff = data + sizeof kExifHeader;
    const std::size_t tiffSize = size - sizeof kExifHeader;
    if (tiffSize < 8) return 0;
    bool bigEndian = false;
    if (std::memcmp(tiff, "MM", 2) == 0)
        bigEndian = true;
    else if (std::memcmp(tiff, "II", 2) != 0)
        return 0;
    const TiffReader reader(tiff, tiffSize, bigEndian);
    if (reader.U16(2) != 42) return 0;
    const std::size_t directory = reader.U32(4);
    if (!reader.Has(directory, 2)) return 0;
    const unsigned entries = reader.U16(directory);
    for (unsigned i = 0; i < entries; ++i) {
        const std::size_t entry = directory + 2 + std::size_t{i} * kEntryBytes;
        if (!reader.Has(entry, kEntryBytes)) return 0;
        if (reader.U16(entry) != kOrientationTag) continue;
        if (reader.U16(entry + 2) != kShortType || reader.U32(entry + 4) < 1) return 0;
        const unsigned value = reader.U16(entry + 8);
        return value >= 1 && value <= 8 ? static_cast<int>(value) : 0;
    }
    return 0;
}

int ExifOrientation(jpeg_saved_marker_ptr markers)
{
    for (jpeg_saved_marker_ptr m = markers; m; m = m->next) {
        if (m->marker != JPEG_APP0 + 1) continue;
        if (m->data_length < sizeof kExifHeader ||
            std::memcmp(m->data, kExifHeader, sizeof kExifHeader) != 0)
            continue;  // another APP1 segment, such as XMP
        const int orientation = ExifOrientationOfSegment(m->data, m->data_length);
        return orientation > 0 ? orientation : 1;
    }
    return 1;
}

StoredPlacement PlaceStored(qint64 left, qint64 top, qint64 width, qint64 height, QSize canvas,
                            int orientation)
{
    const qint64 canvasWidth = canvas.width();
    const qint64 canvasHeight = canvas.height();
    // Mirrored sides run from the canvas's far edge.
    const qint64 mirroredLeft = canvasWidth - (left + width);
    const qint64 mirroredTop = canvasHeight - (top + height);
    switch (orientation) {
    case 2: return {mirroredLeft, top, width, height, canvas};
    case 3: return {mirroredLeft, mirroredTop, width, height, canvas};
    case 4: return {left, mirroredTop, width, height, canvas};
    case 5: return {top, left, height, width, canvas.transposed()};
    case 6: return {top, mirroredLeft, height, width, canvas.transposed()};
    case 7: return {mirroredTop, mirroredLeft, height, width, canvas.transposed()};
    case 8: return {mirroredTop, left, height, width, canvas.transposed()};
    default: return {left, top, width, height, canvas};
    }
}

QImage Orient(const QImage& stored, int orientation)
{
    if (orientation < 2 || orientation > 8 || stored.isNull()) return stored;
    const int w = stored.width();
    const int h = stored.height();
    const bool turns = OrientationTurns(orientation);
    QImage seen(turns ? h : w, turns ? w : h, stored.format());
    if (seen.isNull()) throw std::bad_alloc();
    // Where the stored pixel (x, y) is seen.
    for (int y = 0; y < h; ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(stored.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            int seenX = x, seenY = y;
            switch (orientation) {
            case 2: seenX = w - 1 - x; break;
            case 3: seenX = w - 1 - x, seenY = h - 1 - y; break;
            case 4: seenY = h - 1 - y; break;
            case 5: seenX = y, seenY = x; break;
            case 6: seenX = h - 1 - y, seenY = x; break;
            case 7: seenX = h - 1 - y, seenY = w - 1 - x; break;
            default: seenX = y, seenY = w - 1 - x; break;  // 8
            }
            reinterpret_cast<QRgb*>(seen.scanLine(seenY))[seenX] = in[x];
        }
    }
    return seen;
}
