#pragma once
#include "ui/PageModel.h"
#include "ui/PictureCache.h"
#include "ui/SkinFonts.h"

namespace orv {

// What the function menus and the left-button warning read: the settings they change, the
// skin's pictures and texts, the fonts of the language.
struct FunctionMenuContext {
    PageModel& model;
    const SkinFonts& fonts;
    PictureCache& pictures;

    int MacroCount() const { return model.UserMacroCount(); }
    const QFont& Font() const { return fonts.ForLanguage(model.language); }
    // The picture for drawing at devicePixelRatio device pixels per layout pixel (PictureCache::Get).
    const QImage& Picture(const char* name, qreal devicePixelRatio = 1.0) const {
        return pictures.Get(model.skinDirectory / name, devicePixelRatio);
    }
};

}  // namespace orv
