#pragma once
#include <QObject>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <memory>

#include "common/Texts.h"
#include "platform/FrontWindow.h"
#include "settings/ProgramFollower.h"
#include "settings/ProgramRules.h"

namespace orv {

// Profiles that follow the program in front, in the window: the system's watch tells of each
// change of front window on its own thread, the change is taken on the window's thread, and the
// follower's switch goes through the window as a profile click and APPLY. The watch runs only
// while following is on, so a user without rules pays nothing for it.
class ProgramProfiles : public QObject {
    Q_OBJECT
public:
    struct Hooks {
        // Chooses profile n and applies it, as the profile's button and APPLY do.
        std::function<void(int32_t n)> chooseAndApply;
        // The profile applied to the mouse now.
        std::function<int32_t()> inUse;
        // Tells the user of a file it could not use, in the language.
        std::function<void(TextId text, const std::filesystem::path& file)> tell;
        // Starts the system's watch; the system's own unless replaced (tests drive the changes).
        std::function<std::unique_ptr<FrontWindowWatch>(FrontWindowWatch::Changed, FrontWatchUnavailable&)> watch;
    };

    ProgramProfiles(std::filesystem::path rulesFile, Hooks hooks, QObject* parent = nullptr);
    ~ProgramProfiles() override;

    // Reads the rules file and watches while following is on. A damaged or unreadable file is
    // told once and counts as no rules.
    void Load();

    const ProgramRules& Rules() const { return follower_.Rules(); }
    const std::filesystem::path& RulesFile() const { return rulesFile_; }
    // Why no watch runs although following is on (None while one runs or following is off).
    FrontWatchUnavailable Unavailable() const { return unavailable_; }
    // The rules file could not be used; the dialog shows it and changes nothing.
    RulesFound FileState() const { return found_; }

    // Tells the user of the rules file, through the window.
    void Tell(TextId text) { hooks_.tell(text, rulesFile_); }

    // One change of the rules file; the follower takes the rules it then holds.
    RulesSaved Edit(const std::function<bool(ProgramRules&)>& edit);

    // A change of front window, as the watch tells it (tests call it themselves).
    void FrontChanged(const FrontProgram& front);

    // The user chose or applied a profile himself: it stays until the next change of program.
    void UserChoseProfile() { follower_.UserChoseProfile(); }

private:
    void Take(const RulesRead& read);
    void Schedule();

    std::filesystem::path rulesFile_;
    Hooks hooks_;
    ProgramFollower follower_;
    QTimer due_;
    RulesFound found_ = RulesFound::Missing;
    bool toldUnusable_ = false;
    FrontWatchUnavailable unavailable_ = FrontWatchUnavailable::None;
    // Last: it ends first, so no change arrives for a follower already gone.
    std::unique_ptr<FrontWindowWatch> watch_;
};

}  // namespace orv
