// How sharp a drawn picture is: a picture full of fine detail, drawn as the
// gallery draws it, against a careful reference made here, a Lanczos-3
// resize of the full-size decode in double precision. A filter that smears
// detail (a tent after a decode that leaves no room to resample) misses the
// bound by several decibels.

#include "platform/toolkit/Bitmap.h"
#include "platform/toolkit/Jpeg.h"
#include "tests/jpeg/JpegTestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numbers>
#include <random>

namespace {

// Cells of random colours a dozen pixels wide, softened as a lens would
// soften them: detail down to about what the drawn size can hold, as in a
// photograph of grass or a facade.
QImage finePicture(int width, int height)
{
    std::mt19937 random(21);
    std::uniform_int_distribution<int> level(0, 255);
    constexpr int kCell = 12;
    const int across = width / kCell + 1;
    std::vector<QRgb> cells(size_t(across * (height / kCell + 1)));
    for (QRgb& cell : cells) cell = qRgb(level(random), level(random), level(random));
    // Three box blurs of radius 3 each way come close to a Gaussian.
    std::vector<double> planes[3];
    for (int c = 0; c < 3; ++c) {
        planes[c].resize(size_t(width) * height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const QRgb cell = cells[size_t((y / kCell) * across + x / kCell)];
                planes[c][size_t(y) * width + x] = (cell >> (8 * c)) & 0xFF;
            }
        for (int pass = 0; pass < 6; ++pass) {
            const bool rows = pass % 2 == 0;
            const std::vector<double> in = planes[c];
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x) {
                    double sum = 0;
                    for (int d = -3; d <= 3; ++d) {
                        const int sx = rows ? std::clamp(x + d, 0, width - 1) : x;
                        const int sy = rows ? y : std::clamp(y + d, 0, height - 1);
                        sum += in[size_t(sy) * width + sx];
                    }
                    planes[c][size_t(y) * width + x] = sum / 7;
                }
        }
    }
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const size_t i = size_t(y) * width + x;
            image.setPixel(
                x, y,
                qRgb(int(planes[2][i] + 0.5), int(planes[1][i] + 0.5), int(planes[0][i] + 0.5)));
        }
    return image;
}

double lanczos3(double x)
{
    x = std::abs(x);
    if (x < 1e-12) return 1;
    if (x >= 3) return 0;
    const double px = std::numbers::pi * x;
    return 3 * std::sin(px) * std::sin(px / 3) / (px * px);
}

// One axis: each target pixel's weights over the source pixels, the filter
// widened by the scale, normalised over the pixels inside the picture.
std::vector<std::vector<std::pair<int, double>>> weights(int source, int target)
{
    const double scale = double(source) / target;
    const double stretch = std::max(scale, 1.0);
    std::vector<std::vector<std::pair<int, double>>> all(static_cast<size_t>(target));
    for (int i = 0; i < target; ++i) {
        const double centre = (i + 0.5) * scale;
        double sum = 0;
        for (int j = 0; j < source; ++j) {
            const double w = lanczos3((j + 0.5 - centre) / stretch);
            if (w != 0) all[size_t(i)].emplace_back(j, w), sum += w;
        }
        for (auto& [j, w] : all[size_t(i)]) w /= sum;
    }
    return all;
}

QImage lanczosResize(const QImage& source, int width, int height)
{
    const auto across = weights(source.width(), width);
    const auto down = weights(source.height(), height);
    std::vector<double> rows(size_t(source.height()) * width * 3);
    for (int y = 0; y < source.height(); ++y)
        for (int x = 0; x < width; ++x)
            for (const auto& [j, w] : across[size_t(x)]) {
                const QRgb p = source.pixel(j, y);
                double* out = &rows[(size_t(y) * width + x) * 3];
                out[0] += w * qRed(p), out[1] += w * qGreen(p), out[2] += w * qBlue(p);
            }
    QImage result(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            double rgb[3] = {0, 0, 0};
            for (const auto& [j, w] : down[size_t(y)])
                for (int c = 0; c < 3; ++c) rgb[c] += w * rows[(size_t(j) * width + x) * 3 + c];
            auto channel = [](double v) { return std::clamp(int(std::lround(v)), 0, 255); };
            result.setPixel(x, y, qRgb(channel(rgb[0]), channel(rgb[1]), channel(rgb[2])));
        }
    return result;
}

}  // namespace

// Shrunk by about 8.4 (a decode at an eighth would land just above the
// rectangle) and by 3.4: the drawn picture stays within reach of the
// reference (a triangle filter after the smallest covering eighth gives 21
// and 37 dB here, this code 54 dB and an exact match).
TEST(JpegSharpness, DrawnPictureIsCloseToALanczosReference)
{
    const std::vector<unsigned char> bytes = encodeJpeg(finePicture(1680, 1050), {}, 98);
    TJPEGImage picture;
    picture.LoadFromBytes(bytes);
    const QImage full = picture.Decode(1680, 1050);
    struct Case {
        int width, height;
        double minimum;  // dB
    };
    for (const Case& c : {Case{199, 124, 40.0}, Case{500, 312, 40.0}}) {
        SCOPED_TRACE(c.width);
        TBitmap bitmap;
        bitmap.SetWidth(c.width);
        bitmap.SetHeight(c.height);
        bitmap.Canvas()->StretchDraw(Rect(0, 0, c.width, c.height), &picture);
        const double quality = psnr(bitmap.Image(), lanczosResize(full, c.width, c.height));
        EXPECT_GT(quality, c.minimum);
        RecordProperty(("psnr_" + std::to_string(c.width)).c_str(), std::to_string(quality));
    }
}
