#include "ui/SkinFonts.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QStringList>

namespace orv {

namespace {

QString FirstInstalled(const QStringList& families)
{
    const QStringList installed = QFontDatabase::families();
    for (const QString& family : families) {
        if (installed.contains(family, Qt::CaseInsensitive))
            return family;
    }
    return families.front();
}

// Pixel height and average character width, as the skin's layouts were measured with.
QFont MakeFont(const QStringList& families, int height, int width, QFont::StyleHint hint)
{
    QFont font(FirstInstalled(families));
    font.setStyleHint(hint);
    font.setPixelSize(height);
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

SkinFonts CreateSkinFonts()
{
    SkinFonts fonts;
    fonts.EnglishFont = MakeFont({"Consolas", "DejaVu Sans Mono", "Liberation Mono", "Monospace"}, 14, 7,
                                 QFont::TypeWriter);
    fonts.EnglishFont.setFixedPitch(true);
    fonts.ChineseFont = MakeFont({QString::fromUtf8("宋体"), "SimSun", "WenQuanYi Micro Hei",
                                  "WenQuanYi Zen Hei", "Noto Sans CJK SC"},
                                 12, 6, QFont::SansSerif);
    return fonts;
}

}  // namespace orv
