#pragma once

namespace orv {

// The header's profile controls that reach beyond the working profile: exchange files and the
// factory reset.
class ProfileExchangeController {
public:
    virtual ~ProfileExchangeController() = default;

    virtual void ImportProfile() = 0;
    virtual void ExportProfile() = 0;
    virtual void RestoreDefaults() = 0;
};

}  // namespace orv
