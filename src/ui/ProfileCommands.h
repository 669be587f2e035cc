#pragma once
#include <QObject>
#include "ui/ProfileExchangeController.h"

namespace orv {

class Session;
class UserDialogs;
class UserNotices;
class WindowHost;
struct FileFault;

// The header's exchange and reset controls over the session: export and import of the
// working profile through exchange files of the user's choice, and the factory reset once the
// user has said yes to it. Every message is in the language of the moment.
class ProfileCommands : public QObject, public ProfileExchangeController {
    Q_OBJECT
public:
    ProfileCommands(Session& session, UserDialogs& dialogs, UserNotices& notices, WindowHost& host);

    void ImportProfile() override;
    void ExportProfile() override;
    void RestoreDefaults() override;

Q_SIGNALS:
    // The reset is about to replace the user macros: a recording must end first.
    void UserMacrosReplacing();
    // The reset has put the factory macros into the store: the macro lists show them now.
    void UserMacrosReplaced();

private:
    void ShowFault(const FileFault& fault);

    Session& session_;
    UserDialogs& dialogs_;
    UserNotices& notices_;
    WindowHost& host_;
};

}  // namespace orv
