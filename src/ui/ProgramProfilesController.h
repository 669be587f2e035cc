#pragma once

namespace orv {

// Profiles that follow the program in front, as the pages see them: a profile the user picks or
// applies himself stays until the next change of front program.
class ProgramProfilesController {
public:
    virtual ~ProgramProfilesController() = default;

    virtual void UserChoseProfile() = 0;
};

}  // namespace orv
