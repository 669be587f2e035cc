#pragma once
#include <array>
#include <filesystem>
#include <optional>

#include <QImage>
#include <QRect>
#include <QRegion>
#include <QSize>

class QWidget;

namespace orv {

struct MaskShape {
    QSize size;       // the mask's pixel size: the size of every picture of the window
    QRegion outline;  // everything but the mask's light pixels
};

// Light pixels (red, green and blue each above 100) are cut out of the w x h rectangle.
MaskShape ShapeFromMask(const QImage& mask);

// Reads the mask file and gives the window its outline; nothing when the file is not a picture.
// The outline is in layout pixels, as hit-testing is: the mask for one device pixel per layout
// pixel gives it at every density. The window keeps it when it moves to a screen of another
// density.
std::optional<MaskShape> ShapeFromMask(QWidget& window, const std::filesystem::path& maskFile);

// The part of the advanced page repainted on hover changes: the outline with the macro-name
// box, the event list and the macro list (control rectangles 1, 3, 2) XOR-ed out, so that
// those controls are not repainted. The repeat-count box stays inside.
QRegion AdvancedRepaintRegion(const QRegion& outline, const std::array<QRect, 4>& controlRects);

}  // namespace orv
