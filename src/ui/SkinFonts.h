#pragma once
#include <QFont>

namespace orv {

// The two fonts of every skin text: EnglishFont when the language is 1, ChineseFont when 0.
struct SkinFonts {
    QFont EnglishFont;
    QFont ChineseFont;

    const QFont& ForLanguage(int language) const { return language == 1 ? EnglishFont : ChineseFont; }
};

// Creates both fonts; where a family is missing a font of the same kind stands in at the same
// pixel height and character width.
SkinFonts CreateSkinFonts();

}  // namespace orv
