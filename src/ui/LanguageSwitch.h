#pragma once
#include <QObject>
#include <filesystem>
#include <string>

#include "common/Language.h"
#include "ui/LanguageController.h"

namespace orv {

class MessageSink;
class Session;
struct SkinLayout;

// The header's two language buttons: the session's switch with the skin description files of
// the new language read into the window's layout at their place in it. What else follows the
// language (the macro lists, the menus, the title) registers with LanguageChanged.
class LanguageSwitch : public QObject, public LanguageController {
    Q_OBJECT
public:
    // caption: the program's name, the caption of the messages.
    LanguageSwitch(Session& session, SkinLayout& skin, std::filesystem::path skinDirectory, MessageSink& messages,
                   std::string caption);

    void SwitchToChinese() override;
    void SwitchToEnglish() override;

Q_SIGNALS:
    // The switch is about to replace the user macros: a recording must end first.
    void UserMacrosReplacing();
    // The language, the skin layout and the user macros are those of language now.
    void LanguageChanged(orv::Language language);
    // A skin description file of the new language is missing (its message has been shown): the
    // utility cannot go on.
    void SkinMissing();

private:
    void Switch(Language language);

    Session& session_;
    SkinLayout& skin_;
    std::filesystem::path skinDirectory_;
    MessageSink& messages_;
    std::string caption_;
};

}  // namespace orv
