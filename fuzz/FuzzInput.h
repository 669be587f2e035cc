#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

namespace orv::fuzz {

// The fuzzer's bytes read front to back; past the end every byte reads as zero, so a target
// never has to check what is left.
class Input {
public:
    Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool Empty() const { return at_ >= size_; }
    uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    // A length byte, then that many bytes (fewer where the input ends).
    std::string Text() {
        const size_t length = std::min<size_t>(Byte() % 24, size_ - std::min(at_, size_));
        std::string text(reinterpret_cast<const char*>(data_ + at_), length);
        at_ += length;
        return text;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

}  // namespace orv::fuzz
