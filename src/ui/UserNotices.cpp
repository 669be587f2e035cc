#include "ui/UserNotices.h"

#include "common/Messages.h"
#include "common/Utf.h"
#include "settings/ApplyProfile.h"
#include "ui/UiText.h"

namespace orv {

UserNotices::UserNotices(MessageSink& messages, const Language& language, std::filesystem::path configPath,
                         std::string caption)
    : messages_(messages), language_(language), configPath_(std::move(configPath)), caption_(std::move(caption)) {}

void UserNotices::ProfileApplied(const ApplyResult& result) {
    const bool unreached = result.reportsFailed > 0;
    if (unreached && !unreachedSaid_)
        Tell(TextId::MouseUnreachable);
    unreachedSaid_ = unreached;
    ProfileSaved(result.saved);
}

void UserNotices::ProfileSaved(WriteResult saved) {
    if (!saved && saved != lastSaved_)
        Tell(saved.Busy() ? TextId::FileBusy : TextId::SettingsNotSaved, configPath_);
    lastSaved_ = saved;
}

void UserNotices::ConfigUnreadable() {
    if (!configUnreadableSaid_) {
        configUnreadableSaid_ = true;
        Tell(TextId::ConfigUnreadable, configPath_);
    }
}

void UserNotices::NoTray() {
    if (!noTraySaid_) {
        noTraySaid_ = true;
        Tell(TextId::NoTrayMinimises);
    }
}

void UserNotices::Tell(TextId text) const { messages_.ShowMessage(caption_, Text(text, language_)); }

void UserNotices::Tell(TextId text, const std::filesystem::path& file) const {
    const QString filled = UiText(text, language_).arg(QString::fromStdString(PathToUtf8(file)));
    messages_.ShowMessage(caption_, filled.toStdString());
}

void UserNotices::TellPathBelow(TextId text, const std::filesystem::path& file) const {
    messages_.ShowMessage(caption_, std::string(Text(text, language_)) + "\n" + PathToUtf8(file));
}

}  // namespace orv
