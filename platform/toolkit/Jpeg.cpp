#include "platform/toolkit/Jpeg.h"

#include "platform/base/Drives.h"
#include "platform/toolkit/private/JpegSession.h"

#include <jerror.h>

#include <QPainter>
#include <climits>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Files past this size are refused before reading; no photograph comes near.
constexpr off_t kMaxFileBytes = off_t{1} << 30;
// Decoded images past this many pixels (512 MiB as RGB32) are refused.
constexpr qint64 kMaxOutputPixels = qint64{1} << 27;
// A stretched image up to this many times the canvas is resampled whole;
// beyond, only the visible part is interpolated.
constexpr qint64 kWholeResampleFactor = 4;

struct SessionDeleter {
    void operator()(JpegSession* session) const
    {
        jpegSessionDestroy(session);
        delete session;
    }
};
using SessionPtr = std::unique_ptr<JpegSession, SessionDeleter>;

SessionPtr openSession(const std::vector<unsigned char>& data)
{
    SessionPtr session(new JpegSession);
    if (!jpegSessionCreate(session.get(), data.data(), data.size()) ||
        !jpegSessionReadHeader(session.get()))
        throw EJPEG(session->errorCode);
    return session;
}

struct FileCloser {
    int fd;
    ~FileCloser() { ::close(fd); }
};

[[noreturn]] void raiseFileError(const AnsiString& fileName, int error)
{
    throw Exception(Format("Cannot open file \"%s\". %s", fileName.c_str(), std::strerror(error)));
}

std::vector<unsigned char> readWholeFile(const AnsiString& fileName)
{
    const auto posixPath = NamespaceToPosixPath(fileName);
    if (!posixPath) raiseFileError(fileName, ENOENT);
    const int fd = ::open(posixPath->c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) raiseFileError(fileName, errno);
    FileCloser closer{fd};
    struct stat info {};
    if (::fstat(fd, &info) != 0) raiseFileError(fileName, errno);
    if (S_ISDIR(info.st_mode)) raiseFileError(fileName, EISDIR);
    if (!S_ISREG(info.st_mode)) raiseFileError(fileName, EINVAL);
    if (info.st_size > kMaxFileBytes) raiseFileError(fileName, EFBIG);

    std::vector<unsigned char> data(static_cast<size_t>(info.st_size));
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::read(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) raiseFileError(fileName, errno);
        if (n == 0) break;  // the file shrank while we read it
        done += static_cast<size_t>(n);
    }
    data.resize(done);
    return data;
}

// Converts one row of CMYK samples to RGB32. Adobe's writers store the inks
// inverted (255 = no ink), and say so with their marker.
void cmykRowToRgb(const JSAMPLE* in, QRgb* out, JDIMENSION width, bool inverted)
{
    for (JDIMENSION x = 0; x < width; ++x, in += 4) {
        int c = in[0], m = in[1], y = in[2], k = in[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        out[x] = qRgb((c * k + 127) / 255, (m * k + 127) / 255, (y * k + 127) / 255);
    }
}

}  // namespace

EJPEG::EJPEG(int code) : Exception(Format("JPEG error #%d", code)), FCode(code) {}

void TJPEGImage::LoadFromFile(const AnsiString& fileName)
{
    LoadFromBytes(readWholeFile(fileName));
}

void TJPEGImage::LoadFromBytes(std::vector<unsigned char> data)
{
    int width = 0;
    int height = 0;
    if (!data.empty()) {
        const SessionPtr session = openSession(data);
        width = static_cast<int>(session->cinfo.image_width);
        height = static_cast<int>(session->cinfo.image_height);
    }
    FData = std::move(data);
    FWidth = width;
    FHeight = height;
}

QImage TJPEGImage::Decode(int minWidth, int minHeight) const
{
    if (FData.empty()) return {};
    const SessionPtr session = openSession(FData);
    JpegSession* s = session.get();
    jpeg_decompress_struct& cinfo = s->cinfo;

    for (int scale = 1; scale <= 8; ++scale) {
        if (!jpegSessionScale(s, scale)) throw EJPEG(s->errorCode);
        if (cinfo.output_width >= static_cast<JDIMENSION>(std::max(minWidth, 0)) &&
            cinfo.output_height >= static_cast<JDIMENSION>(std::max(minHeight, 0)))
            break;
    }
    if (qint64{cinfo.output_width} * cinfo.output_height > kMaxOutputPixels)
        throw EJPEG(JERR_IMAGE_TOO_BIG);

    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    // Byte order B, G, R, A is RGB32 on a little-endian machine.
    cinfo.out_color_space =
        cmyk ? JCS_CMYK
             : (QSysInfo::ByteOrder == QSysInfo::LittleEndian ? JCS_EXT_BGRA : JCS_EXT_ARGB);
    // Both only soften what the resampler smooths again anyway.
    cinfo.do_fancy_upsampling = FALSE;
    cinfo.do_block_smoothing = FALSE;
    if (!jpegSessionStart(s)) throw EJPEG(s->errorCode);

    QImage image(static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height),
                 QImage::Format_RGB32);
    if (image.isNull()) throw EJPEG(JERR_OUT_OF_MEMORY);
    std::vector<JSAMPLE> cmykRow(cmyk ? size_t{cinfo.output_width} * 4 : 0);
    const bool inverted = cinfo.saw_Adobe_marker;

    while (cinfo.output_scanline < cinfo.output_height) {
        const int y = static_cast<int>(cinfo.output_scanline);
        JSAMPROW row = cmyk ? cmykRow.data() : image.scanLine(y);
        JDIMENSION read = 0;
        if (!jpegSessionReadLines(s, &row, 1, &read)) throw EJPEG(s->errorCode);
        if (read == 0) break;
        if (cmyk)
            cmykRowToRgb(cmykRow.data(), reinterpret_cast<QRgb*>(image.scanLine(y)),
                         cinfo.output_width, inverted);
    }
    if (!jpegSessionFinish(s)) throw EJPEG(s->errorCode);
    return image;
}

void TJPEGImage::Draw(TCanvas* canvas, const TRect& rect)
{
    if (!canvas || !canvas->Target || canvas->Target->isNull()) return;
    PaintRendered(canvas, rect, Render(rect, canvas->Target->size()));
}

namespace {

bool drawable(const TRect& rect)
{
    const qint64 width = qint64{rect.Right} - rect.Left;
    const qint64 height = qint64{rect.Bottom} - rect.Top;
    return width > 0 && height > 0 && width <= INT_MAX && height <= INT_MAX;
}

}  // namespace

QImage TJPEGImage::Render(const TRect& rect, const QSize& canvasSize) const
{
    if (Empty() || !drawable(rect) || canvasSize.isEmpty()) return {};
    const int width = rect.Right - rect.Left;
    const int height = rect.Bottom - rect.Top;
    QImage decoded = Decode(width, height);
    const qint64 canvasArea = qint64{canvasSize.width()} * canvasSize.height();
    // Area-averaging resampler, no aliasing when shrinking; a huge
    // enlargement is left to the painter, which interpolates only what the
    // canvas shows.
    if (qint64{width} * height <= kWholeResampleFactor * canvasArea)
        return decoded.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return decoded;
}

void TJPEGImage::PaintRendered(TCanvas* canvas, const TRect& rect, const QImage& rendered)
{
    if (rendered.isNull() || !drawable(rect)) return;
    if (!canvas || !canvas->Target || canvas->Target->isNull()) return;
    QPainter painter(canvas->Target);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    const QSize size(rect.Right - rect.Left, rect.Bottom - rect.Top);
    if (rendered.size() == size) {
        painter.drawImage(QPoint(rect.Left, rect.Top), rendered);
    } else {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRectF(rect.Left, rect.Top, size.width(), size.height()), rendered);
    }
}
