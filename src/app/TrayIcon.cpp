#include "app/TrayIcon.h"

#include <QAction>
#include <QMenu>
#include <QSystemTrayIcon>

namespace orv {

TrayIcon::TrayIcon(const QIcon& icon, QObject* parent)
    : QObject(parent),
      menu_(std::make_unique<QMenu>()),
      icon_(new QSystemTrayIcon(icon, this)),
      hostAvailable_(&QSystemTrayIcon::isSystemTrayAvailable) {
    menu_->addAction(QString(), this, &TrayIcon::ShowWindowRequested);
    menu_->addAction(QString(), this, &TrayIcon::ExitDriverRequested);
    icon_->setContextMenu(menu_.get());
    // Only a double click acts: a single click must not bring the window up while the user
    // merely selects the icon, and the context menu comes from the right button by itself.
    connect(icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::DoubleClick) {
            Q_EMIT ShowWindowRequested();
        }
    });
}

TrayIcon::~TrayIcon() {
    icon_->setContextMenu(nullptr);
}

void TrayIcon::AddTrayIcon(const QString& tip) {
    if (added_) {
        return;
    }
    added_ = true;
    icon_->setToolTip(tip);
    icon_->show();
}

void TrayIcon::RemoveTrayIcon() {
    added_ = false;
    icon_->hide();
}

QString TrayIcon::Tip() const { return icon_->toolTip(); }

void TrayIcon::SetMenuTexts(const QString& showWindow, const QString& exitDriver) {
    const auto actions = menu_->actions();
    actions[0]->setText(showWindow);
    actions[1]->setText(exitDriver);
}

}  // namespace orv
