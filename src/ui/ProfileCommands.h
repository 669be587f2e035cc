#pragma once
#include "ui/WindowFeature.h"

namespace orv {

struct FileFault;

// The header's exchange and reset controls over the session: export and import of the
// working profile through exchange files of the user's choice, and the factory reset once
// unsaved macro edits are settled and the user has said yes to it. Every message is in the
// language of the moment.
class ProfileCommands : public WindowFeature {
public:
    explicit ProfileCommands(const FeatureContext& context);

    void ImportProfile();
    void ExportProfile();
    void RestoreDefaults();

private:
    void ShowFault(const FileFault& fault);

    FeatureContext context_;
};

}  // namespace orv
