#pragma once
#include <QString>

namespace orv {

// The name the executable runs under, without extension: the caption of the plug-in prompt
// and of the skin's messages.
QString ProgramName();

}  // namespace orv
