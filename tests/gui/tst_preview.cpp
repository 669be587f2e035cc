// The colour page's preview in a shown window: the core's thread animates, and the window
// paints on its own thread when the preview asks.
#include <QEvent>
#include <QTest>
#include <QThread>
#include <atomic>

#include "PagesFixture.h"
#include "ui/LightingPreview.h"
#include "ui/WindowEvents.h"

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
    f.settings.dpiLevel = 3;
    LightingPreview preview(f.Context());
    PaintWatch watch;
    f.window.installEventFilter(&watch);
    f.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    const QPoint region = f.ColorCentre(color::kPreview);
    const auto shows = [&](QColor colour) {
        return testing::NearColour(f.pages.ComposeFrame().pixelColor(region), colour);
    };

    f.Click(f.MainCentre(main::kColorTab));
    QTRY_VERIFY_WITH_TIMEOUT(shows(testing::SyntheticSkin::Gray()), kWaitMs);  // dark first
    const int paints = watch.paints;
    QTRY_VERIFY_WITH_TIMEOUT(shows(testing::SyntheticSkin::Blue()), kWaitMs);  // then blue
    QTRY_VERIFY_WITH_TIMEOUT(watch.paints > paints, kWaitMs);
    QVERIFY(watch.allOnWindowThread);

    // Left and entered again, then ended while the thread waits: it is stopped, not left running
    // past the window, and the region keeps what it showed last.
    f.Click(f.MainCentre(main::kMainTab));
    f.Click(f.MainCentre(main::kColorTab));
    f.events.Ending();
    const QColor last = f.pages.ComposeFrame().pixelColor(region);
    QTest::qWait(1500);  // longer than a step: a running thread would have moved on
    QCOMPARE(f.pages.ComposeFrame().pixelColor(region), last);
    f.window.removeEventFilter(&watch);
}

QTEST_MAIN(PreviewTest)
#include "tst_preview.moc"
