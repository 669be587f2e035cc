#include "ui/ShapeFromMask.h"

#include <vector>

#include <QString>
#include <QWidget>

#include "common/Utf.h"

namespace orv {

namespace {

bool IsLight(QRgb pixel)
{
    return qRed(pixel) > 100 && qGreen(pixel) > 100 && qBlue(pixel) > 100;
}

}  // namespace

MaskShape ShapeFromMask(const QImage& mask)
{
    MaskShape shape;
    shape.size = mask.size();
    if (mask.isNull())
        return shape;
    const QImage pixels = mask.convertToFormat(QImage::Format_RGB32);
    const int w = pixels.width();
    const int h = pixels.height();

    // One rectangle per run of dark pixels in a row, handed over in one call: a region
    // operation per pixel would take seconds on a full-size mask.
    std::vector<QRect> runs;
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        int x = 0;
        while (x < w) {
            while (x < w && IsLight(row[x]))
                ++x;
            const int start = x;
            while (x < w && !IsLight(row[x]))
                ++x;
            if (x > start)
                runs.emplace_back(start, y, x - start, 1);
        }
    }
    shape.outline.setRects(runs.data(), static_cast<int>(runs.size()));
    return shape;
}

std::optional<MaskShape> ShapeFromMask(QWidget& window, const std::filesystem::path& maskFile)
{
    const QImage mask(QString::fromStdString(PathToUtf8(maskFile)));
    if (mask.isNull())
        return std::nullopt;
    MaskShape shape = ShapeFromMask(mask);
    window.setMask(shape.outline);
    return shape;
}

QRegion AdvancedRepaintRegion(const QRegion& outline, const std::array<QRect, 4>& controlRects)
{
    return outline.xored(QRegion(controlRects[1])).xored(QRegion(controlRects[3])).xored(QRegion(controlRects[2]));
}

}  // namespace orv
