#pragma once
#include "common/Language.h"
#include "ui/WindowFeature.h"

namespace orv {

// The header's two language buttons: once unsaved macro edits are settled, the session's switch
// with the skin description files of the new language read into the window's layout at their
// place in it. Pressing the active language's button reloads it all the same. What follows the
// language (the macro lists, the menus, the title) hears of it through the window's events; a
// skin description file of the new language that is missing ends the utility.
class LanguageSwitch : public WindowFeature {
public:
    explicit LanguageSwitch(const FeatureContext& context);

    void SwitchToChinese() { Switch(Language::Chinese()); }
    void SwitchToEnglish() { Switch(Language::English()); }

private:
    void Switch(Language language);

    FeatureContext context_;
};

}  // namespace orv
