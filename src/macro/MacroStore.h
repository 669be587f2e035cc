#pragma once
#include <array>
#include <cstdint>
#include <filesystem>

#include "common/Language.h"
#include "common/Relaxed.h"
#include "macro/MacroSlot.h"

namespace orv {

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

    MacroSlot& User(int k) { return slots[static_cast<size_t>(k)]; }
    const MacroSlot& User(int k) const { return slots[static_cast<size_t>(k)]; }
    MacroSlot& Constant(int c) { return slots[static_cast<size_t>(kFirstConstantSlot + c)]; }
    const MacroSlot& Constant(int c) const { return slots[static_cast<size_t>(kFirstConstantSlot + c)]; }
    const MacroSlot& Blank() const { return slots[kBlankSlot]; }
};

// "Macro_EN.dat" or "Macro_CN.dat" in dir.
std::filesystem::path UserMacroFileFor(const std::filesystem::path& dir, Language language);
// "constMacro.dat" in dir.
std::filesystem::path ConstantMacroFile(const std::filesystem::path& dir);

}  // namespace orv
