#pragma once
#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <span>
#include <vector>

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

#include "ui/PageModel.h"
#include "ui/PageState.h"
#include "ui/PictureCache.h"
#include "skin/SkinLayout.h"
#include "ui/SkinFonts.h"

class QPainter;

namespace orv {

inline const QColor kTextColour{255, 255, 255};
inline const QColor kHoverTextColour{255, 0, 0};
// DPI step cells of levels 0..3: blue, magenta, red, violet.
inline const QColor kDpiLevelColours[4] = {{0, 0, 255}, {255, 0, 255}, {255, 0, 0}, {128, 0, 255}};

// A page's frame while it is composed, as a feature's layer draws on it.
struct PageFrame {
    QPainter& canvas;
    const QImage& over;
    const QImage& down;
    // The page's own region table.
    std::span<const SkinRegion> regions;
    PictureCache& pictures;
    const std::filesystem::path& skinDirectory;

    // The region of the page's table drawn as pressed (from the down picture).
    void Press(int32_t index) const { Copy(down, index); }
    // The region of the page's table drawn from picture.
    void Copy(const QImage& picture, int32_t index) const;
    // A picture of the skin's folder, for the canvas's density.
    const QImage& Picture(const char* name) const;
};

// What the window's features add to its frames: layers drawn over a page's own look (below the
// header and the texts), and the texts of regions of a table in place of the skin's labels.
struct FrameHooks {
    std::array<std::vector<std::function<void(const PageFrame&)>>, kRegionTables> layers;
    std::array<std::map<int32_t, std::function<QString()>>, kRegionTables> labels;
};

// One whole frame of the current page, composed off screen: the page's normal picture with
// the hovered, pressed and selected regions copied from the over and down pictures, the DPI
// cells, the features' layers, the header and all texts. size is the window picture size in
// layout pixels; an empty size takes the normal picture's. The frame has devicePixelRatio pixels
// to each layout pixel, drawn from the skin's pictures for that density where it has them.
QImage ComposeFrame(const PageModel& model, const PageState& state, PictureCache& pictures, const SkinFonts& fonts,
                    QSize size, const FrameHooks& hooks, qreal devicePixelRatio = 1.0);

// Copies the region's rectangle (layout pixels) from source onto the canvas at the same place;
// a picture for another density is taken at its own pixels for the region.
void CopyRegion(QPainter& canvas, const QImage& source, const QRect& region);
// A black canvas of size layout pixels, with devicePixelRatio pixels to each (at least one).
QImage NewCanvas(QSize size, qreal devicePixelRatio);
QRect RegionRect(const SkinRegion& region);

// The page layer: hover, then the page's pressed and selected states, then the features' layers.
void ComposePage(QPainter& canvas, const QImage& over, const QImage& down, const PageModel& model,
                 const PageState& state, PictureCache& pictures, const FrameHooks& hooks);
// The header's regions; tabIndex is the current page's tab (region::main::PageTab).
void ComposeHeader(QPainter& canvas, const QImage& over, const QImage& down, int tabIndex, const PageModel& model,
                   const PageState& state);
// Texts 0..count-1 of the current page: on the main page its own labels, on the others the
// header's followed by the page's.
void DrawLabels(QPainter& canvas, int count, const PageModel& model, const PageState& state, const QFont& font,
                const FrameHooks& hooks);

// The text a button box shows for its function code.
QString ButtonFunctionText(const PageModel& model, int32_t code);

}  // namespace orv
