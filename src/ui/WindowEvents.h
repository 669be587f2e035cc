#pragma once
#include <functional>
#include <vector>

#include "common/Language.h"
#include "common/Texts.h"

namespace orv {

// An entry a feature adds to the tray menu or the window's system menu: its caption in the
// language of the menu, and what choosing it does.
struct MenuEntry {
    TextId caption;
    std::function<void()> act;
};

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

    // Entries of the tray menu, between "Show Window" and "Exit Driver", and of the system menu,
    // above the About entry; in the order added. The menus are made once the features are.
    void AddTrayEntry(MenuEntry entry) { trayEntries_.push_back(std::move(entry)); }
    void AddSystemMenuEntry(MenuEntry entry) { systemMenuEntries_.push_back(std::move(entry)); }
    const std::vector<MenuEntry>& TrayEntries() const { return trayEntries_; }
    const std::vector<MenuEntry>& SystemMenuEntries() const { return systemMenuEntries_; }

private:
    static void Run(const std::vector<Handler>& handlers);

    std::vector<Handler> outOfSight_;
    std::vector<Handler> putAway_;
    std::vector<Handler> ending_;
    std::vector<std::function<bool()>> guards_;
    std::vector<Handler> macrosReplaced_;
    std::vector<std::function<void(Language)>> languageChanged_;
    std::vector<MenuEntry> trayEntries_;
    std::vector<MenuEntry> systemMenuEntries_;
};

}  // namespace orv
