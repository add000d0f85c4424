#include "platform/toolkit/Jpeg.h"

#include "platform/base/Drives.h"
#include "platform/base/FileSystemCalls.h"
#include "platform/toolkit/private/ExifOrientation.h"
#include "platform/toolkit/private/JpegReader.h"
#include "platform/toolkit/private/RowResampler.h"

#include <jerror.h>

#include <QPainter>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Files past this size are refused before reading; no photograph comes near.
constexpr off_t kMaxFileBytes = off_t{1} << 30;
// Whole decoded images past this many pixels (512 MiB as RGB32) are refused.
constexpr qint64 kMaxOutputPixels = qint64{1} << 27;

struct FileCloser {
    int fd;
    ~FileCloser() { ::close(fd); }
};

[[noreturn]] void raiseFileError(const AnsiString& fileName, int error)
{
    throw Exception(Format("Cannot open file \"%s\". %s", fileName.c_str(), std::strerror(error)));
}

// Only a regular file is read. Anything else may never deliver its data (a
// FIFO with no writer), deliver it for ever (/dev/zero) or do something on
// being opened (a terminal, a tape): it is refused from its status, and, in
// case it was put there since, opened without blocking and checked again.
void checkRegular(const AnsiString& fileName, const struct stat& info)
{
    if (S_ISDIR(info.st_mode)) raiseFileError(fileName, EISDIR);
    if (!S_ISREG(info.st_mode)) raiseFileError(fileName, EINVAL);
    if (info.st_size > kMaxFileBytes) raiseFileError(fileName, EFBIG);
}

// Bytes asked of the file at a time: a stop request is seen between two.
constexpr size_t kReadPiece = size_t{1} << 20;
// What is read of a file too large for its decode: enough for the markers
// before the first scan of any photograph, camera previews and colour
// profiles included.
constexpr size_t kHeaderBytes = size_t{1} << 20;

// Reads the file, in pieces, up to its end or (when the file is larger than
// limits.maxBytes) its first kHeaderBytes. *whole tells which.
std::vector<unsigned char> readFile(const AnsiString& fileName, const JpegLoadLimits& limits,
                                    bool* whole)
{
    const FileSystemCalls& calls = FileSystem();
    const auto posixPath = NamespaceToPosixPath(fileName);
    if (!posixPath) raiseFileError(fileName, ENOENT);
    struct stat info {};
    if (calls.fstatat(AT_FDCWD, posixPath->c_str(), &info, 0) != 0) raiseFileError(fileName, errno);
    checkRegular(fileName, info);
    const int fd = calls.open(posixPath->c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) raiseFileError(fileName, errno);
    FileCloser closer{fd};
    if (calls.fstatat(fd, "", &info, AT_EMPTY_PATH) != 0) raiseFileError(fileName, errno);
    checkRegular(fileName, info);

    auto size = static_cast<size_t>(info.st_size);
    *whole = limits.maxBytes <= 0 || info.st_size <= limits.maxBytes;
    if (!*whole) size = std::min(size, kHeaderBytes);
    std::vector<unsigned char> data(size);
    size_t done = 0;
    while (done < data.size()) {
        if (limits.cancel && limits.cancel->load(std::memory_order_relaxed)) throw EJPEGStopped();
        const ssize_t n = calls.read(fd, data.data() + done, std::min(kReadPiece, size - done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) raiseFileError(fileName, errno);
        if (n == 0) break;  // the file shrank while we read it
        done += static_cast<size_t>(n);
    }
    data.resize(done);
    return data;
}

bool drawable(const TRect& rect)
{
    const qint64 width = qint64{rect.Right} - rect.Left;
    const qint64 height = qint64{rect.Bottom} - rect.Top;
    return width > 0 && height > 0 && width <= INT_MAX && height <= INT_MAX;
}

// Where a rendered rectangle lands on a canvas: its part on the canvas.
QRect visiblePart(const TRect& rect, const QSize& canvasSize)
{
    const qint64 left = std::max<qint64>(rect.Left, 0);
    const qint64 top = std::max<qint64>(rect.Top, 0);
    const qint64 right = std::min<qint64>(rect.Right, canvasSize.width());
    const qint64 bottom = std::min<qint64>(rect.Bottom, canvasSize.height());
    if (right <= left || bottom <= top) return {};
    return QRect(static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                 static_cast<int>(bottom - top));
}

}  // namespace

EJPEG::EJPEG(int code) : Exception(Format("JPEG error #%d", code)), FCode(code) {}

EJPEGStopped::EJPEGStopped() : Exception("Decoding was stopped") {}

void TJPEGImage::LoadFromFile(const AnsiString& fileName)
{
    LoadFromFile(fileName, {});
}

void TJPEGImage::LoadFromFile(const AnsiString& fileName, const JpegLoadLimits& limits)
{
    bool whole = true;
    LoadFromBytes(readFile(fileName, limits, &whole));
    FWhole = whole;
}

void TJPEGImage::LoadFromBytes(std::vector<unsigned char> data)
{
    int width = 0;
    int height = 0;
    int orientation = 1;
    if (!data.empty()) {
        const JpegReader reader(data, {});
        orientation = reader.Orientation();
        const bool turns = OrientationTurns(orientation);
        width = turns ? reader.ImageHeight() : reader.ImageWidth();
        height = turns ? reader.ImageWidth() : reader.ImageHeight();
    }
    FData = std::move(data);
    FWhole = true;
    FWidth = width;
    FHeight = height;
    FOrientation = orientation;
}

QImage TJPEGImage::Decode(int minWidth, int minHeight) const
{
    if (FData.empty()) return {};
    JpegReader reader(FData, {});
    if (OrientationTurns(FOrientation)) std::swap(minWidth, minHeight);
    reader.Scale(minWidth, minHeight);
    if (qint64{reader.OutputWidth()} * reader.OutputHeight() > kMaxOutputPixels)
        throw EJPEG(JERR_IMAGE_TOO_BIG);
    reader.Start(0);
    QImage image(reader.OutputWidth(), reader.OutputHeight(), QImage::Format_RGB32);
    if (image.isNull()) throw EJPEG(JERR_OUT_OF_MEMORY);
    std::array<QRgb*, JpegReader::kMaxRows> rows{};
    for (int y = 0; y < image.height();) {
        const int band = std::min(JpegReader::kMaxRows, image.height() - y);
        for (int i = 0; i < band; ++i)
            rows[static_cast<size_t>(i)] = reinterpret_cast<QRgb*>(image.scanLine(y + i));
        const int read = reader.ReadRows(rows.data(), band);
        if (read == 0) break;
        y += read;
    }
    reader.Finish();
    return Orient(image, FOrientation);
}

void TJPEGImage::Draw(TCanvas* canvas, const TRect& rect)
{
    if (!canvas || !canvas->Target || canvas->Target->isNull()) return;
    PaintRendered(canvas, rect, Render(rect, canvas->Target->size()));
}

QImage TJPEGImage::Render(const TRect& rect, const QSize& canvasSize,
                          const JpegDecodeLimits& limits) const
{
    if (Empty() || !drawable(rect) || canvasSize.isEmpty()) return {};
    if (visiblePart(rect, canvasSize).isEmpty()) return {};
    // The picture is resampled as it is stored, into the rectangle turned
    // back to match, and the result turned the way the picture is seen.
    const StoredPlacement stored = PlaceStored(rect.Left, rect.Top, rect.Right - rect.Left,
                                               rect.Bottom - rect.Top, canvasSize, FOrientation);
    JpegReader reader(FData, limits);
    reader.ScaleForResampling(stored.width, stored.height);
    RowResampler resampler(reader.OutputWidth(), reader.OutputHeight(), stored.left, stored.top,
                           stored.width, stored.height, stored.canvas);
    // One band of decoded rows at a time; a turned result is copied once.
    const size_t bandPixels = static_cast<size_t>(reader.OutputWidth()) * JpegReader::kMaxRows;
    const qint64 turnedBytes = FOrientation > 1 ? resampler.Result().sizeInBytes() : 0;
    reader.Start(static_cast<qint64>(bandPixels * sizeof(QRgb)) + resampler.MemoryBytes() +
                 turnedBytes);
    std::vector<QRgb> band(bandPixels);
    std::array<QRgb*, JpegReader::kMaxRows> rows{};
    for (int i = 0; i < JpegReader::kMaxRows; ++i)
        rows[static_cast<size_t>(i)] = band.data() + static_cast<size_t>(i) * reader.OutputWidth();
    while (const int read = reader.ReadRows(rows.data(), JpegReader::kMaxRows))
        for (int i = 0; i < read; ++i) resampler.AddRow(rows[static_cast<size_t>(i)]);
    reader.Finish();
    return Orient(resampler.Result(), FOrientation);
}

void TJPEGImage::PaintRendered(TCanvas* canvas, const TRect& rect, const QImage& rendered)
{
    if (rendered.isNull() || !drawable(rect)) return;
    if (!canvas || !canvas->Target || canvas->Target->isNull()) return;
    const QRect visible = visiblePart(rect, canvas->Target->size());
    if (visible.size() != rendered.size()) return;
    QPainter painter(canvas->Target);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(visible.topLeft(), rendered);
}
