#include "ui/ProfileCommands.h"

#include "session/Session.h"
#include "settings/ProfileExchange.h"
#include "ui/UserDialogs.h"
#include "ui/UserNotices.h"
#include "ui/WindowHost.h"

namespace orv {

namespace {

constexpr const char* kExchangeFilter = "All Files(*.ini)|*.ini||";

}  // namespace

ProfileCommands::ProfileCommands(Session& session, UserDialogs& dialogs, UserNotices& notices, WindowHost& host)
    : session_(session), dialogs_(dialogs), notices_(notices), host_(host) {}

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
        notices_.TellPathBelow(TextId::NoProfileInFile, *file);
        return;
    case ExchangeResult::CannotRead:
    case ExchangeResult::CannotWrite:
    case ExchangeResult::Busy:
        notices_.TellPathBelow(TextId::CannotReadFile, *file);
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
        notices_.Tell(TextId::FileBusy, *file);
        break;
    case ExchangeResult::NoProfile:
    case ExchangeResult::CannotRead:
    case ExchangeResult::CannotWrite:
        notices_.TellPathBelow(TextId::CannotWriteFile, *file);
        break;
    }
    host_.Repaint();
}

// One click would overwrite five profiles and the user macros for good, so the user is asked
// first.
void ProfileCommands::RestoreDefaults() {
    const Language language = session_.CurrentLanguage();
    if (!dialogs_.AskYesNo(notices_.Caption(), Text(TextId::RestoreDefaultsQuestion, language), language))
        return;
    Q_EMIT UserMacrosReplacing();
    const RestoreResult result = session_.RestoreDefaults([this] { Q_EMIT UserMacrosReplaced(); });
    for (const FileFault& fault : result.faults)
        ShowFault(fault);
    if (result.profilesReset)
        notices_.ProfileApplied(result.applied);
    host_.Repaint();
}

// A missing factory macro file has been shown already, as the macro files show it.
void ProfileCommands::ShowFault(const FileFault& fault) {
    switch (fault.kind) {
    case FileFault::Kind::Missing:
        break;
    case FileFault::Kind::Unreadable:
        notices_.TellPathBelow(TextId::CannotReadFile, fault.file);
        break;
    case FileFault::Kind::Unwritable:
        notices_.TellPathBelow(TextId::CannotWriteFile, fault.file);
        break;
    case FileFault::Kind::Busy:
        notices_.Tell(TextId::FileBusy, fault.file);
        break;
    }
}

}  // namespace orv
