#include "ui/SkinFonts.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QStringList>

namespace orv {

namespace {

QString FirstInstalled(const QStringList& families) {
    const QStringList installed = QFontDatabase::families();
    for (const QString& family : families) {
        if (installed.contains(family, Qt::CaseInsensitive))
            return family;
    }
    return families.front();
}

// Height and average character width, as the skin's layouts were measured with. A cell
// height counts ascent + descent: Qt's pixel size is the em, which is smaller than the cell
// of most fonts, so the largest em whose cell still fits is taken.
QFont MakeFont(const QStringList& families, int height, int width, QFont::StyleHint hint, bool cellHeight) {
    QFont font(FirstInstalled(families));
    font.setStyleHint(hint);
    font.setPixelSize(height);
    for (int em = height; cellHeight && em > 1 && QFontMetrics(font).height() > height; --em)
        font.setPixelSize(em - 1);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    const qreal average = QFontMetricsF(font).averageCharWidth();
    if (average > 0) {
        const int stretch = qRound(100.0 * width / average);
        font.setStretch(qBound(50, stretch, 200));
    }
    return font;
}

}  // namespace

SkinFonts CreateSkinFonts() {
    SkinFonts fonts;
    // Consolas 14 is a 14-pixel cell around a 12-pixel em. The cell of 宋体 is its em, so 12
    // stays the pixel size, which also keeps the CJK fallbacks' glyphs at the same size.
    fonts.EnglishFont =
        MakeFont({"Consolas", "DejaVu Sans Mono", "Liberation Mono", "Monospace"}, 14, 7, QFont::TypeWriter, true);
    fonts.EnglishFont.setFixedPitch(true);
    fonts.ChineseFont =
        MakeFont({QString::fromUtf8("宋体"), "SimSun", "WenQuanYi Micro Hei", "WenQuanYi Zen Hei", "Noto Sans CJK SC"},
                 12, 6, QFont::SansSerif, false);
    return fonts;
}

}  // namespace orv
