#pragma once
#include <QMenu>
#include <functional>
#include <memory>

#include "skin/SkinLayout.h"
#include "ui/MainWindowPages.h"
#include "ui/PageModel.h"
#include "ui/PageState.h"
#include "ui/UserDialogs.h"
#include "ui/WindowFeature.h"

class QWidget;

namespace orv {

class MessageSink;
class Session;
class UserNotices;
class WindowEvents;
class WindowHost;

// What the window is built from once its skin is loaded and the macros are read: the pages, the
// dialogs the features ask through, the features plugged into both, and the window's own system
// menu with the features' entries. Each is made from those before it in one constructor, so they
// end in the reverse order: the menu first, then the features, then what they use.
class WindowParts {
public:
    struct Surroundings {
        Session& session;
        QWidget& window;
        WindowHost& host;
        WindowEvents& events;
        UserNotices& notices;
        MessageSink& messages;
        // The About entry of the system menu.
        std::function<void()> showAbout;
    };

    // Without dialogs of their own the features ask through the window's.
    WindowParts(const Surroundings& around, SkinLayout skin, std::unique_ptr<UserDialogs> dialogs);
    WindowParts(const WindowParts&) = delete;
    WindowParts& operator=(const WindowParts&) = delete;

    MainWindowPages& Pages() { return pages_; }
    PageState& State() { return state_; }
    const SkinLayout& Skin() const { return skin_; }
    QMenu& SystemMenu() { return systemMenu_; }

private:
    void CreateFeatures();
    void AddSystemMenu(const Surroundings& around);

    SkinLayout skin_;
    PageState state_;
    PageModel model_;
    MainWindowPages pages_;
    std::unique_ptr<UserDialogs> dialogs_;
    FeatureSet features_;
    QMenu systemMenu_;
};

}  // namespace orv
