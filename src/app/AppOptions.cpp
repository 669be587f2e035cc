#include "app/AppOptions.h"

#include "common/Utf.h"

namespace orv {

ParsedAppOptions ParseAppOptions(const std::vector<std::string>& args) {
    AppOptions options;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--simulate") {
            options.simulate = true;
        } else if (arg == "--trace") {
            options.trace = true;
        } else if (arg == "--timestamps") {
            options.timestamps = true;
        } else if (arg == "--hidden") {
            options.hidden = true;
        } else if (arg == "--dir" && hasValue) {
            options.dir = PathFromUtf8(args[++i]);
        } else if (arg == "--screenshots" && hasValue) {
            options.screenshots = PathFromUtf8(args[++i]);
        } else if (arg == "--dir" || arg == "--screenshots") {
            return {std::nullopt, arg + " needs a folder"};
        } else {
            return {std::nullopt, "unknown argument: " + arg};
        }
    }
    return {options, {}};
}

InfoRequest FindInfoRequest(const std::vector<std::string>& args) {
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--help") {
            return InfoRequest::Help;
        }
        if (args[i] == "--version") {
            return InfoRequest::Version;
        }
        if (args[i] == "--dir" || args[i] == "--screenshots") {
            ++i;
        }
    }
    return InfoRequest::None;
}

}  // namespace orv
