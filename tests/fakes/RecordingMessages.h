#pragma once
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/Messages.h"

namespace orv::test {

// Keeps every message shown: caption, then text.
class RecordingMessages : public MessageSink {
public:
    void ShowMessage(std::string_view caption, std::string_view text) override {
        shown.emplace_back(std::string(caption), std::string(text));
    }

    std::vector<std::pair<std::string, std::string>> shown;
};

}  // namespace orv::test
