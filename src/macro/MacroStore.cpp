#include "macro/MacroStore.h"

namespace orv {

std::filesystem::path UserMacroFileFor(const std::filesystem::path& dir, Language language) {
    return dir / (language.IsEnglish() ? "Macro_EN.dat" : "Macro_CN.dat");
}

std::filesystem::path ConstantMacroFile(const std::filesystem::path& dir) { return dir / "constMacro.dat"; }

}  // namespace orv
