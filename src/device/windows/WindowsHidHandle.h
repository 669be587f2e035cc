#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>

#include "device/HidTransport.h"

namespace orv {

// Takes ownership of handle, a synchronous (not overlapped) handle of an opened collection.
// reportLength is the length every report is sent or read with (0: the caller's length).
std::unique_ptr<HidHandle> WrapHidHandle(HANDLE handle, uint16_t reportLength);

}  // namespace orv
