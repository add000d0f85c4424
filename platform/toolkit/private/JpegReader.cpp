#include "platform/toolkit/private/JpegReader.h"

#include "platform/toolkit/private/ExifOrientation.h"

#include <jerror.h>

#include <QSysInfo>

#include <algorithm>
#include <array>

namespace {

// Pixels a picture may claim before decoding it fails at once. A picture's
// header may claim up to 65535 x 65535 pixels (2^32), and a small crafted
// file that does keeps the decoder busy for many seconds even at 1/8 scale.
// The largest camera sensors take a few hundred million pixels, and the
// widest panoramas saved as one picture (65535 pixels wide) about as many;
// 2^29 leaves room above both.
constexpr qint64 kMaxPicturePixels = qint64{1} << 29;

// Converts one row of CMYK samples, in place, to RGB32. Adobe's writers store
// the inks inverted (255 = no ink), and say so with their marker.
void cmykRowToRgb(QRgb* row, JDIMENSION width, bool inverted)
{
    const auto* in = reinterpret_cast<const JSAMPLE*>(row);
    for (JDIMENSION x = 0; x < width; ++x, in += 4) {
        int c = in[0], m = in[1], y = in[2], k = in[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        // The four samples are read before the pixel that holds them is written.
        row[x] = qRgb((c * k + 127) / 255, (m * k + 127) / 255, (y * k + 127) / 255);
    }
}

}  // namespace

JpegReader::JpegReader(const std::vector<unsigned char>& data, const JpegDecodeLimits& limits)
    : FSession(new JpegSession{})
{
    JpegSession* s = FSession.get();
    const bool created = jpegSessionCreate(s, data.data(), data.size());
    FMaxMemory = limits.maxMemory;
    s->cancel = limits.cancel;
    if (!created || !jpegSessionReadHeader(s)) Fail();
}

JpegReader::~JpegReader() = default;

void JpegReader::SessionDeleter::operator()(JpegSession* session) const
{
    jpegSessionDestroy(session);
    delete session;
}

void JpegReader::Fail() const
{
    if (FSession->cancelled) throw EJPEGStopped();
    throw EJPEG(FSession->errorCode);
}

int JpegReader::Orientation() const
{
    return ExifOrientation(FSession->cinfo.marker_list);
}

void JpegReader::ScaleForResampling(qint64 width, qint64 height)
{
    JpegSession* s = FSession.get();
    const jpeg_decompress_struct& cinfo = s->cinfo;
    // An eighth (each block's mean), a half or the whole picture. The other
    // scales shrink each block by itself with a short filter that folds
    // fine detail back into the picture (a quarter loses up to 12 dB on it),
    // and no later filter can take that out.
    for (const int scale : {1, 4, 8}) {
        if (!jpegSessionScale(s, scale)) Fail();
        if (qint64{cinfo.output_width} >= width * kResampleHeadroom &&
            qint64{cinfo.output_height} >= height * kResampleHeadroom)
            break;
    }
    SetOutput();
}

void JpegReader::Scale(qint64 minWidth, qint64 minHeight)
{
    JpegSession* s = FSession.get();
    jpeg_decompress_struct& cinfo = s->cinfo;
    for (int scale = 1; scale <= 8; ++scale) {
        if (!jpegSessionScale(s, scale)) Fail();
        if (qint64{cinfo.output_width} >= minWidth && qint64{cinfo.output_height} >= minHeight)
            break;
    }
    SetOutput();
}

void JpegReader::SetOutput()
{
    jpeg_decompress_struct& cinfo = FSession->cinfo;
    FCmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    // Byte order B, G, R, A is RGB32 on a little-endian machine.
    cinfo.out_color_space =
        FCmyk ? JCS_CMYK
              : (QSysInfo::ByteOrder == QSysInfo::LittleEndian ? JCS_EXT_BGRA : JCS_EXT_ARGB);
    // Colour stored at half the size is interpolated, not repeated, where
    // the DCT scaling leaves it smaller than the brightness.
    cinfo.do_fancy_upsampling = TRUE;
    cinfo.do_block_smoothing = FALSE;
}

void JpegReader::Start(qint64 reservedBytes)
{
    JpegSession* s = FSession.get();
    if (qint64{ImageWidth()} * ImageHeight() > kMaxPicturePixels) throw EJPEG(JERR_IMAGE_TOO_BIG);
    if (FMaxMemory > 0) {
        const qint64 left = qint64{FMaxMemory} - reservedBytes;
        if (left <= 0) throw EJPEG(JERR_OUT_OF_MEMORY);
        // Never more than libjpeg's own default bound.
        s->cinfo.mem->max_memory_to_use =
            static_cast<long>(std::min<qint64>(left, s->cinfo.mem->max_memory_to_use));
    }
    if (!jpegSessionStart(s)) Fail();
    FInverted = s->cinfo.saw_Adobe_marker;
}

int JpegReader::ReadRows(QRgb* const* rows, int count)
{
    JpegSession* s = FSession.get();
    jpeg_decompress_struct& cinfo = s->cinfo;
    count = std::min(count, kMaxRows);
    std::array<JSAMPROW, kMaxRows> samples{};
    for (int i = 0; i < count; ++i)
        samples[static_cast<size_t>(i)] = reinterpret_cast<JSAMPROW>(rows[i]);
    int done = 0;
    while (done < count && cinfo.output_scanline < cinfo.output_height) {
        JDIMENSION read = 0;
        if (!jpegSessionReadLines(s, samples.data() + done, static_cast<JDIMENSION>(count - done),
                                  &read))
            Fail();
        if (read == 0) break;
        if (FCmyk)
            for (JDIMENSION i = 0; i < read; ++i)
                cmykRowToRgb(rows[done + static_cast<int>(i)], cinfo.output_width, FInverted);
        done += static_cast<int>(read);
    }
    return done;
}

void JpegReader::Finish()
{
    if (!jpegSessionFinish(FSession.get())) Fail();
}
