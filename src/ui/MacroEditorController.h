#pragma once
#include "ui/AdvancedPageControls.h"

namespace orv {

// The macro editor of the advanced page: the skinned buttons of the editor and the four
// controls it fills.
class MacroEditorController {
public:
    virtual ~MacroEditorController() = default;

    // The advanced page has just been shown with fresh controls: fill the macro list from the
    // store and show the selected macro. Also called again to reload the lists while the page
    // is shown.
    virtual void RefreshMacroList(const AdvancedPageControls& controls) = 0;

    virtual void ImportMacros() = 0;
    virtual void ExportMacros() = 0;
    virtual void AddMacro() = 0;
    virtual void DeleteMacro() = 0;
    virtual void StoreRepeatCount() = 0;
    virtual void ToggleRepeat() = 0;
};

}  // namespace orv
