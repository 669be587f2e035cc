// Feeds arbitrary contents to the macro file loader, as user and as constant macros: it fills
// no slot beyond what the store holds and the count claims, and what it loaded, saved as the
// program saves it, loads back the same.
#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/Decimal.h"
#include "common/IniFile.h"
#include "common/Utf.h"
#include "macro/MacroFile.h"
#include "macro/MacroStore.h"
#include "FuzzCheck.h"

namespace {

using orv::MacroSlot;
using orv::MacroStore;
using orv::MacroTarget;

// Every slot's header (name, repeat and event count) filled with its own pattern, so a slot
// the load must not touch shows it did: a load writes whole slots.
uint8_t PatternByte(size_t s, size_t b) { return static_cast<uint8_t>(s * 31 + b); }

void Mark(MacroStore& store) {
    for (size_t s = 0; s < store.slots.size(); ++s) {
        for (size_t b = 0; b < MacroSlot::kEventsOffset; ++b) {
            store.slots[s].SetByte(b, PatternByte(s, b));
        }
    }
    store.macroCount = -7;
    store.selectedMacro = -7;
}

bool Marked(const MacroSlot& slot, size_t s) {
    for (size_t b = 0; b < MacroSlot::kEventsOffset; ++b) {
        if (slot.Byte(b) != PatternByte(s, b)) {
            return false;
        }
    }
    return true;
}

// What SaveMacroFile writes, applied to the contents in memory.
std::string Saved(std::string contents, const MacroStore& store) {
    std::vector<std::pair<std::string, std::string>> lines{{"macroNum", orv::FormatDecimal(store.macroCount)}};
    for (int i = 0; i < store.macroCount; ++i) {
        lines.emplace_back(orv::FormatDecimal(i), orv::FormatMacroValue(store.User(i)));
    }
    const std::vector<std::pair<std::string_view, std::string_view>> entries(lines.begin(), lines.end());
    FUZZ_CHECK(orv::ini::EditKeys(contents, "Macros", entries) != orv::ini::Edit::Refused);
    return contents;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string contents(reinterpret_cast<const char*>(data), size);
    const auto file = orv::ini::Snapshot::FromBytes(contents);

    // The count as the file claims it, read through its three-character buffer.
    const int declared = orv::ParseDecimal(file.Read("Macros", "macroNum", 3));

    MacroStore store;
    Mark(store);
    orv::LoadMacros(file, MacroTarget::Constant, store);
    FUZZ_CHECK(store.macroCount == -7 && store.selectedMacro == -7);
    for (int c = std::clamp(declared, 0, MacroStore::kConstantSlots); c < MacroStore::kConstantSlots; ++c) {
        FUZZ_CHECK(Marked(store.Constant(c), MacroStore::kFirstConstantSlot + static_cast<size_t>(c)));
    }

    orv::LoadMacros(file, MacroTarget::User, store);
    const int n = store.macroCount;
    FUZZ_CHECK(n == std::clamp(declared, 0, MacroStore::kUserSlots));
    FUZZ_CHECK(store.selectedMacro == (n > 0 ? n - 1 : 0));
    for (int i = n; i < MacroStore::kUserSlots; ++i) {
        FUZZ_CHECK(Marked(store.User(i), static_cast<size_t>(i)));
    }
    FUZZ_CHECK(Marked(store.Blank(), MacroStore::kBlankSlot));

    for (int i = 0; i < n; ++i) {
        const std::string value = orv::FormatMacroValue(store.User(i));
        FUZZ_CHECK(value.size() == 3 * MacroSlot::kSize);
    }
    MacroStore reloaded;
    Mark(reloaded);
    orv::LoadMacros(orv::ini::Snapshot::FromBytes(Saved(contents, store)), MacroTarget::User, reloaded);
    FUZZ_CHECK(reloaded.macroCount == n);
    for (int i = 0; i < n; ++i) {
        FUZZ_CHECK(reloaded.User(i).Bytes() == store.User(i).Bytes());
    }
    return 0;
}
