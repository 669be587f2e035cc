#pragma once
#include <memory>

#include "app/AppOptions.h"
#include "app/AppRecords.h"
#include "app/CoreServices.h"

namespace orv {

class MessageSink;
class Trace;

// The core behind the window: the real mouse and system settings, or with options.simulate
// the simulated mouse and settings that only report to the trace. Needs a QCoreApplication:
// device changes are handed to its thread.
std::unique_ptr<CoreServices> CreateSystemCore(const AppOptions& options, AppRecords& records, Trace& trace,
                                               MessageSink& messages);

}  // namespace orv
