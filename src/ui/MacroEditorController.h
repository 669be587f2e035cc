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

    // Before something replaces the user macros in memory or ends the utility: a recording
    // ends, a delay being typed is kept, and while the macros hold changes not yet saved the
    // user chooses to save them (as storing the repeat count does), to drop them, or to cancel.
    // False when the action must not go on: cancelled, or the save failed (and the user has
    // been told).
    virtual bool SettleUnsavedEdits() = 0;
};

}  // namespace orv
