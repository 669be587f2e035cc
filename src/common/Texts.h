#pragma once
#include <string_view>

#include "common/Language.h"

namespace orv {

// Every text the program shows the user, in one table with both languages side by side
// (UTF-8). Texts the program shows in one language only carry the same text in both columns.
// A %1 stands for what the caller puts in its place (a file's path).
enum class TextId {
    ProgramName,      // caption of the message boxes
    MainWindowTitle,  // also the tray icon's tip, and how a second start finds the window
    PlugInPrompt,
    ShowWindow,  // tray menu
    ExitDriver,  // tray menu
    Minimize,    // the window menu where the system gives none
    Close,
    AboutMenu,
    AboutTitle,
    AboutVersion,
    AboutCopyright,
    Record,                       // record control, idle
    Stop,                         // record control, while recording
    FileMissing,                  // a skin or macro file is missing
    SkinEntryError,               // a skin entry with too many fields
    Overflow,                     // a macro would exceed its events
    RecordingUnavailable,         // the keyboard could not be captured for a recording
    NoTrayMinimises,              // closing or hiding where the desktop has no notification area
    DeviceAccessDenied,           // the mouse is plugged in, but this user may not open it
    DeviceUnopened,               // the mouse is plugged in, but it could not be opened
    DeviceAccessFixUdev,          // what fixes either on Linux
    DeviceAccessFixOtherProgram,  // what fixes either on Windows
    MouseUnreachable,             // an apply's reports did not reach the mouse
    SettingsNotSaved,             // %1: config.ini
    ConfigUnreadable,             // %1: config.ini
    MacroFileUnreadable,          // %1: the macro file
    MacroImportUnreadable,        // %1: the macro file chosen for an import
    MacroFileNotWritten,          // %1: the macro file
    MacroImportNoMacros,          // %1: a file chosen for an import that has no macros in it
    FileBusy,                     // %1: a file another program kept locked for writing

    // The event list's context menu, one row per item as the menu shows them: the two
    // languages' menus differ in the blanks after some captions, so an item that appears in
    // two places has a row for each.
    EventMenuAddForward,
    EventMenuForwardLeft,
    EventMenuForwardLeftDown,
    EventMenuForwardLeftUp,
    EventMenuForwardRight,
    EventMenuForwardRightDown,
    EventMenuForwardRightUp,
    EventMenuForwardMid,
    EventMenuForwardMidDown,
    EventMenuForwardMidUp,
    EventMenuAddBackward,
    EventMenuBackwardLeft,
    EventMenuBackwardLeftDown,
    EventMenuBackwardLeftUp,
    EventMenuBackwardRight,
    EventMenuBackwardRightDown,
    EventMenuBackwardRightUp,
    EventMenuBackwardMid,
    EventMenuBackwardMidDown,
    EventMenuBackwardMidUp,
    EventMenuModifyDelay,
    EventMenuDelete,

    RestoreDefaultsQuestion,  // asked before the factory reset overwrites profiles and macros
    Yes,                      // the buttons of a question
    No,
    NoProfileInFile,  // an import from a file without an exchange profile; the path follows
    CannotReadFile,   // the path follows
    CannotWriteFile,  // the path follows
    // Asked before the user macros are replaced or the utility ends while the editor holds
    // changes not yet saved; the three answers follow.
    UnsavedMacrosQuestion,
    Save,
    Discard,
    Cancel,

    // Profiles that follow the program in front: the menu item, the dialog and what it says.
    ProgramProfilesMenu,
    ProgramProfilesTitle,
    FollowPrograms,  // the switch for the whole feature
    ProgramColumn,
    WindowClassColumn,
    ProfileColumn,
    AddRule,
    RemoveRule,
    NoRuleChoice,  // the label of the "no rule" choice
    KeepProfile,
    ProfileNumber,  // %1: 1 to 5
    CloseDialog,
    FollowingOnWayland,
    FollowingUnavailable,
    ProgramRulesDamaged,     // %1: AppProfiles.ini
    ProgramRulesUnreadable,  // %1: AppProfiles.ini
    ProgramRulesNotSaved,    // %1: AppProfiles.ini
    AddRuleTitle,
    RunningProgramsLabel,
    ProgramLabel,
    BrowseProgram,
    WindowClassLabel,  // optional
    ProfileLabel,
    Ok,
};

std::string_view Text(TextId id, Language language);

}  // namespace orv
