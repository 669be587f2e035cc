// Feeds arbitrary bytes to the HID report-descriptor parser, as a device may supply them: it
// reads only within the descriptor, and more items never make a report shorter: parsing the
// descriptor without its last byte finds the same collections, none of them with a longer
// report.
#include <cstdint>
#include <span>

#include "device/ReportDescriptor.h"
#include "FuzzCheck.h"

namespace {}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto collections = orv::ParseReportDescriptor(std::span(data, size));
    if (size == 0) {
        FUZZ_CHECK(collections.empty());
        return 0;
    }
    const auto shorter = orv::ParseReportDescriptor(std::span(data, size - 1));
    FUZZ_CHECK(shorter.size() <= collections.size());
    for (size_t i = 0; i < shorter.size(); ++i) {
        FUZZ_CHECK(shorter[i].usagePage == collections[i].usagePage && shorter[i].usage == collections[i].usage);
        FUZZ_CHECK(shorter[i].inputReportLength <= collections[i].inputReportLength);
        FUZZ_CHECK(shorter[i].featureReportLength <= collections[i].featureReportLength);
    }
    return 0;
}
