#include "ui/ProfileCommands.h"

#include "session/Session.h"
#include "settings/ProfileExchange.h"
#include "skin/Regions.h"
#include "ui/MainWindowPages.h"
#include "ui/UserDialogs.h"
#include "ui/UserNotices.h"
#include "ui/WindowEvents.h"
#include "ui/WindowHost.h"

namespace orv {

namespace {

constexpr const char* kExchangeFilter = "All Files(*.ini)|*.ini||";

}  // namespace

ProfileCommands::ProfileCommands(const FeatureContext& context) : context_(context) {
    using namespace region::main;
    MainWindowPages& pages = context_.pages;
    pages.AddPressRow(kMainPage, kMainTable, kImportProfile, kImportProfile, [this](RegionHit) { ImportProfile(); });
    pages.AddPressRow(kMainPage, kMainTable, kExportProfile, kExportProfile, [this](RegionHit) { ExportProfile(); });
    // The reset reloads the user macros, the one being recorded among them.
    pages.AddReleaseRow(kDefaults, kDefaults, [this](RegionHit) {
        if (context_.events.SettleUnsavedWork())
            RestoreDefaults();
    });
}

// A file without an exchange profile is refused: reading it anyway would turn the working
// settings into values nobody chose.
void ProfileCommands::ImportProfile() {
    const auto file = context_.dialogs.ChooseFileToOpen({kExchangeFilter, context_.session.Folders().AppDirectory, ""});
    if (!file)
        return;
    switch (orv::ImportProfile(*file, context_.session.Settings())) {
    case ExchangeResult::Done:
        break;
    case ExchangeResult::NoProfile:
        context_.notices.TellPathBelow(TextId::NoProfileInFile, *file);
        return;
    case ExchangeResult::CannotRead:
    case ExchangeResult::CannotWrite:
    case ExchangeResult::Busy:
        context_.notices.TellPathBelow(TextId::CannotReadFile, *file);
        return;
    }
    context_.host.Repaint();
}

void ProfileCommands::ExportProfile() {
    const auto file =
        context_.dialogs.ChooseFileToSave({kExchangeFilter, context_.session.Folders().AppDirectory, "ini"});
    if (!file)
        return;
    switch (orv::ExportProfile(context_.session.Settings(), *file)) {
    case ExchangeResult::Done:
        break;
    case ExchangeResult::Busy:
        context_.notices.Tell(TextId::FileBusy, *file);
        break;
    case ExchangeResult::NoProfile:
    case ExchangeResult::CannotRead:
    case ExchangeResult::CannotWrite:
        context_.notices.TellPathBelow(TextId::CannotWriteFile, *file);
        break;
    }
    context_.host.Repaint();
}

// One click would overwrite five profiles and the user macros for good, so the user is asked
// first.
void ProfileCommands::RestoreDefaults() {
    const Language language = context_.session.CurrentLanguage();
    if (!context_.dialogs.AskYesNo(context_.notices.Caption(), Text(TextId::RestoreDefaultsQuestion, language),
                                   language))
        return;
    const RestoreResult result = context_.session.RestoreDefaults([this] { context_.events.UserMacrosReplaced(); });
    for (const FileFault& fault : result.faults)
        ShowFault(fault);
    if (result.profilesReset)
        context_.notices.ProfileApplied(result.applied);
    context_.host.Repaint();
}

// A missing factory macro file has been shown already, as the macro files show it.
void ProfileCommands::ShowFault(const FileFault& fault) {
    switch (fault.kind) {
    case FileFault::Kind::Missing:
        break;
    case FileFault::Kind::Unreadable:
        context_.notices.TellPathBelow(TextId::CannotReadFile, fault.file);
        break;
    case FileFault::Kind::Unwritable:
        context_.notices.TellPathBelow(TextId::CannotWriteFile, fault.file);
        break;
    case FileFault::Kind::Busy:
        context_.notices.Tell(TextId::FileBusy, fault.file);
        break;
    }
}

}  // namespace orv
