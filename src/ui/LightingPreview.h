#pragma once
#include <cstdint>
#include <memory>

#include "common/Relaxed.h"
#include "ui/WindowFeature.h"

namespace orv {

class PreviewThread;
class Sleeper;
struct PageFrame;

// The preview region of the colour page: dark, or lit in colour 0 blue, 1 pink, 2 red, 3 purple.
void DrawPreview(const PageFrame& frame, bool dark, int32_t colour);

// The colour page's preview over the core's preview thread: each time the page is shown the
// thread animates the preview region as the applied lighting mode would light the mouse, and the
// window paints it when asked, through its own event loop. The thread ends by itself once the
// page is left, and for good when the utility ends.
class LightingPreview : public WindowFeature {
public:
    explicit LightingPreview(const FeatureContext& context);
    // Stops the thread: nothing it reads or asks for may go first.
    ~LightingPreview() override;

private:
    // What the preview region shows: dark takes precedence over the colour.
    Relaxed<int32_t> colour_{0};
    Relaxed<bool> dark_{false};
    Relaxed<bool> threadRunning_{false};
    std::unique_ptr<Sleeper> sleeper_;
    std::unique_ptr<PreviewThread> thread_;
};

}  // namespace orv
