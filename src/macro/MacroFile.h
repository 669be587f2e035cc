#pragma once
#include <filesystem>
#include <string>

#include "common/IniFile.h"
#include "common/Messages.h"
#include "common/WriteResult.h"
#include "macro/MacroStore.h"

namespace orv {

enum class MacroTarget { User, Constant };

// Reads section "Macros": "macroNum" and then that many macros into consecutive slots of the
// target, starting at its first slot; slots beyond those read keep their contents. For the
// user macros it also sets macroCount and selectedMacro.
//
// The count is read through a 3-character buffer, so a file can claim -9..99 macros. The
// store has 12 user and 8 constant slots: a larger count loads the first 12 or 8 macros and
// counts only those, a negative count loads none, so no load writes past the store and a
// later save never reads past it.
//
// A missing file shows the missing-file text and loads nothing (user macros: count 0, selected
// 0, slots unchanged). A file that exists but cannot be read changes nothing at all and shows
// nothing: what to say is the caller's. Every macro comes from one reading of the file.
ini::FileState LoadMacroFile(const std::filesystem::path& path, MacroTarget target, MacroStore& store,
                             MessageSink& messages);

// What LoadMacroFile does with one reading of a file it could read (or of a missing one, which
// has no sections): the macros, without the file access and the message.
void LoadMacros(const ini::Snapshot& file, MacroTarget target, MacroStore& store);

// What a missing file leaves in the store: the empty load of LoadMacroFile, or the macros as
// they were (a file the user chose that has gone since).
enum class WhenMissing { LoadEmpty, KeepMacros };

// LoadMacroFile into a store the playback thread may be reading. The file is read into a copy
// of the store, and the target's slots (for the user macros with macroCount and selectedMacro)
// are taken from the copy in one step under the store's lock: a pass of playback plays the
// macro from before the load or the one from after it, never a slot half read. A file that
// cannot be read changes nothing. User macros taken from the store's own userMacroFile are
// what that file holds (MarkUserMacrosSaved).
ini::FileState ReplaceMacrosFromFile(const std::filesystem::path& path, MacroTarget target, MacroStore& store,
                                     MessageSink& messages, WhenMissing whenMissing = WhenMissing::LoadEmpty);

// How taking the user macros from a file the user chose went.
enum class MacroImport { Done, NoMacros, Missing, Unreadable };

// The user macros replaced by those of a file the user chose (an import, a conversion), as
// ReplaceMacrosFromFile replaces them. A file without section "Macros" holds no macros (a note,
// a profile, any other INI file): read anyway, it would empty the user macros, so it is refused
// as a missing or unreadable one is. Anything but Done leaves the store as it was and shows
// nothing: what to say is the caller's.
MacroImport ImportMacroFile(const std::filesystem::path& path, MacroStore& store);

// Writes macroCount as "macroNum" and user slots 0 .. macroCount - 1 as keys "0" onwards, in
// one replace of the file: whenever the process is killed, the file holds the old set or the
// new one. Keys of a larger earlier count stay in the file. Anything but Written leaves the file
// unchanged.
WriteResult SaveMacroFile(const std::filesystem::path& path, const MacroStore& store);

// SaveMacroFile to the store's userMacroFile; once written, the user macros are what the file
// holds (MarkUserMacrosSaved).
WriteResult SaveUserMacroFile(MacroStore& store);

// The 3192-digit value of a slot, and the slot a value stands for: each byte as three
// decimal digits, events as key (a virtual-key code), action, delay low, delay high.
std::string FormatMacroValue(const MacroSlot& slot);
void ParseMacroValue(std::u16string_view value, MacroSlot& slot);

}  // namespace orv
