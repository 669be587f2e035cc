#pragma once
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <span>
#include <string>
#include <string_view>

namespace orv {

// What the mouse and the system receive, one line each, in the order things happen:
// "report 07 10 …", "pointer-speed N", "wheel-lines N", "launch calc". Lines from every
// thread go through one lock so they never interleave.
class Trace {
public:
    // A disabled trace prints nothing. With timestamps each line starts with the
    // milliseconds since start, three decimals, and one space.
    Trace(std::FILE* out, bool enabled, bool timestamps,
          std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now());

    bool enabled() const { return enabled_; }
    void Line(std::string_view text);
    void Report(std::span<const uint8_t> bytes);

    static std::string HexBytes(std::span<const uint8_t> bytes);

private:
    std::FILE* out_;
    bool enabled_;
    bool timestamps_;
    std::chrono::steady_clock::time_point start_;
    std::mutex mutex_;
};

}  // namespace orv
