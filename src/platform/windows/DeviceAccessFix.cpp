#include "platform/DeviceAccessFix.h"

namespace orv {

TextId DeviceAccessFix() { return TextId::DeviceAccessFixOtherProgram; }

}  // namespace orv
