#include "macro/MacroStore.h"

namespace orv {

std::filesystem::path UserMacroFileFor(const std::filesystem::path& dir, int language) {
    return dir / (language != 0 ? "Macro_EN.dat" : "Macro_CN.dat");
}

std::filesystem::path ConstantMacroFile(const std::filesystem::path& dir) { return dir / "constMacro.dat"; }

}  // namespace orv
