#include "app/KeyFilter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace orv {

namespace {

class KeyFilter : public QObject {
public:
    KeyFilter(QWidget& window, std::function<void()> openSystemMenu)
        : window_(window), openSystemMenu_(std::move(openSystemMenu)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type != QEvent::KeyPress && type != QEvent::KeyRelease) {
            return false;
        }
        auto* widget = qobject_cast<QWidget*>(watched);
        // Other windows (the About box, message boxes) keep their own keys.
        if (widget == nullptr || widget->window() != &window_) {
            return false;
        }
        const auto* key = static_cast<QKeyEvent*>(event);
        if (openSystemMenu_ && type == QEvent::KeyPress && key->key() == Qt::Key_Space &&
            (key->modifiers() & Qt::AltModifier)) {
            openSystemMenu_();
            return true;
        }
        return KeyFilterConsumes(type, key->key());
    }

private:
    QWidget& window_;
    std::function<void()> openSystemMenu_;
};

}  // namespace

std::unique_ptr<QObject> InstallKeyFilter(QWidget& window, std::function<void()> openSystemMenu) {
    auto filter = std::make_unique<KeyFilter>(window, std::move(openSystemMenu));
    qApp->installEventFilter(filter.get());
    return filter;
}

bool KeyFilterConsumes(int type, int key) {
    if (key == Qt::Key_F10) {
        return type == QEvent::KeyPress || type == QEvent::KeyRelease;
    }
    if (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter) {
        return type == QEvent::KeyPress;
    }
    return false;
}

}  // namespace orv
