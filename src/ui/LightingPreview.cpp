#include "ui/LightingPreview.h"

#include <QMetaObject>
#include <QWidget>

#include "session/PreviewThread.h"
#include "ui/PageModel.h"
#include "ui/PageState.h"

namespace orv {

// A repaint asked from the thread is queued to the window's thread, the only one that may
// touch the window. The thread ends before the window goes, and a repaint still queued then
// goes with the window.
LightingPreview::LightingPreview(PageModel& model, const PageState& state, const Relaxed<uint8_t>& appliedLedStatus,
                                 const Relaxed<int32_t>& dpiLevel, QWidget& window)
    : sleeper_(CreatePreciseSleeper()) {
    thread_ = std::make_unique<PreviewThread>(
        PreviewContext{model.PreviewColor, model.PreviewDark, model.PreviewThreadRunning, appliedLedStatus, dpiLevel,
                       [&state] { return state.CurrentPage == kColorPage; },
                       [&window] {
                           QMetaObject::invokeMethod(
                               &window, [&window] { window.update(); }, Qt::QueuedConnection);
                       },
                       SystemClock(), *sleeper_});
}

LightingPreview::~LightingPreview() { Stop(); }

void LightingPreview::StartPreviewThread() { thread_->Start(); }

void LightingPreview::Stop() { thread_->Stop(); }

}  // namespace orv
