#pragma once

namespace orv {

// The lighting preview of the colour page.
class PreviewController {
public:
    virtual ~PreviewController() = default;

    // Starts the preview thread. The pages have already set PageModel::PreviewThreadRunning;
    // the thread clears it when it ends, after the colour page has been left.
    virtual void StartPreviewThread() = 0;
};

}  // namespace orv
