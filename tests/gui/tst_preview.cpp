// The colour page's preview in a shown window: the core's thread animates, and the window
// paints on its own thread when the preview asks.
#include <QEvent>
#include <QTest>
#include <QThread>
#include <atomic>

#include "PagesFixture.h"
#include "ui/LightingPreview.h"

using namespace orv;
using namespace orv::region;

namespace {

// Counts the window's paints and whether each ran on the window's thread.
class PaintWatch : public QObject {
public:
    int paints = 0;
    bool allOnWindowThread = true;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
            allOnWindowThread = allOnWindowThread && QThread::currentThread() == watched->thread();
        }
        return false;
    }
};

constexpr int kWaitMs = 30000;

}  // namespace

class PreviewTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void animatesWhileTheColourPageIsShown();
};

void PreviewTest::animatesWhileTheColourPageIsShown() {
    testing::PagesFixture f;
    Relaxed<uint8_t> appliedLedStatus{0};
    f.settings.dpiLevel = 3;
    LightingPreview preview(f.model, f.state, appliedLedStatus, f.settings.dpiLevel, f.window);
    PageFeatures features = f.features.All();
    features.preview = &preview;
    f.pages.SetFeatures(features);
    PaintWatch watch;
    f.window.installEventFilter(&watch);
    f.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));

    f.Click(f.MainCentre(main::kColorTab));
    QVERIFY(f.model.PreviewThreadRunning);
    QTRY_VERIFY_WITH_TIMEOUT(f.model.PreviewDark && f.model.PreviewColor == 0, kWaitMs);  // dark first
    const int paints = watch.paints;
    QTRY_VERIFY_WITH_TIMEOUT(!f.model.PreviewDark, kWaitMs);  // then blue
    QCOMPARE(f.model.PreviewColor.load(), 0);
    QTRY_VERIFY_WITH_TIMEOUT(watch.paints > paints, kWaitMs);
    QVERIFY(watch.allOnWindowThread);

    f.Click(f.MainCentre(main::kMainTab));
    QTRY_VERIFY_WITH_TIMEOUT(!f.model.PreviewThreadRunning, kWaitMs);

    // Back on the page, then gone for good while the thread waits: it is stopped, not left
    // running past the window.
    f.Click(f.MainCentre(main::kColorTab));
    QVERIFY(f.model.PreviewThreadRunning);
    preview.Stop();
    QVERIFY(!f.model.PreviewThreadRunning);
    f.window.removeEventFilter(&watch);
}

QTEST_MAIN(PreviewTest)
#include "tst_preview.moc"
