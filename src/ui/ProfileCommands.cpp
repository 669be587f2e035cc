#include "ui/ProfileCommands.h"

#include "common/Messages.h"
#include "common/Utf.h"
#include "session/Session.h"
#include "settings/ProfileExchange.h"
#include "ui/UiText.h"
#include "ui/UserDialogs.h"
#include "ui/WindowHost.h"

namespace orv {

namespace {

constexpr const char* kExchangeFilter = "All Files(*.ini)|*.ini||";

}  // namespace

ProfileCommands::ProfileCommands(Session& session, UserDialogs& dialogs, MessageSink& messages, WindowHost& host,
                                 std::string caption)
    : session_(session), dialogs_(dialogs), messages_(messages), host_(host), caption_(std::move(caption)) {}

// A file without an exchange profile is refused: reading it anyway would turn the working
// settings into values nobody chose.
void ProfileCommands::ImportProfile() {
    const auto file = dialogs_.ChooseFileToOpen({kExchangeFilter, session_.Folders().AppDirectory, ""});
    if (!file)
        return;
    switch (orv::ImportProfile(*file, session_.Settings())) {
    case ExchangeResult::Done:
        break;
    case ExchangeResult::NoProfile:
        ShowFileMessage(TextId::NoProfileInFile, *file);
        return;
    case ExchangeResult::CannotRead:
    case ExchangeResult::CannotWrite:
    case ExchangeResult::Busy:
        ShowFileMessage(TextId::CannotReadFile, *file);
        return;
    }
    host_.Repaint();
}

void ProfileCommands::ExportProfile() {
    const auto file = dialogs_.ChooseFileToSave({kExchangeFilter, session_.Folders().AppDirectory, "ini"});
    if (!file)
        return;
    switch (orv::ExportProfile(session_.Settings(), *file)) {
    case ExchangeResult::Done:
        break;
    case ExchangeResult::Busy:
        ShowFileBusy(*file);
        break;
    case ExchangeResult::NoProfile:
    case ExchangeResult::CannotRead:
    case ExchangeResult::CannotWrite:
        ShowFileMessage(TextId::CannotWriteFile, *file);
        break;
    }
    host_.Repaint();
}

// One click would overwrite five profiles and the user macros for good, so the user is asked
// first.
void ProfileCommands::RestoreDefaults() {
    const Language language = session_.CurrentLanguage();
    if (!dialogs_.AskYesNo(caption_, Text(TextId::RestoreDefaultsQuestion, language), language))
        return;
    Q_EMIT UserMacrosReplacing();
    const RestoreResult result = session_.RestoreDefaults([this] { Q_EMIT UserMacrosReplaced(); });
    for (const FileFault& fault : result.faults)
        ShowFault(fault);
    if (result.profilesReset)
        host_.ProfileApplied(result.applied);
    host_.Repaint();
}

void ProfileCommands::ShowFileMessage(TextId text, const std::filesystem::path& file) {
    messages_.ShowMessage(caption_, std::string(Text(text, session_.CurrentLanguage())) + "\n" + PathToUtf8(file));
}

void ProfileCommands::ShowFileBusy(const std::filesystem::path& file) {
    const QString text =
        UiText(TextId::FileBusy, session_.CurrentLanguage()).arg(QString::fromStdString(PathToUtf8(file)));
    messages_.ShowMessage(caption_, text.toStdString());
}

// A missing factory macro file has been shown already, as the macro files show it.
void ProfileCommands::ShowFault(const FileFault& fault) {
    switch (fault.kind) {
    case FileFault::Kind::Missing:
        break;
    case FileFault::Kind::Unreadable:
        ShowFileMessage(TextId::CannotReadFile, fault.file);
        break;
    case FileFault::Kind::Unwritable:
        ShowFileMessage(TextId::CannotWriteFile, fault.file);
        break;
    case FileFault::Kind::Busy:
        ShowFileBusy(fault.file);
        break;
    }
}

}  // namespace orv
