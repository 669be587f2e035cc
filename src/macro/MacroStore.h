#pragma once
#include <array>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <vector>

#include "common/Language.h"
#include "common/Relaxed.h"
#include "macro/MacroSlot.h"

namespace orv {

// Guards changes of slots against the playback thread's copy of the slot it plays. Each store
// has its own: copying a store gives the copy a new lock.
class SlotLock {
public:
    SlotLock() = default;
    SlotLock(const SlotLock&) {}
    SlotLock& operator=(const SlotLock&) { return *this; }
    [[nodiscard]] std::unique_lock<std::mutex> Hold() const { return std::unique_lock(mutex_); }

private:
    mutable std::mutex mutex_;
};

// The 21 macro slots: user macros 0..11, the blank slot, constant macros 0..7. Buttons refer
// to macros by slot position, so slots never move except by the editor's delete.
struct MacroStore {
    static constexpr int kUserSlots = 12;
    static constexpr int kBlankSlot = 12;
    static constexpr int kFirstConstantSlot = 13;
    static constexpr int kConstantSlots = 8;
    static constexpr int kSlotCount = 21;

    std::array<MacroSlot, kSlotCount> slots{};
    // User macros in use, 0..12.
    Relaxed<int16_t> macroCount;
    // The user macro the editor shows and acts on.
    Relaxed<int32_t> selectedMacro;
    // The user macro file of the current language; window thread only.
    std::filesystem::path userMacroFile;
    // Every change of slot bytes made while playback may run (the editor, recording, an
    // import) holds this, and playback copies the slot it plays under it at the start of each
    // pass, so a pass plays one whole macro as it stood between two changes: never half of a
    // slot that a delete is moving, nor a delay whose two bytes are from different edits.
    SlotLock lock;

    // The user macros as userMacroFile holds them, since they were last read from it or saved to
    // it: edits that differ from them are lost unless they are saved before the macros are
    // replaced or the utility ends. Window thread only.
    std::vector<MacroSlot> savedUserMacros;

    // The user macros are now what userMacroFile holds.
    void MarkUserMacrosSaved();
    // The user macros differ from what userMacroFile holds: in their count, or in a macro's
    // name, repeat settings, events or delays. Bytes past a macro's events do not count: an
    // event inserted and deleted again leaves them changed, and nobody sees them.
    bool UserMacrosUnsaved() const;

    // A copy of slot taken under the lock.
    MacroSlot CopyOf(const MacroSlot& slot) const {
        const auto held = lock.Hold();
        return slot;
    }

    MacroSlot& User(int k) { return slots[static_cast<size_t>(k)]; }
    const MacroSlot& User(int k) const { return slots[static_cast<size_t>(k)]; }
    MacroSlot& Constant(int c) { return slots[static_cast<size_t>(kFirstConstantSlot + c)]; }
    const MacroSlot& Constant(int c) const { return slots[static_cast<size_t>(kFirstConstantSlot + c)]; }
    const MacroSlot& Blank() const { return slots[kBlankSlot]; }

    // The user macros, their count and the selection become those of from, all under the lock,
    // so playback never copies a slot half replaced.
    void TakeUserMacros(const MacroStore& from);
};

// "Macro_EN.dat" or "Macro_CN.dat" in dir.
std::filesystem::path UserMacroFileFor(const std::filesystem::path& dir, Language language);
// "constMacro.dat" in dir.
std::filesystem::path ConstantMacroFile(const std::filesystem::path& dir);
// The factory user macros of the language: "INI_EN/defMacro.dat" or "INI_CN/defMacro.dat" in
// the skin's folder.
std::filesystem::path FactoryMacroFileFor(const std::filesystem::path& skinDirectory, Language language);

}  // namespace orv
