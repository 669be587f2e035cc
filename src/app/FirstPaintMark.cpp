#include "app/FirstPaintMark.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdio>

namespace orv {

namespace {

constexpr const char* kMarkVariable = "ORV_GMOUSE_FIRST_PAINT_MARK";

class FirstPaintWatcher : public QObject {
public:
    using QObject::QObject;

protected:
    // The filter sees the paint before the window draws it; the mark waits for the drawing.
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] {
                const auto now = std::chrono::steady_clock::now().time_since_epoch();
                std::fprintf(stderr, "first-paint %lld\n",
                             static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
                std::fflush(stderr);
                deleteLater();
            });
        }
        return false;
    }
};

}  // namespace

void MarkFirstPaint(QWidget& window) {
    if (qEnvironmentVariableIsSet(kMarkVariable)) {
        window.installEventFilter(new FirstPaintWatcher(&window));
    }
}

}  // namespace orv
