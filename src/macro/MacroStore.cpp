#include "macro/MacroStore.h"

#include <algorithm>

namespace orv {

namespace {

bool SameMacro(const MacroSlot& a, const MacroSlot& b) {
    const size_t events = a.eventCount();
    if (a.name() != b.name() || a.repeatOn() != b.repeatOn() || a.repeatCount() != b.repeatCount() ||
        events != b.eventCount()) {
        return false;
    }
    for (size_t k = 0; k < events; ++k) {
        if (a.EventKey(k) != b.EventKey(k) || a.EventAction(k) != b.EventAction(k) || a.Delay(k) != b.Delay(k)) {
            return false;
        }
    }
    return true;
}

int UserMacroCount(const MacroStore& store) { return std::clamp<int>(store.macroCount, 0, MacroStore::kUserSlots); }

}  // namespace

std::filesystem::path UserMacroFileFor(const std::filesystem::path& dir, Language language) {
    return dir / (language.IsEnglish() ? "Macro_EN.dat" : "Macro_CN.dat");
}

std::filesystem::path ConstantMacroFile(const std::filesystem::path& dir) { return dir / "constMacro.dat"; }

std::filesystem::path FactoryMacroFileFor(const std::filesystem::path& skinDirectory, Language language) {
    return skinDirectory / (language.IsEnglish() ? "INI_EN" : "INI_CN") / "defMacro.dat";
}

void MacroStore::MarkUserMacrosSaved() { savedUserMacros.assign(slots.begin(), slots.begin() + UserMacroCount(*this)); }

bool MacroStore::UserMacrosUnsaved() const {
    const int count = UserMacroCount(*this);
    if (static_cast<size_t>(count) != savedUserMacros.size()) {
        return true;
    }
    for (int i = 0; i < count; ++i) {
        if (!SameMacro(User(i), savedUserMacros[static_cast<size_t>(i)])) {
            return true;
        }
    }
    return false;
}

void MacroStore::TakeUserMacros(const MacroStore& from) {
    const auto held = lock.Hold();
    for (int i = 0; i < kUserSlots; ++i) {
        User(i) = from.User(i);
    }
    macroCount = from.macroCount;
    selectedMacro = from.selectedMacro;
}

}  // namespace orv
