#pragma once
#include <string>
#include <vector>

namespace orv {

// The advanced page's four editor controls as the macro editor fills them (texts in UTF-8).
// The widgets show exactly this after every call into the editor, and hand what the user does
// back to the editor; they hold no state of their own.
struct MacroEditorView {
    // MacroList: the names of user macros 0 .. macroCount - 1. Its selected line is the store's
    // selected macro (MacroEditor::SelectedMacroLine).
    std::vector<std::string> macroLines;

    // EventList: a key line per event and a delay line between events, and the selected line.
    std::vector<std::string> eventLines;
    int eventSelection = -1;
    // The in-place edit over an event line: the line it covers (-1 while none is open) and
    // the text it holds. The widget opens its edit box with all of editText selected.
    int editIndex = -1;
    std::string editText;

    // MacroNameEdit.
    std::string nameText;

    // RepeatCountEdit.
    std::string repeatText;
    bool repeatEnabled = true;
};

}  // namespace orv
