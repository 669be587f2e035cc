#include "ui/ShapeFromMask.h"

#include <vector>

#include <QEvent>
#include <QString>
#include <QWidget>
#include <QWindow>

#include "common/Utf.h"

namespace orv {

namespace {

bool IsLight(QRgb pixel) { return qRed(pixel) > 100 && qGreen(pixel) > 100 && qBlue(pixel) > 100; }

// The window went to a screen of another density, or its screen's density changed.
bool IsDensityChange(const QEvent& event) {
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
    if (event.type() == QEvent::DevicePixelRatioChange)
        return true;
#endif
    return event.type() == QEvent::ScreenChangeInternal;
}

constexpr const char* kOutlineFollower = "OutlineAtEveryDensity";

// The outline is kept in layout pixels and handed to the window system in device pixels, scaled
// by the density at the time. When the window reaches a screen of another density it is given
// the outline again at the new one; the repaint that follows draws the new density's pictures.
class OutlineAtEveryDensity : public QObject {
public:
    explicit OutlineAtEveryDensity(QWidget& window) : QObject(&window), window_(window) {
        setObjectName(QString::fromLatin1(kOutlineFollower));
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &window_ && IsDensityChange(*event) && window_.windowHandle() != nullptr &&
            !window_.mask().isEmpty()) {
            window_.windowHandle()->setMask(window_.mask());
            window_.update();
        }
        return false;
    }

private:
    QWidget& window_;
};

}  // namespace

MaskShape ShapeFromMask(const QImage& mask) {
    MaskShape shape;
    shape.size = mask.size();
    if (mask.isNull())
        return shape;
    const QImage pixels = mask.convertToFormat(QImage::Format_RGB32);
    const int w = pixels.width();
    const int h = pixels.height();

    // One rectangle per run of dark pixels in a row, handed over in one call: a region
    // operation per pixel would take seconds on a full-size mask. Rows with the same runs as
    // the row above extend its rectangles, which keeps the region small.
    std::vector<QRect> rects;
    size_t bandStart = 0;  // first rectangle of the band the previous row belongs to
    std::vector<QRect> row;
    for (int y = 0; y < h; ++y) {
        row.clear();
        const auto* pixel = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        int x = 0;
        while (x < w) {
            while (x < w && IsLight(pixel[x]))
                ++x;
            const int start = x;
            while (x < w && !IsLight(pixel[x]))
                ++x;
            if (x > start)
                row.emplace_back(start, y, x - start, 1);
        }
        const size_t bandSize = rects.size() - bandStart;
        bool sameRuns = y > 0 && bandSize == row.size() && !row.empty() && rects[bandStart].bottom() == y - 1;
        for (size_t i = 0; sameRuns && i < row.size(); ++i)
            sameRuns = rects[bandStart + i].left() == row[i].left() && rects[bandStart + i].width() == row[i].width();
        if (sameRuns) {
            for (size_t i = 0; i < row.size(); ++i)
                rects[bandStart + i].setBottom(y);
        } else {
            bandStart = rects.size();
            rects.insert(rects.end(), row.begin(), row.end());
        }
    }
    shape.outline.setRects(rects.data(), static_cast<int>(rects.size()));
    return shape;
}

std::optional<MaskShape> ShapeFromMask(QWidget& window, const std::filesystem::path& maskFile) {
    const QImage mask(QString::fromStdString(PathToUtf8(maskFile)));
    if (mask.isNull())
        return std::nullopt;
    MaskShape shape = ShapeFromMask(mask);
    window.setMask(shape.outline);
    if (window.findChild<QObject*>(QString::fromLatin1(kOutlineFollower), Qt::FindDirectChildrenOnly) == nullptr)
        window.installEventFilter(new OutlineAtEveryDensity(window));
    return shape;
}

QRegion AdvancedRepaintRegion(const QRegion& outline, const std::array<QRect, 4>& controlRects) {
    return outline.xored(QRegion(controlRects[1])).xored(QRegion(controlRects[3])).xored(QRegion(controlRects[2]));
}

}  // namespace orv
