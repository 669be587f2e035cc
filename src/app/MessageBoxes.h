#pragma once
#include "common/Messages.h"

namespace orv {

// Modal message boxes with one OK button, owned by no window so they show even while the
// main window is hidden or not yet created.
class MessageBoxes : public MessageSink {
public:
    void ShowMessage(std::string_view caption, std::string_view text) override;
};

// For runs nobody watches (screenshots under Xvfb): a box would wait forever, so the text goes
// to the error output instead.
class ErrorOutputMessages : public MessageSink {
public:
    void ShowMessage(std::string_view caption, std::string_view text) override;
};

}  // namespace orv
