#pragma once
#include <cstdint>
#include <span>
#include <vector>

namespace orv {

// The report lengths of one top-level collection, as the system's HID capabilities give them:
// the longest report of each kind in bytes, plus one for the report ID when the device uses
// report IDs; 0 when the collection has no report of that kind.
struct CollectionLengths {
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    uint16_t inputReportLength = 0;
    uint16_t featureReportLength = 0;
};

// The top-level collections of a HID report descriptor, in order. A truncated or malformed
// descriptor gives what could be read before the fault.
std::vector<CollectionLengths> ParseReportDescriptor(std::span<const uint8_t> descriptor);

}  // namespace orv
