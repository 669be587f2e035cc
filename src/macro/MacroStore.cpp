#include "macro/MacroStore.h"

namespace orv {

std::filesystem::path UserMacroFileFor(const std::filesystem::path& dir, Language language) {
    return dir / (language.IsEnglish() ? "Macro_EN.dat" : "Macro_CN.dat");
}

std::filesystem::path ConstantMacroFile(const std::filesystem::path& dir) { return dir / "constMacro.dat"; }

std::filesystem::path FactoryMacroFileFor(const std::filesystem::path& skinDirectory, Language language) {
    return skinDirectory / (language.IsEnglish() ? "INI_EN" : "INI_CN") / "defMacro.dat";
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
