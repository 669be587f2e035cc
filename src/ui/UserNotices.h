#pragma once
#include <filesystem>
#include <string>

#include "common/Language.h"
#include "common/Texts.h"
#include "common/WriteResult.h"

namespace orv {

class MessageSink;
struct ApplyResult;

// What the window tells the user in message boxes, in the language of the moment. The troubles
// that come back with every click (a mouse that takes no reports, a config.ini that cannot be
// read or written, a desktop without a notification area) are said once each, until they go
// away: a box at every click would tell the user nothing new.
class UserNotices {
public:
    // caption: the program's name, the caption of every box.
    UserNotices(MessageSink& messages, const Language& language, std::filesystem::path configPath, std::string caption);

    // An apply (or the factory reset's): a mouse that took no report is said once until an
    // apply reaches it again, a config.ini not written as ProfileSaved says it.
    void ProfileApplied(const ApplyResult& result);
    // A save of config.ini: a failure is said once until a save succeeds again, a file another
    // program keeps locked told apart from one that cannot be written.
    void ProfileSaved(WriteResult saved);
    // config.ini could not be read.
    void ConfigUnreadable();
    // The window was minimised because the desktop shows no notification area.
    void NoTray();

    // A message box; %1 of the text names the file.
    void Tell(TextId text) const;
    void Tell(TextId text, const std::filesystem::path& file) const;
    // A message box of the text with the file's path on a line below it.
    void TellPathBelow(TextId text, const std::filesystem::path& file) const;
    const std::string& Caption() const { return caption_; }

private:
    MessageSink& messages_;
    const Language& language_;
    std::filesystem::path configPath_;
    std::string caption_;
    bool unreachedSaid_ = false;
    WriteResult lastSaved_ = WriteResult::Kind::Written;
    bool configUnreadableSaid_ = false;
    bool noTraySaid_ = false;
};

}  // namespace orv
