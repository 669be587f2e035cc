#pragma once
#include <functional>

namespace orv {

// The window's Session::Post: work handed over from any thread runs on the thread of the
// application object's event loop, in the order it was handed over. Needs a QCoreApplication.
void PostToEventLoop(std::function<void()> work);

}  // namespace orv
