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

bool FakeFunctionMenus::OpenFunctionMenu(int button, QRect box) {
    log_.calls.push_back("OpenFunctionMenu " + std::to_string(button));
    menuBox = box;
    return true;
}

int FakeFunctionMenus::ShowLeftButtonWarning(QRect box) {
    log_.calls.push_back("ShowLeftButtonWarning");
    warningBox = box;
    return warningResult;
}

void FakeMacroEditor::RefreshMacroList(const AdvancedPageControls& controls) {
    log_.calls.push_back("RefreshMacroList");
    refreshedControls = controls;
}

}  // namespace orv::testing
