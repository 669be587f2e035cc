#include "ui/ComposeFrame.h"

#include <algorithm>
#include <cmath>

#include <QFontMetrics>
#include <QPainter>

#include "skin/Regions.h"
#include "skin/SkinLayout.h"
#include "ui/DrawingGeometry.h"
#include "ui/MarkerText.h"

namespace orv {

namespace {

const char* const kPagePictures[3][3] = {
    {"main_normal.jpg", "main_over.jpg", "main_down.jpg"},
    {"advanced_normal.jpg", "advanced_over.jpg", "advanced_down.jpg"},
    {"color_normal_pink.jpg", "color_over_red.jpg", "color_down_purple.jpg"},
};

// Main page texts, then the header's followed by the page's on the other two.
constexpr int kLabelCount[3] = {region::main::kLabelCount, region::main::kHeaderCount + region::advanced::kLabelCount,
                                region::main::kHeaderCount + region::color::kLabelCount};

// Values read from files are not range-checked when loaded, so an index derived from one may
// point past its table; such a state simply draws nothing.
template <typename Table>
const SkinRegion* RegionAt(const Table& table, int64_t index) {
    if (index < 0 || static_cast<size_t>(index) >= table.size())
        return nullptr;
    return &table[static_cast<size_t>(index)];
}

template <typename Table>
void CopyAt(QPainter& canvas, const QImage& source, const Table& table, int64_t index) {
    if (const SkinRegion* region = RegionAt(table, index))
        CopyRegion(canvas, source, RegionRect(*region));
}

void DrawTextAt(QPainter& canvas, QPoint topLeft, const QString& text, const QColor& colour) {
    if (text.isEmpty())
        return;
    canvas.setPen(colour);
    DrawMarkedText(canvas, QPoint(topLeft.x(), topLeft.y() + canvas.fontMetrics().ascent()), text);
}

void DrawCentred(QPainter& canvas, const SkinRegion& region, const QString& text, const QColor& colour) {
    const QFontMetrics metrics = canvas.fontMetrics();
    const QSize size(MarkedTextWidth(canvas.font(), text), metrics.height());
    DrawTextAt(canvas, CentredTextOrigin(RegionRect(region), size), text, colour);
}

void ComposeMainPage(QPainter& canvas, const QImage& over, const QImage& down, const PageModel& model,
                     const PageState& state) {
    using namespace region::main;
    const ProfileSettings& s = model.settings;
    const auto& regions = model.skin.MainRegions;
    const int32_t level = s.dpiLevel;
    if (level >= 0 && level <= 3)
        CopyAt(canvas, down, regions, DpiLevelSelector(level));
    for (int L = 0; L < 4; ++L) {
        const int cells = std::min<int>(s.dpiStep[static_cast<size_t>(L)], kDpiCellsPerLevel - 1) + 1;
        for (int c = 0; c < cells; ++c) {
            const QRect fill = DpiCellFill(RegionRect(regions[static_cast<size_t>(DpiCell(L, c))]));
            if (!fill.isEmpty())
                canvas.fillRect(fill, kDpiLevelColours[L]);
        }
        if (s.dpiEnabled[static_cast<size_t>(L)] == 1)
            CopyAt(canvas, down, regions, DpiEnabledBox(L));
    }
    CopyAt(canvas, down, regions, WheelStatusSwitch(s.wheelStatus == 0 ? 0 : 1));
    if (state.HoverIn(kMainTable) >= kFirstButtonBox && state.HoverIn(kMainTable) <= kLastButtonBox)
        CopyAt(canvas, over, regions, MousePart(state.HoverIn(kMainTable) - kFirstButtonBox));
}

void ComposeAdvancedPage(QPainter& canvas, const QImage& down, const PageModel& model) {
    using namespace region::advanced;
    const ProfileSettings& s = model.settings;
    const auto& regions = model.skin.AdvancedRegions;
    // A hand-edited speed beyond the scale would press a neighbouring control's region instead.
    if (s.pointerSpeed < kScaleSteps)
        CopyAt(canvas, down, regions, PointerSpeedSegment(s.pointerSpeed));
    if (s.wheelSpeed < kScaleSteps)
        CopyAt(canvas, down, regions, WheelSpeedSegment(s.wheelSpeed));
    QRect bar = RegionRect(regions[kFireTimeSlider]);
    bar.setWidth(FireTimeBarWidth(s.fireTime, bar.width()));
    CopyRegion(canvas, down, bar);
    if (s.macroMode != 0)
        CopyAt(canvas, down, regions, kHoldMode);
}

void ComposeColorPage(QPainter& canvas, const QImage& down, const PageModel& model) {
    using namespace region::color;
    // Only the four modes have a pressed look; a hand-edited value would press a label region.
    if (model.settings.ledStatus <= kLastMode - kFirstMode)
        CopyAt(canvas, down, model.skin.ColorRegions, ModeTile(model.settings.ledStatus));
}

std::span<const SkinRegion> RegionsOf(const SkinLayout& skin, RegionTable table) {
    switch (table) {
    case kMainTable:
        return skin.MainRegions;
    case kAdvancedTable:
        return skin.AdvancedRegions;
    case kColorTable:
        break;
    }
    return skin.ColorRegions;
}

// A feature's text for region k of the table, else the page's own.
QString LabelOf(const FrameHooks& hooks, RegionTable table, int k, const std::function<QString()>& own) {
    const auto& labels = hooks.labels[table];
    const auto hook = labels.find(k);
    return hook != labels.end() ? hook->second() : own();
}

QString AdvancedLabel(const PageModel& model, int k) {
    if (k == region::advanced::kFireTimeText)
        return QString::number(model.settings.fireTime) + QStringLiteral("ms");
    return QString::fromStdString(model.skin.AdvancedRegions[static_cast<size_t>(k)].label);
}

}  // namespace

QImage ComposeFrame(const PageModel& model, const PageState& state, PictureCache& pictures, const SkinFonts& fonts,
                    QSize size, const FrameHooks& hooks, qreal devicePixelRatio) {
    const int page = std::min<int>(state.CurrentPage, 2);
    const std::filesystem::path& dir = model.skinDirectory;
    // Copies: the cache may decode a replaced file while this frame still uses the old one.
    const QImage normal = pictures.Get(dir / kPagePictures[page][0], devicePixelRatio);
    const QImage over = pictures.Get(dir / kPagePictures[page][1], devicePixelRatio);
    const QImage down = pictures.Get(dir / kPagePictures[page][2], devicePixelRatio);

    if (size.isEmpty())
        size = normal.deviceIndependentSize().toSize();
    QImage frame = NewCanvas(size, devicePixelRatio);
    QPainter canvas(&frame);
    if (!normal.isNull())
        canvas.drawImage(QPoint(0, 0), normal);
    ComposePage(canvas, over, down, model, state, pictures, hooks);
    ComposeHeader(canvas, over, down, region::main::PageTab(page), model, state);
    DrawLabels(canvas, kLabelCount[page], model, state, fonts.ForLanguage(model.language), hooks);
    canvas.end();
    return frame;
}

QRect RegionRect(const SkinRegion& region) { return {region.x, region.y, region.width, region.height}; }

void CopyRegion(QPainter& canvas, const QImage& source, const QRect& region) {
    if (source.isNull() || region.width() <= 0 || region.height() <= 0)
        return;
    const qreal ratio = source.devicePixelRatio();
    if (ratio == 1.0) {
        canvas.drawImage(region.topLeft(), source, region);
        return;
    }
    // The region is in layout pixels; a dense picture holds ratio pixels for each.
    const QRectF pixels(region.x() * ratio, region.y() * ratio, region.width() * ratio, region.height() * ratio);
    canvas.drawImage(QRectF(region), source, pixels);
}

QImage NewCanvas(QSize size, qreal devicePixelRatio) {
    const qreal ratio = devicePixelRatio > 1.0 ? devicePixelRatio : 1.0;
    QImage canvas(static_cast<int>(std::ceil(size.width() * ratio)), static_cast<int>(std::ceil(size.height() * ratio)),
                  QImage::Format_RGB32);
    canvas.setDevicePixelRatio(ratio);
    canvas.fill(Qt::black);
    return canvas;
}

const QImage& PageFrame::Picture(const char* name) const {
    return pictures.Get(skinDirectory / name, canvas.device()->devicePixelRatioF());
}

void PageFrame::Copy(const QImage& picture, int32_t index) const {
    if (const SkinRegion* region = RegionAt(regions, index))
        CopyRegion(canvas, picture, RegionRect(*region));
}

void ComposePage(QPainter& canvas, const QImage& over, const QImage& down, const PageModel& model,
                 const PageState& state, PictureCache& pictures, const FrameHooks& hooks) {
    const uint8_t page = state.CurrentPage;
    const int32_t hover = state.HoverIn(static_cast<RegionTable>(std::min<int>(page, kColorTable)));
    if (hover != region::kNone) {
        const SkinRegion* hovered = page == kMainPage       ? RegionAt(model.skin.MainRegions, hover)
                                    : page == kAdvancedPage ? RegionAt(model.skin.AdvancedRegions, hover)
                                                            : RegionAt(model.skin.ColorRegions, hover);
        // The fire-time slider keeps showing its bar while it is pressed.
        const bool pressedSlider = page == kAdvancedPage && hover == region::advanced::kFireTimeSlider;
        if (hovered && !(state.ButtonHeld && pressedSlider))
            CopyRegion(canvas, state.ButtonHeld ? down : over, RegionRect(*hovered));
    }
    if (page == kMainPage)
        ComposeMainPage(canvas, over, down, model, state);
    else if (page == kAdvancedPage)
        ComposeAdvancedPage(canvas, down, model);
    else
        ComposeColorPage(canvas, down, model);
    const auto table = static_cast<RegionTable>(std::min<int>(page, kColorTable));
    const PageFrame frame{canvas, over, down, RegionsOf(model.skin, table), pictures, model.skinDirectory};
    for (const auto& layer : hooks.layers[table])
        layer(frame);
}

void ComposeHeader(QPainter& canvas, const QImage& over, const QImage& down, int tabIndex, const PageModel& model,
                   const PageState& state) {
    using namespace region::main;
    for (int i = 0; i < kHeaderCount; ++i) {
        const QRect rect = RegionRect(model.skin.MainRegions[static_cast<size_t>(i)]);
        // Whatever a hand-edited currentProfile holds presses the region at its place in the
        // row, so a profile outside 1..5 presses a neighbour of the profile buttons; in 64 bits,
        // as no 32-bit value may overflow on the way.
        if (int64_t{i} - kFirstProfile + 1 == model.currentProfile.load())
            CopyRegion(canvas, down, rect);
        else if (i == state.HoverIn(kMainTable))
            CopyRegion(canvas, state.ButtonHeld ? down : over, rect);
        else if (i == tabIndex)
            CopyRegion(canvas, down, rect);
        else if ((i == kChinese && !model.language.IsEnglish()) || (i == kEnglish && model.language.IsExactlyEnglish()))
            CopyRegion(canvas, down, rect);
    }
}

void DrawLabels(QPainter& canvas, int count, const PageModel& model, const PageState& state, const QFont& font,
                const FrameHooks& hooks) {
    canvas.setFont(font);
    canvas.setBackgroundMode(Qt::TransparentMode);
    const uint8_t page = state.CurrentPage;
    const SkinLayout& skin = model.skin;
    using namespace region;
    for (int j = 0; j < count; ++j) {
        if (page == kMainPage && j >= main::kFirstButtonBox && j <= main::kLastButtonBox) {
            const SkinRegion& r = skin.MainRegions[static_cast<size_t>(j)];
            const int button = j - main::kFirstButtonBox;
            const QString text = ButtonFunctionText(model, model.settings.buttonFunction[static_cast<size_t>(button)]);
            const int y = r.y + (r.height - canvas.fontMetrics().height()) / 2;
            DrawTextAt(canvas, QPoint(r.x + 5, y), text,
                       j == state.HoverIn(kMainTable) ? kHoverTextColour : kTextColour);
        } else if (j < main::kHeaderCount || page == kMainPage) {
            if (const SkinRegion* r = RegionAt(skin.MainRegions, j))
                DrawCentred(canvas, *r, QString::fromStdString(r->label), kTextColour);
        } else if (page == kColorPage) {
            const int k = j - main::kHeaderCount;
            if (static_cast<size_t>(k) >= skin.ColorRegions.size())
                continue;
            const SkinRegion& r = skin.ColorRegions[static_cast<size_t>(k)];
            const QString text = LabelOf(hooks, kColorTable, k, [&]() {
                if (k != color::kDpiText)
                    return QString::fromStdString(r.label);
                const int32_t level = model.settings.dpiLevel;
                const auto& codes = model.applied.appliedDpiCode;
                const uint8_t code = level >= 0 && level < static_cast<int32_t>(codes.size())
                                         ? codes[static_cast<size_t>(level)].load()
                                         : 0;
                return QString::number(DpiForCode(code));
            });
            DrawCentred(canvas, r, text, kTextColour);
        } else {
            const int k = j - main::kHeaderCount;
            if (static_cast<size_t>(k) >= skin.AdvancedRegions.size())
                continue;
            const QString text = LabelOf(hooks, kAdvancedTable, k, [&] { return AdvancedLabel(model, k); });
            DrawCentred(canvas, skin.AdvancedRegions[static_cast<size_t>(k)], text,
                        k == state.HoverIn(kAdvancedTable) ? kHoverTextColour : kTextColour);
        }
    }
}

QString ButtonFunctionText(const PageModel& model, int32_t code) {
    // A code outside the table (only a hand-edited file holds one) shows nothing, as code 0
    // does; the skin's names run on past the table and must not be borrowed.
    if (code < 0 || code > kLastUserMacroCode)
        return {};
    switch (DescribeFunctionCode(code).text) {
    case FunctionText::UserMacroName:
        return QString::fromStdString(model.UserMacroName(code - kFirstUserMacroCode));
    case FunctionText::FunctionName:
        break;
    }
    if (static_cast<size_t>(code) >= model.skin.FunctionNames.size())
        return {};
    return QString::fromStdString(model.skin.FunctionNames[static_cast<size_t>(code)]);
}

}  // namespace orv
