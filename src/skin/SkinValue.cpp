#include <algorithm>

#include "skin/SkinLayout.h"

namespace orv {

SplitSkinValueResult SplitSkinValue(std::string_view value) {
    SplitSkinValueResult result;
    result.commas = static_cast<size_t>(std::count(value.begin(), value.end(), ','));
    if (result.commas == 0) {
        result.fields[0] = std::string(value);
        return result;
    }
    size_t start = 0;
    for (size_t i = 0; i < 6; ++i) {
        const size_t comma = value.find(',', start);
        if (comma == std::string_view::npos) {
            // The field stays empty and the next one is searched from the start again, so a
            // value that lacks its final comma loses that field and repeats earlier ones.
            start = 0;
            continue;
        }
        result.fields[i] = std::string(value.substr(start, comma - start));
        start = comma + 1;
    }
    if (result.commas >= 6) {
        size_t sixth = std::string_view::npos;
        for (size_t n = 0; n < 6; ++n) {
            sixth = value.find(',', sixth + 1);
        }
        result.fields[6] = std::string(value.substr(sixth + 1));
    }
    return result;
}

}  // namespace orv
