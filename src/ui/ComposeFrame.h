#pragma once
#include <cstdint>

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

#include "ui/PageModel.h"
#include "ui/PageState.h"
#include "ui/PictureCache.h"
#include "ui/SkinFonts.h"

class QPainter;

namespace orv {

struct SkinRegion;

inline const QColor kTextColour{255, 255, 255};
inline const QColor kHoverTextColour{255, 0, 0};
// DPI step cells of levels 0..3: blue, magenta, red, violet.
inline const QColor kDpiLevelColours[4] = {{0, 0, 255}, {255, 0, 255}, {255, 0, 0}, {128, 0, 255}};

// One whole frame of the current page, composed off screen: the page's normal picture with
// the hovered, pressed and selected regions copied from the over and down pictures, the DPI
// cells, the header and all texts. size is the window picture size in layout pixels; an empty
// size takes the normal picture's. The frame has devicePixelRatio pixels to each layout pixel,
// drawn from the skin's pictures for that density where it has them.
QImage ComposeFrame(const PageModel& model, const PageState& state, PictureCache& pictures, const SkinFonts& fonts,
                    QSize size, qreal devicePixelRatio = 1.0);

// Copies the region's rectangle (layout pixels) from source onto the canvas at the same place;
// a picture for another density is taken at its own pixels for the region.
void CopyRegion(QPainter& canvas, const QImage& source, const QRect& region);
// A black canvas of size layout pixels, with devicePixelRatio pixels to each (at least one).
QImage NewCanvas(QSize size, qreal devicePixelRatio);
QRect RegionRect(const SkinRegion& region);

// The page layer: hover, then the page's pressed and selected states.
void ComposePage(QPainter& canvas, const QImage& over, const QImage& down, const PageModel& model,
                 const PageState& state, PictureCache& pictures);
// The header's regions; tabIndex is the current page's tab (region::main::PageTab).
void ComposeHeader(QPainter& canvas, const QImage& over, const QImage& down, int tabIndex, const PageModel& model,
                   const PageState& state);
// Texts 0..count-1 of the current page: on the main page its own labels, on the others the
// header's followed by the page's.
void DrawLabels(QPainter& canvas, int count, const PageModel& model, const PageState& state, const QFont& font);

// The text a button box shows for its function code.
QString ButtonFunctionText(const PageModel& model, int32_t code);

}  // namespace orv
