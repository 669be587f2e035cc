#include "app/TrayIcon.h"

#include <QAction>
#include <QSystemTrayIcon>

#include "app/SystemEvents.h"
#include "ui/ownerdrawnmenus/OwnerDrawnMenus.h"

namespace orv {

TrayIcon::TrayIcon(const QIcon& icon, QObject* parent)
    : QObject(parent),
      menu_(std::make_unique<COrvMenu>(QFont())),
      icon_(new QSystemTrayIcon(icon, this)),
      hostAvailable_(&QSystemTrayIcon::isSystemTrayAvailable) {
    LoadTrayMenu(*menu_, Language());
    // Both languages' ids are understood, whichever the menu carries.
    connect(menu_.get(), &QMenu::triggered, this, [this](QAction* action) {
        const auto command = TrayCommandForId(COrvMenu::ItemId(*action));
        if (command == TrayCommand::ShowWindow) {
            Q_EMIT ShowWindowRequested();
        } else if (command == TrayCommand::ExitDriver) {
            Q_EMIT ExitDriverRequested();
        }
    });
    icon_->setContextMenu(menu_.get());
    // The context menu comes from the right button by itself. Where a panel reports a double
    // click as two single clicks and a double click, the window is merely shown again.
    connect(icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::DoubleClick ||
            (reason == QSystemTrayIcon::Trigger && SingleClickShowsWindow())) {
            Q_EMIT ShowWindowRequested();
        }
    });
}

TrayIcon::~TrayIcon() { icon_->setContextMenu(nullptr); }

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

void TrayIcon::SetMenuLanguage(Language language, std::span<const MenuEntry> entries) {
    LoadTrayMenu(*menu_, language, entries);
}

QMenu* TrayIcon::Menu() const { return menu_.get(); }

}  // namespace orv
