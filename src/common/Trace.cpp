#include "common/Trace.h"

namespace orv {

Trace::Trace(std::FILE* out, bool enabled, bool timestamps, std::chrono::steady_clock::time_point start)
    : out_(out), enabled_(enabled), timestamps_(timestamps), start_(start) {}

void Trace::Line(std::string_view text) {
    if (!enabled_) {
        return;
    }
    std::lock_guard lock(mutex_);
    if (timestamps_) {
        const auto elapsed = std::chrono::steady_clock::now() - start_;
        const long long micros = std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count();
        std::fprintf(out_, "%lld.%03lld ", micros / 1000, micros % 1000);
    }
    std::fwrite(text.data(), 1, text.size(), out_);
    std::fputc('\n', out_);
    std::fflush(out_);
}

void Trace::Report(std::span<const uint8_t> bytes) {
    if (enabled_) {
        Line("report " + HexBytes(bytes));
    }
}

std::string Trace::HexBytes(std::span<const uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(bytes.size() * 3);
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i != 0) {
            text.push_back(' ');
        }
        text.push_back(kDigits[bytes[i] >> 4]);
        text.push_back(kDigits[bytes[i] & 0x0F]);
    }
    return text;
}

}  // namespace orv
