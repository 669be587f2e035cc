#pragma once
// Measures of pictures that the tests of the skin and of screenshots share.
#include <QImage>
#include <cstdlib>

namespace orv::testing {

// Mean difference per colour channel (0..255) of two pictures of one size.
inline double MeanDifference(const QImage& a, const QImage& b) {
    const QImage p = a.convertToFormat(QImage::Format_RGB32);
    const QImage q = b.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int y = 0; y < p.height(); ++y) {
        for (int x = 0; x < p.width(); ++x) {
            const QRgb u = p.pixel(x, y);
            const QRgb v = q.pixel(x, y);
            sum += std::abs(qRed(u) - qRed(v)) + std::abs(qGreen(u) - qGreen(v)) + std::abs(qBlue(u) - qBlue(v));
        }
    }
    return sum / (3.0 * p.width() * p.height());
}

}  // namespace orv::testing
