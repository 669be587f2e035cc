#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "common/IniFile.h"
#include "common/Language.h"
#include "common/Messages.h"
#include "common/Relaxed.h"
#include "common/Texts.h"
#include "common/TimeOfDay.h"
#include "common/WriteResult.h"
#include "macro/MacroEditorView.h"
#include "macro/MacroFile.h"
#include "macro/MacroRecorder.h"
#include "macro/MacroStore.h"
#include "platform/KeyboardCapture.h"

namespace orv {

enum class EditorControl : uint8_t { MacroList, EventList };

// What the editor asks of the window besides the controls' contents.
class EditorWindow {
public:
    virtual ~EditorWindow() = default;
    // The whole main window: the page shows the line counters and the pressed looks of the
    // record, repeat and hold-mode controls.
    virtual void Repaint() = 0;
    virtual void Focus(EditorControl control) = 0;
};

// Where the right button was released, in the event list's terms. Positions are in one
// coordinate system (the screen's, say).
struct EventListPointer {
    int firstVisibleLine = 0;  // the list's scroll position
    int itemHeight = 0;
    int cursorY = 0;
    int listTop = 0;          // top of the list's client area
    bool insideList = false;  // the cursor lies in the list's client area
};

struct MacroEditorContext {
    MacroStore& store;
    Relaxed<int32_t>& macroMode;  // of the working profile
    const Language& language;
    KeyboardCapture& capture;
    TimeOfDay& clock;
    MessageSink& messages;
    EditorWindow& window;
};

// The macro editor of the advanced page and its recording: every rule of the editor, on the
// macro store and on a model of the page's controls (View). All calls come from the window's
// thread; the store's slot lock keeps each change whole for the playback thread.
class MacroEditor : public KeySink {
public:
    explicit MacroEditor(const MacroEditorContext& context);
    // Gives the keyboard back if a recording still runs; the window is not called any more.
    ~MacroEditor() override;
    MacroEditor(const MacroEditor&) = delete;
    MacroEditor& operator=(const MacroEditor&) = delete;

    const MacroEditorView& View() const { return view_; }
    bool Recording() const { return recording_; }
    int DownLines() const { return downLines_; }
    int UpLines() const { return upLines_; }
    int ClickedLine() const { return clickedLine_; }
    // The macro list's selected line: the store's selected macro while the list holds it, else
    // -1. The store's selection is the only one; the list and the context commands read it.
    int SelectedMacroLine() const;
    const MacroRecorder& Recorder() const { return recorder_; }

    // The controls as they are created each time the advanced page is entered: empty, the
    // repeat box enabled. The page then runs RefreshMacroList.
    void ResetControls();
    // Once the store is loaded at start-up: the key line of the selected macro's last event.
    void InitClickedLine();

    // What the user does in the controls.
    void SetNameText(std::string text);
    void SetRepeatText(std::string text);
    void OnMacroSelected(int line);
    void SelectEventLine(int line);
    void SetEditText(std::string text);
    // Return or focus loss keep the edit (true), Escape discards it (false); scrolling or
    // resizing the list keeps it too. Either way the delay line is committed from its text.
    void EndEdit(bool keep);

    // The page's skinned controls.
    void AddMacro();
    void DeleteMacro();
    // How writing the user macro file went.
    WriteResult StoreRepeatCount();
    void ToggleRepeat();
    void ToggleHoldMode();
    void ToggleRecording();
    // Ends a running recording as the record control would. The window calls it whenever the
    // keyboard must be given back: the window hides, the program exits, the page is left, the
    // user macros are about to be replaced (import, language switch, defaults).
    void StopRecording();

    // Replaces the user macros with those of file (ImportMacroFile). A missing file is reported
    // and changes nothing; a file without macros or an unreadable one changes nothing and says
    // nothing (the caller tells the user, naming the file).
    MacroImport ImportMacros(const std::filesystem::path& file);
    // Writes the user macros to file.
    WriteResult ExportMacros(const std::filesystem::path& file) const;

    // A right-button release over the window while the advanced page is shown: the line
    // bookkeeping the context commands act on. True when the context menu is to open at the
    // cursor.
    bool ShowEventMenu(const EventListPointer& pointer);
    // A command of the context menu, by its id in either language. False for an id that is
    // none of them.
    bool RunEventCommand(uint32_t commandId);

    // The operations the controls' actions are built from.
    void RefreshMacroList();
    void RebuildEventList(int slot);
    // Index of the first user macro named exactly name, or macroCount if none.
    int FindMacroByName(std::u16string_view name) const;
    void InsertMacroEvent(int slot, int position, uint8_t key, uint8_t action);
    void DeleteMacroEvent();
    void ModifyDelay();
    void CommitDelayEdit();

    // A keystroke captured while recording.
    void OnKeyMessage(KeyMessage message, uint8_t virtualKey) override;

private:
    void StartRecording();
    void AppendEventLines(int slot, int k);
    void ClearEventLines();
    void ShowRepeatOf(const MacroSlot& slot);
    void ShowRepeatOff();
    void BeginEdit();
    void ShowMessage(TextId text) const;

    MacroStore& store_;
    Relaxed<int32_t>& macroMode_;
    const Language& language_;
    KeyboardCapture& capture_;
    MessageSink& messages_;
    EditorWindow& window_;
    MacroRecorder recorder_;
    MacroEditorView view_;

    bool recording_ = false;
    int downLines_ = 0;
    int upLines_ = 0;
    int clickedLine_ = 0;
    // The event the context menu's commands act on, and a delay edit it opened stores into.
    int selEvent_ = 0;
};

}  // namespace orv
