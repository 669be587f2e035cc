#include "macro/MacroSlot.h"

#include <algorithm>

namespace orv {

std::array<uint8_t, MacroSlot::kSize> MacroSlot::Bytes() const {
    std::array<uint8_t, kSize> out{};
    for (size_t i = 0; i < kSize; ++i) {
        out[i] = Byte(i);
    }
    return out;
}

void MacroSlot::SetBytes(std::span<const uint8_t, kSize> bytes) {
    for (size_t i = 0; i < kSize; ++i) {
        SetByte(i, bytes[i]);
    }
}

void MacroSlot::Clear() {
    for (size_t i = 0; i < kSize; ++i) {
        SetByte(i, 0);
    }
}

std::u16string MacroSlot::name() const {
    std::u16string out;
    for (size_t i = 0; i + 1 < kNameBytes; i += 2) {
        const auto unit = static_cast<char16_t>(Byte(kNameOffset + i) | (Byte(kNameOffset + i + 1) << 8));
        if (unit == 0) {
            break;
        }
        out.push_back(unit);
    }
    return out;
}

void MacroSlot::SetName(std::u16string_view name) {
    const std::u16string_view kept = FittingName(name);
    for (size_t i = 0; i < kNameBytes / 2; ++i) {
        const char16_t unit = i < kept.size() ? kept[i] : u'\0';
        SetWord(kNameOffset + 2 * i, static_cast<uint16_t>(unit));
    }
}

// A zero unit would end the stored name early, so the name ends there already.
std::u16string_view MacroSlot::FittingName(std::u16string_view name) {
    name = name.substr(0, name.find(u'\0'));
    size_t units = std::min(name.size(), kMaxNameUnits);
    if (units < name.size() && units > 0 && name[units - 1] >= 0xD800 && name[units - 1] <= 0xDBFF) {
        --units;
    }
    return name.substr(0, units);
}

void MacroSlot::SetEvent(size_t k, uint8_t key, uint8_t action, uint16_t delay) {
    SetByte(kEventsOffset + 2 * k, key);
    SetByte(kEventsOffset + 2 * k + 1, action);
    SetWord(kDelaysOffset + 2 * k, delay);
}

void MacroSlot::CopyFrom(const MacroSlot& other) {
    for (size_t i = 0; i < kSize; ++i) {
        SetByte(i, other.Byte(i));
    }
}

}  // namespace orv
