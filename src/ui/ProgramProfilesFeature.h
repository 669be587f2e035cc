#pragma once
#include <memory>

#include "ui/WindowFeature.h"

namespace orv {

class ProgramProfiles;

// Profiles that follow the program in front, in the window: "Program profiles…" in the tray
// menu and the system menu opens the rules' dialog; a change of front program switches the
// profile through the pages as a profile click and APPLY; the user's own click on a profile or
// APPLY wins until the next change.
class ProgramProfilesFeature : public WindowFeature {
public:
    explicit ProgramProfilesFeature(const FeatureContext& context);
    ~ProgramProfilesFeature() override;

    ProgramProfiles& Programs() { return *programs_; }
    void ShowDialog();

private:
    FeatureContext context_;
    bool ended_ = false;
    std::unique_ptr<ProgramProfiles> programs_;
};

}  // namespace orv
