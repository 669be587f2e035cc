#pragma once
#include "ui/FunctionMenuController.h"
#include "ui/LanguageController.h"
#include "ui/MacroEditorController.h"
#include "ui/PreviewController.h"
#include "ui/ProfileExchangeController.h"
#include "ui/ProgramProfilesController.h"
#include "ui/RecordingController.h"

namespace orv {

// The features the pages hand their controls to, each behind its own interface. The window
// owns them. A feature that is not there (null) leaves its controls inert: they still show
// their hover and pressed looks, and a click does nothing else.
struct PageFeatures {
    FunctionMenuController* functionMenus = nullptr;
    MacroEditorController* macroEditor = nullptr;
    RecordingController* recording = nullptr;
    ProfileExchangeController* profileExchange = nullptr;
    LanguageController* language = nullptr;
    PreviewController* preview = nullptr;
    ProgramProfilesController* programProfiles = nullptr;
};

}  // namespace orv
