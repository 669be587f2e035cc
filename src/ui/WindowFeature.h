#pragma once
#include <memory>
#include <vector>

class QWidget;

namespace orv {

class MainWindowPages;
class MessageSink;
class Session;
class UserDialogs;
class UserNotices;
class WindowEvents;
class WindowHost;
struct SkinLayout;

// What the window gives each of its features.
struct FeatureContext {
    // The mouse, the records and every profile operation.
    Session& session;
    // The window's skin layout; a language switch reads the other language's into it.
    SkinLayout& skin;
    // The click rows, the page and drawing hooks, and the fonts, pictures, model and state.
    MainWindowPages& pages;
    // What happens to the window, the questions before unsaved work would be lost, and the
    // entries of the tray menu and the system menu.
    WindowEvents& events;
    WindowHost& host;
    // The parent of a feature's controls, menus and dialogs.
    QWidget& window;
    UserNotices& notices;
    UserDialogs& dialogs;
    MessageSink& messages;
};

// A part of the window with controls of its own (the function menus, the macro editor, the
// exchange and reset controls, the language buttons, the lighting preview). It is made from a
// FeatureContext once the window has its skin, pages and macros, and plugs itself in from its
// constructor: its rows into the pages' click tables, its drawing into the frame, its answers to
// the window's events. Nothing else of the window knows it.
class WindowFeature {
public:
    virtual ~WindowFeature() = default;
};

// The window's features, made by one line each. A feature may rely on what the context holds for
// as long as it lives, so the set is cleared before any of that goes, the last made first.
class FeatureSet {
public:
    explicit FeatureSet(const FeatureContext& context) : context_(context) {}
    ~FeatureSet() { Clear(); }
    FeatureSet(const FeatureSet&) = delete;
    FeatureSet& operator=(const FeatureSet&) = delete;

    template <typename Feature>
    void Add() {
        features_.push_back(std::make_unique<Feature>(context_));
    }
    void Clear() {
        while (!features_.empty())
            features_.pop_back();
    }

private:
    FeatureContext context_;
    std::vector<std::unique_ptr<WindowFeature>> features_;
};

}  // namespace orv
