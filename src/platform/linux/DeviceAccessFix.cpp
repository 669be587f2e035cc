#include "platform/DeviceAccessFix.h"

namespace orv {

TextId DeviceAccessFix() { return TextId::DeviceAccessFixUdev; }

}  // namespace orv
