#pragma once

namespace orv {

// How a write of a file went. Busy means it was never tried: another program held the file's
// write lock for the whole wait (FileWriteLock), so the file is as that program leaves it, and
// trying again later may succeed, unlike a file that cannot be written at all.
class WriteResult {
public:
    enum class Kind { Written, Failed, Busy };

    constexpr WriteResult(Kind kind) : kind_(kind) {}
    static constexpr WriteResult Of(bool written) { return written ? Kind::Written : Kind::Failed; }

    constexpr bool Busy() const { return kind_ == Kind::Busy; }
    constexpr explicit operator bool() const { return kind_ == Kind::Written; }
    constexpr bool operator==(const WriteResult&) const = default;

private:
    Kind kind_;
};

}  // namespace orv
