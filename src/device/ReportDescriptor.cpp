#include "device/ReportDescriptor.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <utility>

namespace orv {

namespace {

struct Globals {
    uint32_t usagePage = 0;
    uint32_t reportSize = 0;
    uint32_t reportCount = 0;
    uint32_t reportId = 0;
};

enum class Kind { Input, Feature };

struct Collection {
    HidCaps lengths;
    std::map<std::pair<uint32_t, Kind>, uint64_t> bits;  // per report ID and kind
};

uint32_t ItemValue(std::span<const uint8_t> data) {
    uint32_t value = 0;
    for (size_t i = 0; i < data.size(); ++i) {
        value |= static_cast<uint32_t>(data[i]) << (8 * i);
    }
    return value;
}

uint16_t ByteLength(const Collection& c, Kind kind, bool reportIds) {
    uint64_t longest = 0;
    for (const auto& [key, bits] : c.bits) {
        if (key.second == kind) {
            longest = std::max(longest, bits);
        }
    }
    if (longest == 0) {
        return 0;
    }
    return static_cast<uint16_t>(
        std::min<uint64_t>(longest / 8 + (longest % 8 != 0 ? 1 : 0) + (reportIds ? 1 : 0), 0xFFFF));
}

}  // namespace

std::vector<HidCaps> ParseReportDescriptor(std::span<const uint8_t> d) {
    std::vector<Collection> collections;
    std::vector<Globals> stack;
    Globals globals;
    uint32_t firstUsage = 0;
    bool haveUsage = false;
    int depth = 0;
    bool reportIds = false;

    size_t pos = 0;
    while (pos < d.size()) {
        const uint8_t prefix = d[pos];
        if (prefix == 0xFE) {  // long item: data size in the next byte, never meaningful here
            if (pos + 1 >= d.size()) {
                break;
            }
            pos += 3 + d[pos + 1];
            continue;
        }
        const size_t size = (prefix & 0x03) == 3 ? 4 : (prefix & 0x03);
        if (pos + 1 + size > d.size()) {
            break;
        }
        const uint32_t value = ItemValue(d.subspan(pos + 1, size));
        const uint8_t tag = prefix & 0xFC;
        pos += 1 + size;

        switch (tag) {
        case 0x04:
            globals.usagePage = value;
            break;
        case 0x74:
            globals.reportSize = value;
            break;
        case 0x94:
            globals.reportCount = value;
            break;
        case 0x84:
            globals.reportId = value;
            reportIds = true;
            break;
        case 0xA4:
            stack.push_back(globals);
            break;
        case 0xB4:
            if (!stack.empty()) {
                globals = stack.back();
                stack.pop_back();
            }
            break;
        case 0x08:
            if (!haveUsage) {
                // A four-byte usage carries its own page in the high half.
                firstUsage = size == 4 ? value : ((globals.usagePage << 16) | (value & 0xFFFF));
                haveUsage = true;
            }
            break;
        case 0xA0:
            if (depth == 0) {
                Collection c;
                c.lengths.usagePage = static_cast<uint16_t>(firstUsage >> 16);
                c.lengths.usage = static_cast<uint16_t>(firstUsage & 0xFFFF);
                collections.push_back(std::move(c));
            }
            ++depth;
            haveUsage = false;
            break;
        case 0xC0:
            depth = std::max(depth - 1, 0);
            haveUsage = false;
            break;
        case 0x80:
        case 0xB0:
            if (!collections.empty() && depth > 0) {
                const Kind kind = tag == 0x80 ? Kind::Input : Kind::Feature;
                // A device may claim any size; the sum stops at the largest count rather than
                // wrapping round to a short report.
                uint64_t& bits = collections.back().bits[{globals.reportId, kind}];
                const uint64_t added = static_cast<uint64_t>(globals.reportSize) * globals.reportCount;
                bits = added > UINT64_MAX - bits ? UINT64_MAX : bits + added;
            }
            haveUsage = false;
            break;
        case 0x90:
            haveUsage = false;
            break;
        default:
            break;
        }
    }

    std::vector<HidCaps> result;
    for (const Collection& c : collections) {
        HidCaps lengths = c.lengths;
        lengths.inputReportLength = ByteLength(c, Kind::Input, reportIds);
        lengths.featureReportLength = ByteLength(c, Kind::Feature, reportIds);
        result.push_back(lengths);
    }
    return result;
}

}  // namespace orv
