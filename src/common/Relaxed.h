#pragma once
#include <atomic>

namespace orv {

// A value shared between the window thread and the background threads. Each access is one
// whole load or store, so a reader sees the value from just before or just after a change,
// and no access is a data race. Copying a record of Relaxed fields copies their values.
template <typename T>
class Relaxed {
public:
    constexpr Relaxed() noexcept : value_(T{}) {}
    constexpr Relaxed(T v) noexcept : value_(v) {}  // NOLINT(google-explicit-constructor)
    Relaxed(const Relaxed& other) noexcept : value_(other.load()) {}
    Relaxed& operator=(const Relaxed& other) noexcept {
        store(other.load());
        return *this;
    }
    Relaxed& operator=(T v) noexcept {
        store(v);
        return *this;
    }
    operator T() const noexcept { return load(); }  // NOLINT(google-explicit-constructor)

    T load() const noexcept { return value_.load(std::memory_order_relaxed); }
    void store(T v) noexcept { value_.store(v, std::memory_order_relaxed); }

private:
    std::atomic<T> value_;
};

}  // namespace orv
