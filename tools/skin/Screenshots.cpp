// Renders the shipped skin the way the window composes it (pictures, states, labels in the
// program's fonts), so that the look can be judged without running the program:
//   orv-skinshots DATA_DIR OUT_DIR
#include <QDir>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <functional>
#include <set>

#include "common/Language.h"
#include "common/Utf.h"
#include "settings/ProfileEdits.h"
#include "settings/ProfileSettings.h"
#include "skin/Regions.h"
#include "skin/SkinLayout.h"

namespace {

using orv::Language;
using orv::SkinLayout;
using orv::SkinRegion;
namespace m = orv::region::main;
namespace a = orv::region::advanced;
namespace c = orv::region::color;
namespace w = orv::region::warning;

struct Recorder : orv::MessageSink {
    void ShowMessage(std::string_view, std::string_view text) override {
        std::fprintf(stderr, "message: %.*s\n", static_cast<int>(text.size()), text.data());
    }
};

QFont LabelFont(Language language) {
    QFont font(language.IsEnglish() ? QStringLiteral("DejaVu Sans Mono") : QStringLiteral("WenQuanYi Micro Hei"));
    font.setPixelSize(12);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

QRect Rect(const SkinRegion& r) { return QRect(r.x, r.y, r.width, r.height); }

class Frame {
public:
    Frame(const QString& skins, const QString& page, Language language)
        : skins_(skins),
          language_(language),
          canvas_(Load(page + "_normal")),
          over_(Load(page + "_over")),
          down_(Load(page + "_down")) {}
    Frame(const QString& skins, const QString& normal, const QString& over, const QString& down, Language language)
        : skins_(skins), language_(language), canvas_(Load(normal)), over_(Load(over)), down_(Load(down)) {}

    QImage Load(const QString& name) const {
        QImage image(skins_ + "/" + name + ".jpg");
        if (image.isNull()) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(name));
        }
        return image.convertToFormat(QImage::Format_ARGB32);
    }

    void Copy(const QImage& from, const QRect& r) {
        QPainter p(&canvas_);
        p.drawImage(r.topLeft(), from, r);
    }
    void Over(const SkinRegion& r) { Copy(over_, Rect(r)); }
    void Down(const SkinRegion& r) { Copy(down_, Rect(r)); }
    void Fill(const SkinRegion& r, QColor c) {
        QPainter p(&canvas_);
        p.fillRect(QRect(r.x + 1, r.y + 1, r.width - 2, r.height - 1), c);
    }
    void Whole(const QImage& from) { canvas_ = from; }
    const QImage& over() const { return over_; }
    const QImage& down() const { return down_; }

    void Text(const SkinRegion& r, const std::string& text, bool red = false, bool left = false) {
        QPainter p(&canvas_);
        p.setFont(LabelFont(language_));
        p.setPen(red ? QColor(255, 0, 0) : Qt::white);
        const QString s = QString::fromStdString(text);
        const QFontMetrics m(p.font());
        const int w = m.horizontalAdvance(s);
        const int x = left ? r.x + 5 : r.x + (r.width - w) / 2;
        const int y = r.y + (r.height - m.height()) / 2;
        p.drawText(QPoint(x, y + m.ascent()), s);
    }

    // The window's shape: light mask pixels are cut away.
    QImage Shaped(const QString& mask) const {
        const QImage m(skins_ + "/" + mask + ".jpg");
        QImage out = canvas_;
        for (int y = 0; y < out.height() && y < m.height(); ++y) {
            for (int x = 0; x < out.width() && x < m.width(); ++x) {
                const QRgb px = m.pixel(x, y);
                if (qRed(px) > 100 && qGreen(px) > 100 && qBlue(px) > 100) {
                    out.setPixel(x, y, qRgba(0, 0, 0, 0));
                }
            }
        }
        return out;
    }
    QImage& canvas() { return canvas_; }

private:
    QString skins_;
    Language language_;
    QImage canvas_;
    QImage over_;
    QImage down_;
};

const QColor kLevel[4] = {QColor(0, 0, 255), QColor(255, 0, 255), QColor(255, 0, 0), QColor(128, 0, 255)};

// Profile 1 is the current one.
void Header(Frame& f, const SkinLayout& s, int tab, int hover, Language language) {
    for (int i = 0; i < m::kHeaderCount; ++i) {
        const SkinRegion& r = s.MainRegions[i];
        if (i == m::ProfileButton(1) || i == tab || (language.IsExactlyEnglish() && i == m::kEnglish) ||
            (!language.IsEnglish() && i == m::kChinese)) {
            f.Down(r);
        } else if (i == hover) {
            f.Over(r);
        }
    }
}

void HeaderLabels(Frame& f, const SkinLayout& s) {
    for (int i = 0; i < m::kHeaderCount; ++i) {
        f.Text(s.MainRegions[i], s.MainRegions[i].label);
    }
}

// enum of which full-state picture to show under the labels
enum class Mode { Live, AllOver, AllDown };

QImage MainPage(const QString& skins, const SkinLayout& s, Language language, Mode mode, int hover) {
    Frame f(skins, "main", language);
    if (mode == Mode::AllOver)
        f.Whole(f.over());
    if (mode == Mode::AllDown)
        f.Whole(f.down());
    if (mode == Mode::Live) {
        if (hover != orv::region::kNone)
            f.Over(s.MainRegions[hover]);
        f.Down(s.MainRegions[m::DpiLevelSelector(1)]);
        const int steps[4] = {4, 6, 8, 10};
        const int enabled[4] = {1, 1, 1, 0};
        for (int level = 0; level < 4; ++level) {
            for (int step = 0; step <= steps[level]; ++step) {
                f.Fill(s.MainRegions[m::DpiCell(level, step)], kLevel[level]);
            }
            if (enabled[level])
                f.Down(s.MainRegions[m::DpiEnabledBox(level)]);
        }
        f.Down(s.MainRegions[m::WheelStatusSwitch(0)]);
        if (hover >= m::kFirstButtonBox && hover <= m::kLastButtonBox) {
            f.Over(s.MainRegions[m::MousePart(hover - m::kFirstButtonBox)]);
        }
        Header(f, s, m::kMainTab, hover, language);
    }
    HeaderLabels(f, s);
    // The factory functions, with the example user macro on the last button.
    const int functions[6] = {1, 3, 2, 5, 4, orv::kFirstUserMacroCode};
    for (int j = m::kHeaderCount; j < m::kLabelCount; ++j) {
        if (j >= m::kFirstButtonBox && j <= m::kLastButtonBox) {
            const int code = functions[j - m::kFirstButtonBox];
            const std::string macro = language.IsEnglish() ? "Burst Fire" : "三连发";
            const std::string name = code >= orv::kFirstUserMacroCode ? macro : s.FunctionNames[code];
            f.Text(s.MainRegions[j], name, j == hover, true);
        } else {
            f.Text(s.MainRegions[j], s.MainRegions[j].label);
        }
    }
    return f.Shaped("main_mask");
}

QImage AdvancedPage(const QString& skins, const SkinLayout& s, Language language, Mode mode, int hover) {
    const bool english = language.IsEnglish();
    Frame f(skins, "advanced", language);
    if (mode == Mode::AllOver)
        f.Whole(f.over());
    if (mode == Mode::AllDown)
        f.Whole(f.down());
    if (mode == Mode::Live) {
        if (hover != orv::region::kNone)
            f.Over(s.AdvancedRegions[hover]);
        f.Down(s.AdvancedRegions[a::PointerSpeedSegment(4)]);
        f.Down(s.AdvancedRegions[a::WheelSpeedSegment(2)]);
        SkinRegion bar = s.AdvancedRegions[a::kFireTimeSlider];
        bar.width = 50 * bar.width / orv::kMaxFireTime;
        f.Down(bar);
        f.Down(s.AdvancedRegions[a::kRepeat]);
        Header(f, s, m::kAdvancedTab, orv::region::kNone, language);
    }
    HeaderLabels(f, s);
    for (int k = 0; k < a::kLabelCount; ++k) {
        std::string label = s.AdvancedRegions[k].label;
        if (k == a::kRecord)
            label = english ? "Record" : "录制";
        if (k == a::kFireTimeText)
            label = "50ms";
        if (k == a::kDownLinesText)
            label = "[↓]3";
        if (k == a::kUpLinesText)
            label = "[↑]3";
        f.Text(s.AdvancedRegions[k], label, k == hover);
    }
    // The child controls the program places at ControlRects: black, white text.
    QPainter p(&f.canvas());
    p.setFont(LabelFont(language));
    const char* const sample[4][5] = {
        {"3", "", "", "", ""},
        {english ? "Burst Fire" : "三连发", "", "", "", ""},
        {english ? "Burst Fire" : "三连发", english ? "Screenshot" : "截图", english ? "New Tab" : "新建标签页",
         english ? "Type GG" : "发送 GG", ""},
        {"[↓]L-KEY", "    25ms", "[↑]L-KEY", "    45ms", ""},
    };
    for (size_t c = 0; c < 4; ++c) {
        const orv::SkinRect& r = s.ControlRects[c];
        const QRect rect(r.left, r.top, r.right - r.left, r.bottom - r.top);
        p.fillRect(rect, Qt::black);
        p.setPen(Qt::white);
        for (int line = 0; line < 5 && sample[c][line][0]; ++line) {
            if (c >= 2 && line == 0)
                p.fillRect(QRect(rect.left() + 1, rect.top() + 2, rect.width() - 2, 16), QColor(0, 120, 215));
            p.drawText(QRect(rect.left() + 3, rect.top() + 2 + line * 16, rect.width() - 6, 16),
                       Qt::AlignVCenter | Qt::AlignLeft, QString::fromUtf8(sample[c][line]));
        }
    }
    p.end();
    return f.Shaped("main_mask");
}

QImage ColorPage(const QString& skins, const SkinLayout& s, Language language, Mode mode, const QString& preview) {
    Frame f(skins, "color_normal_pink", "color_over_red", "color_down_purple", language);
    if (mode == Mode::AllOver)
        f.Whole(f.over());
    if (mode == Mode::AllDown)
        f.Whole(f.down());
    if (mode == Mode::Live) {
        f.Down(s.ColorRegions[c::ModeTile(0)]);
        if (!preview.isEmpty())
            f.Copy(f.Load(preview), Rect(s.ColorRegions[c::kPreview]));
        Header(f, s, m::kColorTab, orv::region::kNone, language);
    }
    HeaderLabels(f, s);
    for (int k = 0; k < c::kLabelCount; ++k) {
        f.Text(s.ColorRegions[k], k == c::kDpiText ? "1000" : s.ColorRegions[k].label);
    }
    return f.Shaped("main_mask");
}

// The main menu over the page, with the multimedia sub-menu (main row 8) beside it.
QImage Menus(const QString& skins, const SkinLayout& s, Language language, int mainHover, int subHover, bool pressed) {
    const QImage mask(skins + "/menu_mask.jpg");
    const QImage subMask(skins + "/advanced menu_mask.jpg");
    const int rowH = mask.height() / 10;
    const int subRowH = subMask.height() / 12;
    QImage out(mask.width() + subMask.width() + 40, 4 * rowH + subMask.height() + 20, QImage::Format_ARGB32);
    out.fill(QColor(0x30, 0x30, 0x30));
    QPainter p(&out);
    p.setFont(LabelFont(language));
    const QFontMetrics metrics(p.font());
    auto menu = [&](const QString& stem, int rows, int rowHeight, int hover, QPoint at, auto text) {
        QImage canvas(skins + "/" + stem + "normal.jpg");
        const QImage over(skins + "/" + stem + (pressed ? "down.jpg" : "over.jpg"));
        QPainter c(&canvas);
        if (hover != orv::region::kNone) {
            const QRect strip(0, (hover - 1) * rowHeight, canvas.width(), rowHeight);
            c.drawImage(strip.topLeft(), over, strip);
        }
        c.setFont(LabelFont(language));
        for (int i = 1; i <= rows; ++i) {
            const QString t = QString::fromStdString(text(i));
            c.setPen(i == hover ? QColor(255, 0, 0) : Qt::white);
            const int x = (canvas.width() - metrics.horizontalAdvance(t)) / 2;
            const int y = (i - 1) * rowHeight + (rowHeight - metrics.height()) / 2;
            c.drawText(QPoint(x, y + metrics.ascent()), t);
        }
        c.end();
        p.drawImage(at, canvas, QRect(0, 0, canvas.width(), rows * rowHeight + 1));
    };
    const QPoint mainAt(10, 10 + 2 * rowH);
    menu("menu_", 10, rowH, mainHover, mainAt, [&](int i) { return s.FunctionNames[i]; });
    const int subRows = 10;
    const QPoint subAt(mainAt.x() + mask.width(), mainAt.y() - 2 * rowH);
    menu("advanced menu_", subRows, subRowH, subHover, subAt, [&](int i) {
        return s.FunctionNames[static_cast<size_t>(orv::FunctionCodeForMenuRow(8, static_cast<uint8_t>(i)))];
    });
    return out;
}

// hover: 1 over the confirming button, 2 over the cancelling one.
QImage Warning(const QString& skins, const SkinLayout& s, Language language, int hover) {
    Frame f(skins, "warning_normal", "warning_over", "warning_over", language);
    if (hover == 1)
        f.Over(s.WarningRegions[w::kConfirm]);
    if (hover == 2)
        f.Over(s.WarningRegions[w::kCancel]);
    for (const int i : {w::kConfirm, w::kCancel, w::kMessage}) {
        f.Text(s.WarningRegions[i], s.WarningRegions[i].label, true);
    }
    return f.Shaped("warning_mask");
}

bool Save(const QImage& image, const QString& path) {
    if (!image.save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: orv-skinshots DATA_DIR OUT_DIR\n");
        return 2;
    }
    const QString skins = QString::fromLocal8Bit(argv[1]) + "/skins";
    const QString out = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(out);
    bool ok = true;
    constexpr int kNone = orv::region::kNone;
    for (const Language language : {Language::English(), Language::Chinese()}) {
        SkinLayout s;
        Recorder messages;
        if (!orv::LoadSkin(orv::PathFromUtf8(skins.toStdString()), language, s, messages, "ORV_GMouse")) {
            return 1;
        }
        const QString l = language.IsEnglish() ? "en" : "cn";
        ok = Save(MainPage(skins, s, language, Mode::Live, m::ButtonBox(2)), out + "/main_" + l + ".png") && ok;
        ok = Save(AdvancedPage(skins, s, language, Mode::Live, a::kAddMacro), out + "/advanced_" + l + ".png") && ok;
        ok = Save(ColorPage(skins, s, language, Mode::Live, ""), out + "/color_" + l + ".png") && ok;
        ok = Save(Menus(skins, s, language, 8, 4, false), out + "/menu_" + l + ".png") && ok;
        ok = Save(Warning(skins, s, language, 1), out + "/warning_" + l + ".png") && ok;
        if (language.IsEnglish()) {
            ok = Save(MainPage(skins, s, language, Mode::AllOver, kNone), out + "/main_over.png") && ok;
            ok = Save(MainPage(skins, s, language, Mode::AllDown, kNone), out + "/main_down.png") && ok;
            ok = Save(AdvancedPage(skins, s, language, Mode::AllOver, kNone), out + "/advanced_over.png") && ok;
            ok = Save(AdvancedPage(skins, s, language, Mode::AllDown, kNone), out + "/advanced_down.png") && ok;
            ok = Save(ColorPage(skins, s, language, Mode::AllOver, ""), out + "/color_over.png") && ok;
            ok = Save(ColorPage(skins, s, language, Mode::AllDown, ""), out + "/color_down.png") && ok;
            ok = Save(ColorPage(skins, s, language, Mode::Live, "color_over_blue"), out + "/color_blue.png") && ok;
            ok = Save(ColorPage(skins, s, language, Mode::Live, "color_normal_gray"), out + "/color_dark.png") && ok;
            ok = Save(Menus(skins, s, language, 3, kNone, true), out + "/menu_pressed.png") && ok;
            ok = Save(Warning(skins, s, language, 0), out + "/warning_normal.png") && ok;
        }
    }
    return ok ? 0 : 1;
}
