#include "macro/MacroFile.h"

#include <algorithm>
#include <array>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "common/Decimal.h"
#include "common/IniFile.h"
#include "common/Texts.h"
#include "common/Utf.h"
#include "macro/KeyCodes.h"

namespace orv {

namespace {

constexpr std::string_view kSection = "Macros";
constexpr std::string_view kCountKey = "macroNum";
constexpr size_t kCountBufferChars = 3;
constexpr size_t kFieldCount = MacroSlot::kSize;
constexpr size_t kValueChars = 3 * kFieldCount;
// Anything longer than a full value would be ignored anyway; this only has to hold one whole.
constexpr size_t kValueBufferChars = 4096;

bool IsKeyField(size_t field) {
    return field >= MacroSlot::kEventsOffset && (field - MacroSlot::kEventsOffset) % 4 == 0;
}

// Fields 0..43 are the header bytes in memory order; from field 44 on each event is stored as
// the quadruple key, action, delay low, delay high, although the slot keeps events and delays
// in two separate arrays.
size_t SlotOffsetOfField(size_t field) {
    if (field < MacroSlot::kEventsOffset) {
        return field;
    }
    const size_t k = (field - MacroSlot::kEventsOffset) / 4;
    switch ((field - MacroSlot::kEventsOffset) % 4) {
    case 0:
        return MacroSlot::kEventsOffset + 2 * k;
    case 1:
        return MacroSlot::kEventsOffset + 2 * k + 1;
    case 2:
        return MacroSlot::kDelaysOffset + 2 * k;
    default:
        return MacroSlot::kDelaysOffset + 2 * k + 1;
    }
}

void AppendByte3(std::string& out, uint8_t value) {
    out.push_back(static_cast<char>('0' + value / 100));
    out.push_back(static_cast<char>('0' + value / 10 % 10));
    out.push_back(static_cast<char>('0' + value % 10));
}

// A field is read as a decimal number up to its first non-digit; positions past the end of a
// short value read as empty, so the field is 0.
uint8_t ParseField(std::u16string_view value, size_t field) {
    std::string text;
    for (size_t i = 3 * field; i < 3 * field + 3 && i < value.size(); ++i) {
        text.push_back(value[i] < 0x80 ? static_cast<char>(value[i]) : '?');
    }
    return static_cast<uint8_t>(ParseDecimal(text) & 0xFF);
}

// macroNum, then the keys "0", "1", ... of as many macros as the larger of the stores holds.
std::span<const ini::KeyRead> MacroKeyReads() {
    constexpr size_t kMostMacros = std::max<size_t>(MacroStore::kUserSlots, MacroStore::kConstantSlots);
    static const std::array<std::string, kMostMacros> names = [] {
        std::array<std::string, kMostMacros> all;
        for (size_t i = 0; i < all.size(); ++i) {
            all[i] = FormatDecimal(static_cast<int64_t>(i));
        }
        return all;
    }();
    static const std::array<ini::KeyRead, kMostMacros + 1> reads = [] {
        std::array<ini::KeyRead, kMostMacros + 1> all;
        all[0] = {kCountKey, kCountBufferChars};
        for (size_t i = 0; i < names.size(); ++i) {
            all[1 + i] = {names[i], kValueBufferChars};
        }
        return all;
    }();
    return reads;
}

void ShowMissing(MessageSink& messages) {
    messages.ShowMessage(Text(TextId::ProgramName, {}), Text(TextId::FileMissing, {}));
}

// Loaded into a copy first, so that playback never finds a slot half read.
void TakeMacros(const ini::Snapshot& file, MacroTarget target, MacroStore& store) {
    const auto loaded = std::make_unique<MacroStore>(store);
    LoadMacros(file, target, *loaded);
    if (target == MacroTarget::User) {
        store.TakeUserMacros(*loaded);
        return;
    }
    const auto held = store.lock.Hold();
    for (int c = 0; c < MacroStore::kConstantSlots; ++c) {
        store.Constant(c) = loaded->Constant(c);
    }
}

}  // namespace

ini::FileState LoadMacroFile(const std::filesystem::path& path, MacroTarget target, MacroStore& store,
                             MessageSink& messages) {
    const ini::Snapshot file(path);
    if (file.State() == ini::FileState::Unreadable) {
        return file.State();
    }
    if (file.State() == ini::FileState::Missing) {
        ShowMissing(messages);
    }
    LoadMacros(file, target, store);
    return file.State();
}

void LoadMacros(const ini::Snapshot& file, MacroTarget target, MacroStore& store) {
    // Every key a store can take is read on one walk through the file; macroNum then says how
    // many of them count.
    const auto reads = MacroKeyReads();
    const auto values = file.ReadKeys(kSection, reads).value_or(std::vector<std::string>(reads.size()));
    const auto declared = static_cast<int16_t>(ParseDecimal(values[0]));
    const int capacity = target == MacroTarget::User ? MacroStore::kUserSlots : MacroStore::kConstantSlots;
    const int n = std::clamp<int>(declared, 0, capacity);
    if (target == MacroTarget::User) {
        store.macroCount = static_cast<int16_t>(n);
        store.selectedMacro = n > 0 ? n - 1 : 0;
    }
    for (int i = 0; i < n; ++i) {
        const std::string& value = values[1 + static_cast<size_t>(i)];
        ParseMacroValue(Utf8ToUtf16(value), target == MacroTarget::User ? store.User(i) : store.Constant(i));
    }
}

ini::FileState ReplaceMacrosFromFile(const std::filesystem::path& path, MacroTarget target, MacroStore& store,
                                     MessageSink& messages, WhenMissing whenMissing) {
    const ini::Snapshot file(path);
    const ini::FileState state = file.State();
    if (state == ini::FileState::Missing) {
        ShowMissing(messages);
    }
    const bool keep = state == ini::FileState::Unreadable ||
                      (state == ini::FileState::Missing && whenMissing == WhenMissing::KeepMacros);
    if (!keep) {
        TakeMacros(file, target, store);
        // Read back from the file it is saved to, the store holds no edit of its own.
        if (target == MacroTarget::User && path == store.userMacroFile) {
            store.MarkUserMacrosSaved();
        }
    }
    return state;
}

MacroImport ImportMacroFile(const std::filesystem::path& path, MacroStore& store) {
    const ini::Snapshot file(path);
    switch (file.State()) {
    case ini::FileState::Missing:
        return MacroImport::Missing;
    case ini::FileState::Unreadable:
        return MacroImport::Unreadable;
    case ini::FileState::Read:
        break;
    }
    if (!file.HasSection(kSection)) {
        return MacroImport::NoMacros;
    }
    TakeMacros(file, MacroTarget::User, store);
    return MacroImport::Done;
}

WriteResult SaveMacroFile(const std::filesystem::path& path, const MacroStore& store) {
    const int n = std::clamp<int>(store.macroCount, 0, MacroStore::kUserSlots);
    std::vector<std::pair<std::string, std::string>> lines;
    lines.emplace_back(kCountKey, FormatDecimal(n));
    for (int i = 0; i < n; ++i) {
        lines.emplace_back(FormatDecimal(i), FormatMacroValue(store.User(i)));
    }
    const std::vector<std::pair<std::string_view, std::string_view>> entries(lines.begin(), lines.end());
    return ini::WriteKeys(path, kSection, entries);
}

WriteResult SaveUserMacroFile(MacroStore& store) {
    const WriteResult written = SaveMacroFile(store.userMacroFile, store);
    if (written) {
        store.MarkUserMacrosSaved();
    }
    return written;
}

std::string FormatMacroValue(const MacroSlot& slot) {
    std::string out;
    out.reserve(kValueChars);
    for (size_t field = 0; field < kFieldCount; ++field) {
        const uint8_t byte = slot.Byte(SlotOffsetOfField(field));
        AppendByte3(out, IsKeyField(field) ? VirtualKeyFromUsage(byte) : byte);
    }
    return out;
}

void ParseMacroValue(std::u16string_view value, MacroSlot& slot) {
    for (size_t field = 0; field < kFieldCount; ++field) {
        const uint8_t byte = ParseField(value, field);
        slot.SetByte(SlotOffsetOfField(field), IsKeyField(field) ? UsageFromVirtualKey(byte) : byte);
    }
}

}  // namespace orv
