#pragma once
#include <string_view>

#include "common/Messages.h"
#include "macro/MacroEditor.h"
#include "platform/Launcher.h"

namespace orv::test {

// Stand-ins for the parts a test or fuzz run has no use for: they take every call and do nothing.

class NoMessages : public MessageSink {
public:
    void ShowMessage(std::string_view, std::string_view) override {}
};

class NoEditorWindow : public EditorWindow {
public:
    void Repaint() override {}
    void Focus(EditorControl) override {}
};

class NoLauncher : public Launcher {
public:
    void Launch(Program) override {}
};

}  // namespace orv::test
