#pragma once
// Shared by the JPEG tests: the test pictures and how two images compare.

#include <QFile>
#include <QImage>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>

inline const std::string kData = QUILLET_TEST_DATA "/jpeg/";

inline std::vector<unsigned char> readBytes(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = file.readAll();
    return {bytes.begin(), bytes.end()};
}

// Mean absolute difference per channel of two images of the same size.
inline double meanDifference(const QImage& a, const QImage& b)
{
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * a.width() * a.height());
}

// A segment to write after the frame's start: marker (JPEG_APP0 + n) and data.
struct JpegSegment {
    int marker;
    std::vector<unsigned char> data;
};

// image as a JPEG file of the given quality, colour sampled at full size,
// with segments written ahead of the frame.
inline std::vector<unsigned char> encodeJpeg(const QImage& image,
                                             const std::vector<JpegSegment>& segments = {},
                                             int quality = 95)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(rgb.width());
    cinfo.image_height = static_cast<JDIMENSION>(rgb.height());
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    for (int c = 0; c < cinfo.num_components; ++c)
        cinfo.comp_info[c].h_samp_factor = cinfo.comp_info[c].v_samp_factor = 1;
    jpeg_start_compress(&cinfo, TRUE);
    for (const JpegSegment& segment : segments)
        jpeg_write_marker(&cinfo, segment.marker, segment.data.data(),
                          static_cast<unsigned int>(segment.data.size()));
    while (cinfo.next_scanline < cinfo.image_height) {
        auto* row = const_cast<JSAMPLE*>(rgb.constScanLine(static_cast<int>(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::vector<unsigned char> bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

// PSNR of image against reference (same size), over red, green and blue.
inline double psnr(const QImage& image, const QImage& reference)
{
    double squares = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y), q = reference.pixel(x, y);
            for (const int d : {qRed(p) - qRed(q), qGreen(p) - qGreen(q), qBlue(p) - qBlue(q)})
                squares += double(d) * d;
        }
    const double mse = squares / (3.0 * image.width() * image.height());
    return mse > 0 ? 10 * std::log10(255.0 * 255.0 / mse) : 99.0;
}

inline void put16(std::vector<unsigned char>& out, unsigned value, bool bigEndian)
{
    const unsigned char high = static_cast<unsigned char>(value >> 8);
    const unsigned char low = static_cast<unsigned char>(value & 0xFF);
    out.push_back(bigEndian ? high : low);
    out.push_back(bigEndian ? low : high);
}

inline void put32(std::vector<unsigned char>& out, unsigned value, bool bigEndian)
{
    put16(out, bigEndian ? value >> 16 : value & 0xFFFF, bigEndian);
    put16(out, bigEndian ? value & 0xFFFF : value >> 16, bigEndian);
}

// An EXIF block whose first directory holds the camera's make, then the
// orientation.
inline std::vector<unsigned char> exifBlock(unsigned orientation, bool bigEndian = false,
                                            unsigned type = 3)
{
    std::vector<unsigned char> out{'E', 'x', 'i', 'f', 0, 0};
    out.push_back(bigEndian ? 'M' : 'I');
    out.push_back(bigEndian ? 'M' : 'I');
    put16(out, 42, bigEndian);
    put32(out, 8, bigEndian);
    put16(out, 2, bigEndian);
    put16(out, 0x010F, bigEndian);  // Make, four characters in the entry
    put16(out, 2, bigEndian);
    put32(out, 4, bigEndian);
    out.insert(out.end(), {'C', 'a', 'm', 0});
    put16(out, 0x0112, bigEndian);  // Orientation
    put16(out, type, bigEndian);
    put32(out, 1, bigEndian);
    put16(out, orientation, bigEndian);
    put16(out, 0, bigEndian);
    put32(out, 0, bigEndian);  // no next directory
    return out;
}
