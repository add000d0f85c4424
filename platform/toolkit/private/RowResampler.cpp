#include "platform/toolkit/private/RowResampler.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr int kChannels = 3;
constexpr double kLobes = 3.0;

// The Lanczos-3 kernel at x source pixels (of the stretched filter) away.
double lanczos(double x)
{
    x = std::abs(x);
    if (x < 1e-9) return 1.0;
    if (x >= kLobes) return 0.0;
    const double px = std::numbers::pi * x;
    return kLobes * std::sin(px) * std::sin(px / kLobes) / (px * px);
}

// Where [from, from + length) meets [0, limit), as a start and a length.
std::pair<int, int> overlap(qint64 from, qint64 length, int limit)
{
    const qint64 start = std::clamp<qint64>(from, 0, limit);
    const qint64 end = std::clamp<qint64>(from + length, 0, limit);
    return {static_cast<int>(start), static_cast<int>(std::max<qint64>(0, end - start))};
}

QRgb toPixel(const float* rgb)
{
    auto channel = [](float v) { return std::clamp(static_cast<int>(v + 0.5f), 0, 255); };
    return qRgb(channel(rgb[0]), channel(rgb[1]), channel(rgb[2]));
}

}  // namespace

RowResampler::RowResampler(int sourceWidth, int sourceHeight, qint64 left, qint64 top, qint64 width,
                           qint64 height, QSize canvasSize)
    : FSourceHeight(sourceHeight)
{
    const auto [x, visibleWidth] = overlap(left, width, canvasSize.width());
    const auto [y, visibleHeight] = overlap(top, height, canvasSize.height());
    if (visibleWidth == 0 || visibleHeight == 0 || sourceWidth < 1 || sourceHeight < 1) return;
    FVisible = QRect(x, y, visibleWidth, visibleHeight);
    FResult = QImage(visibleWidth, visibleHeight, QImage::Format_RGB32);
    if (FResult.isNull()) throw std::bad_alloc();
    FResult.fill(Qt::black);
    FColumns = MakeTaps(sourceWidth, width, x - left, visibleWidth);
    FRows = MakeTaps(sourceHeight, height, y - top, visibleHeight);
    FRing.assign(static_cast<size_t>(FRows.stride) * visibleWidth * kChannels, 0.0f);
    FSpanFirst = sourceWidth;
    for (size_t x = 0; x < FColumns.first.size(); ++x) {
        FSpanFirst = std::min(FSpanFirst, FColumns.first[x]);
        FSpanEnd = std::max(FSpanEnd, FColumns.first[x] + FColumns.count[x]);
    }
    FPixels.assign(static_cast<size_t>(FSpanEnd - FSpanFirst), Lanes{});
    FSum.assign(static_cast<size_t>(visibleWidth) * kChannels, 0.0f);
}

RowResampler::Taps RowResampler::MakeTaps(int sourceLength, qint64 targetLength, qint64 from,
                                          int count)
{
    const double scale = double(sourceLength) / double(targetLength);
    // Shrinking widens the filter by the scale, so that it reaches as far
    // in target pixels whatever the scale; enlarging interpolates.
    const double stretch = std::max(scale, 1.0);
    const double support = kLobes * stretch;
    Taps taps;
    taps.stride = static_cast<int>(std::ceil(2 * support)) + 2;
    taps.first.resize(static_cast<size_t>(count));
    taps.count.resize(static_cast<size_t>(count));
    taps.weights.assign(static_cast<size_t>(count) * taps.stride, 0.0f);
    std::vector<double> exact(static_cast<size_t>(taps.stride));
    for (int i = 0; i < count; ++i) {
        const double centre = (double(from + i) + 0.5) * scale;
        const int lo = std::max(0, static_cast<int>(std::floor(centre - support)));
        const int hi = std::min({sourceLength - 1, static_cast<int>(std::ceil(centre + support)),
                                 lo + taps.stride - 1});
        double sum = 0;
        for (int j = lo; j <= hi; ++j) {
            exact[static_cast<size_t>(j - lo)] = lanczos((j + 0.5 - centre) / stretch);
            sum += exact[static_cast<size_t>(j - lo)];
        }
        float* weights = taps.weights.data() + static_cast<size_t>(i) * taps.stride;
        int first = lo;
        int n = hi - lo + 1;
        if (n < 1 || sum < 1e-6) {  // nothing of the filter falls on the picture
            first = std::clamp(static_cast<int>(centre), 0, sourceLength - 1);
            weights[0] = 1.0f;
            n = 1;
        } else {
            for (int k = 0; k < n; ++k)
                weights[k] = static_cast<float>(exact[static_cast<size_t>(k)] / sum);
        }
        taps.first[static_cast<size_t>(i)] = first;
        taps.count[static_cast<size_t>(i)] = n;
    }
    return taps;
}

qint64 RowResampler::MemoryBytes() const
{
    return FResult.sizeInBytes() +
           static_cast<qint64>((FRing.size() + FSum.size() + FPixels.size() +
                                FColumns.weights.size() + FRows.weights.size()) *
                               sizeof(float));
}

void RowResampler::FilterRow(const QRgb* row, float* out)
{
    // The part of the row the taps reach, as four lanes a pixel (the fourth
    // unused): each tap is then one multiply and one add of all four, a
    // vector instruction each, instead of three unpackings and conversions.
    Lanes* pixels = FPixels.data();
    for (int x = FSpanFirst; x < FSpanEnd; ++x, ++pixels)
        *pixels = Lanes{static_cast<float>(qRed(row[x])), static_cast<float>(qGreen(row[x])),
                        static_cast<float>(qBlue(row[x])), 0.0f};
    const int width = FVisible.width();
    for (int x = 0; x < width; ++x) {
        const Lanes* in = FPixels.data() + (FColumns.first[static_cast<size_t>(x)] - FSpanFirst);
        const float* w = FColumns.weights.data() + static_cast<size_t>(x) * FColumns.stride;
        const int n = FColumns.count[static_cast<size_t>(x)];
        // Two sums, of the even and the odd taps, so that each add need not
        // wait for the one before.
        Lanes even{};
        Lanes odd{};
        int k = 0;
        for (; k + 1 < n; k += 2) {
            even += w[k] * in[k];
            odd += w[k + 1] * in[k + 1];
        }
        if (k < n) even += w[k] * in[k];
        const Lanes sum = even + odd;
        out[kChannels * x] = sum[0];
        out[kChannels * x + 1] = sum[1];
        out[kChannels * x + 2] = sum[2];
    }
}

void RowResampler::AddRow(const QRgb* row)
{
    const int source = FNextSource++;
    if (Done() || source >= FSourceHeight) return;
    const size_t rowFloats = static_cast<size_t>(FVisible.width()) * kChannels;
    if (source >= FRows.first[static_cast<size_t>(FNextRow)])
        FilterRow(row, FRing.data() + static_cast<size_t>(source % FRows.stride) * rowFloats);
    // Each result row is made once its last source row is in; its first one
    // is then at most stride - 1 rows back, still in the ring.
    while (!Done()) {
        const auto y = static_cast<size_t>(FNextRow);
        if (FRows.first[y] + FRows.count[y] - 1 > source) break;
        MakeRow(FNextRow++);
    }
}

void RowResampler::MakeRow(int y)
{
    const size_t rowFloats = static_cast<size_t>(FVisible.width()) * kChannels;
    const int first = FRows.first[static_cast<size_t>(y)];
    const int n = FRows.count[static_cast<size_t>(y)];
    const float* w = FRows.weights.data() + static_cast<size_t>(y) * FRows.stride;
    auto* out = reinterpret_cast<QRgb*>(FResult.scanLine(y));
    std::fill(FSum.begin(), FSum.end(), 0.0f);
    for (int k = 0; k < n; ++k) {
        const float* in =
            FRing.data() + static_cast<size_t>((first + k) % FRows.stride) * rowFloats;
        for (size_t i = 0; i < rowFloats; ++i) FSum[i] += w[k] * in[i];
    }
    for (int x = 0; x < FVisible.width(); ++x) out[x] = toPixel(FSum.data() + kChannels * x);
}
