#include "app/PostToEventLoop.h"

#include <QCoreApplication>

namespace orv {

void PostToEventLoop(std::function<void()> work) {
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(work), Qt::QueuedConnection);
}

}  // namespace orv
