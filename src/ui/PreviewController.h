#pragma once

namespace orv {

// The lighting preview of the colour page.
class PreviewController {
public:
    virtual ~PreviewController() = default;

    // On every entry to the colour page: starts the preview thread unless one still runs (it
    // then carries on), marking PageModel::PreviewThreadRunning; the thread clears the mark when
    // it ends, after the colour page has been left.
    virtual void StartPreviewThread() = 0;
};

}  // namespace orv
