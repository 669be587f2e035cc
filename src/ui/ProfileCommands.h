#pragma once
#include <QObject>
#include <filesystem>
#include <string>

#include "common/Texts.h"
#include "ui/ProfileExchangeController.h"

namespace orv {

class MessageSink;
class Session;
class UserDialogs;
class WindowHost;
struct FileFault;

// The header's exchange and reset controls over the session: export and import of the
// working profile through exchange files of the user's choice, and the factory reset once the
// user has said yes to it. Every message is in the language of the moment.
class ProfileCommands : public QObject, public ProfileExchangeController {
    Q_OBJECT
public:
    // caption: the program's name, the caption of the messages and the question.
    ProfileCommands(Session& session, UserDialogs& dialogs, MessageSink& messages, WindowHost& host,
                    std::string caption);

    void ImportProfile() override;
    void ExportProfile() override;
    void RestoreDefaults() override;

Q_SIGNALS:
    // The reset is about to replace the user macros: a recording must end first.
    void UserMacrosReplacing();
    // The reset has put the factory macros into the store: the macro lists show them now.
    void UserMacrosReplaced();

private:
    void ShowFileMessage(TextId text, const std::filesystem::path& file);
    void ShowFault(const FileFault& fault);
    void ShowFileBusy(const std::filesystem::path& file);

    Session& session_;
    UserDialogs& dialogs_;
    MessageSink& messages_;
    WindowHost& host_;
    std::string caption_;
};

}  // namespace orv
