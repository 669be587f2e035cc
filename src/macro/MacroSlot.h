#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "common/Relaxed.h"

namespace orv {

// One macro record, 1064 bytes. The byte layout is also the unit of the macro files, so every
// field lives at a fixed offset and multi-byte numbers are little-endian, read and written one
// byte at a time. Each byte is a relaxed atomic cell, so a slot read while another thread
// writes it is never a data race; that playback never plays a mix of old and new bytes is the
// work of the store's slot lock (MacroStore::lock).
class MacroSlot {
public:
    static constexpr size_t kSize = 1064;
    static constexpr size_t kNameOffset = 0;
    static constexpr size_t kNameBytes = 40;
    static constexpr size_t kMaxNameUnits = 19;  // one unit stays for the terminator
    static constexpr size_t kRepeatOnOffset = 40;
    static constexpr size_t kRepeatCountOffset = 41;
    static constexpr size_t kEventCountOffset = 43;
    static constexpr size_t kEventsOffset = 44;
    static constexpr size_t kDelaysOffset = 554;
    static constexpr size_t kMaxEvents = 255;

    static constexpr uint8_t kPress = 1;
    static constexpr uint8_t kRelease = 2;

    MacroSlot() = default;
    MacroSlot(const MacroSlot& other) { CopyFrom(other); }
    MacroSlot& operator=(const MacroSlot& other) {
        CopyFrom(other);
        return *this;
    }

    uint8_t Byte(size_t offset) const { return bytes_[offset].load(); }
    void SetByte(size_t offset, uint8_t value) { bytes_[offset].store(value); }

    std::array<uint8_t, kSize> Bytes() const;
    void SetBytes(std::span<const uint8_t, kSize> bytes);
    void Clear();

    // The units before the first zero unit, at most the 20 units of the field.
    std::u16string name() const;
    // Cut to 19 units (one less when the cut would split a surrogate pair); the rest of the
    // field is zeroed, so the name always ends inside the field.
    void SetName(std::u16string_view name);
    // What SetName keeps of a name, and what name() then gives back.
    static std::u16string_view FittingName(std::u16string_view name);

    uint8_t repeatOn() const { return Byte(kRepeatOnOffset); }
    void SetRepeatOn(uint8_t value) { SetByte(kRepeatOnOffset, value); }
    uint16_t repeatCount() const { return Word(kRepeatCountOffset); }
    void SetRepeatCount(uint16_t value) { SetWord(kRepeatCountOffset, value); }
    uint8_t eventCount() const { return Byte(kEventCountOffset); }
    void SetEventCount(uint8_t value) { SetByte(kEventCountOffset, value); }

    // k = 0 .. 254.
    uint8_t EventKey(size_t k) const { return Byte(kEventsOffset + 2 * k); }
    uint8_t EventAction(size_t k) const { return Byte(kEventsOffset + 2 * k + 1); }
    uint16_t Delay(size_t k) const { return Word(kDelaysOffset + 2 * k); }
    void SetEvent(size_t k, uint8_t key, uint8_t action, uint16_t delay);
    void SetDelay(size_t k, uint16_t delay) { SetWord(kDelaysOffset + 2 * k, delay); }

private:
    uint16_t Word(size_t offset) const { return static_cast<uint16_t>(Byte(offset) | (Byte(offset + 1) << 8)); }
    void SetWord(size_t offset, uint16_t value) {
        SetByte(offset, static_cast<uint8_t>(value & 0xFF));
        SetByte(offset + 1, static_cast<uint8_t>(value >> 8));
    }
    void CopyFrom(const MacroSlot& other);

    std::array<Relaxed<uint8_t>, kSize> bytes_{};
};

}  // namespace orv
