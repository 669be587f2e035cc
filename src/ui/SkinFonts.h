#pragma once
#include <QFont>

#include "common/Language.h"

namespace orv {

// The two fonts of every skin text, the advanced page's controls and the popups.
struct SkinFonts {
    QFont EnglishFont;
    QFont ChineseFont;

    const QFont& ForLanguage(Language language) const { return language.IsEnglish() ? EnglishFont : ChineseFont; }
};

// Creates both fonts; where a family is missing a font of the same kind stands in at the same
// pixel height and character width.
SkinFonts CreateSkinFonts();

}  // namespace orv
