#pragma once
#include <memory>

#include "common/Relaxed.h"
#include "ui/PreviewController.h"

class QWidget;

namespace orv {

class PreviewThread;
class Sleeper;
struct PageModel;
struct PageState;

// The colour page's preview over the core's preview thread: the thread decides what the
// region shows, the window paints it when asked through its own event loop.
class LightingPreview : public PreviewController {
public:
    LightingPreview(PageModel& model, const PageState& state, const Relaxed<uint8_t>& appliedLedStatus,
                    const Relaxed<int32_t>& dpiLevel, QWidget& window);
    // Stops the thread: nothing it reads or asks for may go first.
    ~LightingPreview() override;

    void StartPreviewThread() override;
    // Ends the thread for good (the program ends).
    void Stop();

private:
    std::unique_ptr<Sleeper> sleeper_;
    std::unique_ptr<PreviewThread> thread_;
};

}  // namespace orv
