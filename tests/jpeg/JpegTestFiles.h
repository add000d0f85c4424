#pragma once
// Shared by the JPEG tests: the test pictures and how two images compare.

#include <QFile>
#include <QImage>

#include <cmath>
#include <string>
#include <vector>

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
