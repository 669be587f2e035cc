#pragma once

namespace orv {

// The header's two language buttons. Pressing the active language's button reloads it too.
class LanguageController {
public:
    virtual ~LanguageController() = default;

    virtual void SwitchToChinese() = 0;
    virtual void SwitchToEnglish() = 0;
};

}  // namespace orv
