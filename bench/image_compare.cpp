// PSNR and SSIM of an image against a reference of the same size, over the
// red, green and blue channels, for bench/thumbnail_quality.sh. PSNR is
// 10 log10(255^2 / mean squared error); SSIM is the mean over the channels
// and every 11 x 11 Gaussian window (sigma 1.5) that lies inside the images,
// with the usual constants (0.01 * 255)^2 and (0.03 * 255)^2.
//
// Usage: image_compare REFERENCE IMAGE   prints "PSNR SSIM"

#include <QImage>

#include <cmath>
#include <cstdio>
#include <vector>

namespace {

double ssimChannel(const QImage& a, const QImage& b, int shift)
{
    constexpr int kRadius = 5;
    constexpr double kSigma = 1.5;
    constexpr double kC1 = (0.01 * 255) * (0.01 * 255);
    constexpr double kC2 = (0.03 * 255) * (0.03 * 255);
    std::vector<double> kernel(2 * kRadius + 1);
    double total = 0;
    for (int i = -kRadius; i <= kRadius; ++i)
        total += kernel[i + kRadius] = std::exp(-i * i / (2 * kSigma * kSigma));
    for (double& k : kernel) k /= total;
    const int w = a.width(), h = a.height();
    auto channel = [&](const QImage& image) {
        std::vector<double> values(size_t(w) * h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                values[size_t(y) * w + x] = double((image.pixel(x, y) >> shift) & 0xFF);
        return values;
    };
    const std::vector<double> first = channel(a), second = channel(b);
    auto value = [w](const std::vector<double>& values, int x, int y) {
        return values[size_t(y) * w + x];
    };
    double sum = 0;
    long windows = 0;
    for (int y = kRadius; y < h - kRadius; ++y)
        for (int x = kRadius; x < w - kRadius; ++x) {
            double ma = 0, mb = 0, aa = 0, bb = 0, ab = 0;
            for (int dy = -kRadius; dy <= kRadius; ++dy)
                for (int dx = -kRadius; dx <= kRadius; ++dx) {
                    const double k = kernel[dy + kRadius] * kernel[dx + kRadius];
                    const double va = value(first, x + dx, y + dy);
                    const double vb = value(second, x + dx, y + dy);
                    ma += k * va, mb += k * vb, aa += k * va * va, bb += k * vb * vb,
                        ab += k * va * vb;
                }
            const double va = aa - ma * ma, vb = bb - mb * mb, cov = ab - ma * mb;
            sum += ((2 * ma * mb + kC1) * (2 * cov + kC2)) /
                   ((ma * ma + mb * mb + kC1) * (va + vb + kC2));
            ++windows;
        }
    return windows ? sum / double(windows) : 1.0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: image_compare REFERENCE IMAGE\n");
        return 2;
    }
    const QImage a = QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_RGB32);
    const QImage b = QImage(QString::fromLocal8Bit(argv[2])).convertToFormat(QImage::Format_RGB32);
    if (a.isNull() || b.isNull() || a.size() != b.size()) {
        std::fprintf(stderr, "cannot compare %s with %s\n", argv[1], argv[2]);
        return 1;
    }
    double squares = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            for (int shift : {0, 8, 16}) {
                const double d = double((a.pixel(x, y) >> shift) & 0xFF) -
                                 double((b.pixel(x, y) >> shift) & 0xFF);
                squares += d * d;
            }
    const double mse = squares / (3.0 * a.width() * a.height());
    const double psnr = mse > 0 ? 10 * std::log10(255.0 * 255.0 / mse) : 99.0;
    const double ssim = (ssimChannel(a, b, 0) + ssimChannel(a, b, 8) + ssimChannel(a, b, 16)) / 3.0;
    std::printf("%.2f %.4f\n", psnr, ssim);
    return 0;
}
