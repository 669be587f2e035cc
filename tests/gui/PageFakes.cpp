#include "PageFakes.h"

#include <algorithm>
#include <iterator>

namespace orv::testing {

std::vector<std::string> CallLog::Operations() const {
    std::vector<std::string> result;
    std::copy_if(calls.begin(), calls.end(), std::back_inserter(result), [](const std::string& call) {
        return call != "Repaint" && call != "RepaintRegion" && call != "UpdateNow";
    });
    return result;
}

void FakeHost::RepaintRegion(const QRegion& region) {
    log_.calls.push_back("RepaintRegion");
    repaintedRegions.push_back(region);
}

void FakeHost::StartDrag(QPoint point) {
    log_.calls.push_back("StartDrag");
    dragPoint = point;
}

}  // namespace orv::testing
