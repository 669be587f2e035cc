#pragma once
#include <QString>

#include "common/Texts.h"

namespace orv {

// A text of the program's table as Qt shows it.
inline QString UiText(TextId id, Language language = {}) {
    const std::string_view text = Text(id, language);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace orv
