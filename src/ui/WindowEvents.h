#pragma once
#include <functional>
#include <vector>

#include "common/Language.h"

namespace orv {

// What happens to the window that its features follow, and what features ask of each other
// without knowing each other. The window raises the first four; a feature that replaces the
// user macros or switches the language raises the next two. Handlers run on the window's thread
// in the order they were registered.
class WindowEvents {
public:
    using Handler = std::function<void()>;

    // The window is minimised, hidden or ends: what the user can only stop on the window (a
    // recording that has the keyboard) stops.
    void OnOutOfSight(Handler handler) { outOfSight_.push_back(std::move(handler)); }
    void OutOfSight() const { Run(outOfSight_); }
    // The window goes to the notification area, is hidden by the program, or ends: what shows
    // beside it (a function menu) goes with it.
    void OnPutAway(Handler handler) { putAway_.push_back(std::move(handler)); }
    void PutAway() const { Run(putAway_); }
    // The utility ends: a feature's threads stop before what they read goes.
    void OnEnding(Handler handler) { ending_.push_back(std::move(handler)); }
    void Ending() const { Run(ending_); }

    // Before something would lose what the user has not saved (the user macros are replaced,
    // the utility ends): a guard settles it, asking the user if need be. False when one of them
    // says the action must not go on.
    void GuardUnsavedWork(std::function<bool()> guard) { guards_.push_back(std::move(guard)); }
    bool SettleUnsavedWork() const;

    // The user macros in the store have been replaced (a language switch, the factory reset).
    void OnUserMacrosReplaced(Handler handler) { macrosReplaced_.push_back(std::move(handler)); }
    void UserMacrosReplaced() const { Run(macrosReplaced_); }
    // The language, the skin layout and the user macros are those of language now.
    void OnLanguageChanged(std::function<void(Language)> handler) { languageChanged_.push_back(std::move(handler)); }
    void LanguageChanged(Language language) const;

private:
    static void Run(const std::vector<Handler>& handlers);

    std::vector<Handler> outOfSight_;
    std::vector<Handler> putAway_;
    std::vector<Handler> ending_;
    std::vector<std::function<bool()>> guards_;
    std::vector<Handler> macrosReplaced_;
    std::vector<std::function<void(Language)>> languageChanged_;
};

}  // namespace orv
