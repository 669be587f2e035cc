#include "ui/LightingPreview.h"

#include <QMetaObject>
#include <QWidget>

#include "session/PreviewThread.h"
#include "session/Session.h"
#include "skin/Regions.h"
#include "ui/ComposeFrame.h"
#include "ui/MainWindowPages.h"
#include "ui/WindowEvents.h"

namespace orv {

// A repaint asked from the thread is queued to the window's thread, the only one that may
// touch the window. The thread ends before the window goes, and a repaint still queued then
// goes with the window.
LightingPreview::LightingPreview(const FeatureContext& context) : sleeper_(CreatePreciseSleeper()) {
    const PageState& state = context.pages.State();
    QWidget& window = context.window;
    thread_ = std::make_unique<PreviewThread>(
        PreviewContext{colour_, dark_, threadRunning_, context.session.Applied().appliedLedStatus,
                       context.session.Settings().dpiLevel, [&state] { return state.CurrentPage == kColorPage; },
                       [&window] {
                           QMetaObject::invokeMethod(
                               &window, [&window] { window.update(); }, Qt::QueuedConnection);
                       },
                       SystemClock(), *sleeper_});
    // The thread decides whether one still runs, in one step with its own decision to end: a
    // look at the mark from here could miss a thread just ending.
    context.pages.OnPageShown(kColorPage, [this] { thread_->Start(); });
    context.pages.AddLayer(kColorPage, [this](const PageFrame& frame) { DrawPreview(frame, dark_, colour_); });
    context.events.OnEnding([this] { thread_->Stop(); });
}

LightingPreview::~LightingPreview() { thread_->Stop(); }

void DrawPreview(const PageFrame& frame, bool dark, int32_t colour) {
    using region::color::kPreview;
    if (dark) {
        frame.Copy(frame.Picture("color_normal_gray.jpg"), kPreview);
        return;
    }
    switch (colour) {
    case 0:
        frame.Copy(frame.Picture("color_over_blue.jpg"), kPreview);
        break;
    case 2:
        frame.Copy(frame.over, kPreview);
        break;
    case 3:
        frame.Press(kPreview);
        break;
    default:
        break;  // 1: the normal picture already shows pink
    }
}

}  // namespace orv
