#pragma once
#include <string_view>

namespace orv {

// The user-facing message boxes of the core's operations (missing files, bad skin entries):
// the window shows a message box, the command line prints to stderr, tests record.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void ShowMessage(std::string_view caption, std::string_view text) = 0;
};

}  // namespace orv
