#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "common/TempFolder.h"
#include "macro/MacroEditor.h"
#include "macro/MacroFile.h"
#include "platform/FakeKeyboardCapture.h"

namespace orv {
namespace {

using Lines = std::vector<std::string>;

class RecordingMessages : public MessageSink {
public:
    void ShowMessage(std::string_view caption, std::string_view text) override {
        shown.push_back(std::string(caption) + "|" + std::string(text));
    }
    std::vector<std::string> shown;
};

class RecordingWindow : public EditorWindow {
public:
    void Repaint() override { ++repaints; }
    void Focus(EditorControl control) override { focused.push_back(control); }
    int repaints = 0;
    std::vector<EditorControl> focused;
};

class SetTime : public TimeOfDay {
public:
    int32_t Milliseconds() override { return now; }
    int32_t now = 0;
};

struct Event {
    uint8_t key;
    uint8_t action;
    uint16_t delay;
};

// Command ids of the English menu.
constexpr uint32_t kForwardLeftDown = 32802;
constexpr uint32_t kBackwardLeftDown = 32809;
constexpr uint32_t kBackwardRightUp = 32812;
constexpr uint32_t kModifyDelay = 32780;
constexpr uint32_t kDelete = 32781;

class MacroEditorTest : public ::testing::Test {
protected:
    MacroEditorTest() { store_.userMacroFile = folder_ / "Macro_EN.dat"; }

    void SetMacro(int slot, const std::u16string& name, const std::vector<Event>& events, uint8_t repeatOn = 0,
                  uint16_t repeatCount = 1) {
        MacroSlot& macro = store_.User(slot);
        macro.SetName(name);
        for (size_t k = 0; k < events.size(); ++k) {
            macro.SetEvent(k, events[k].key, events[k].action, events[k].delay);
        }
        macro.SetEventCount(static_cast<uint8_t>(events.size()));
        macro.SetRepeatOn(repeatOn);
        macro.SetRepeatCount(repeatCount);
    }

    // The page entered with these macros, macro `selected` shown.
    void Open(int macroCount, int selected = 0) {
        store_.macroCount = static_cast<int16_t>(macroCount);
        store_.selectedMacro = selected;
        editor_.ResetControls();
        editor_.RefreshMacroList();
    }

    // A right-button release over event-list line `line` (16-pixel lines, no scrolling).
    bool RightClick(int line) { return editor_.ShowEventMenu({0, 16, 200 + 16 * line + 5, 200, true}); }

    static std::vector<Event> Events(int n) {
        std::vector<Event> events;
        for (int k = 0; k < n; ++k) {
            events.push_back(
                {static_cast<uint8_t>(0x04 + k % 26), static_cast<uint8_t>(1 + k % 2), static_cast<uint16_t>(100 + k)});
        }
        return events;
    }

    std::vector<uint8_t> Keys(int slot) const {
        std::vector<uint8_t> keys;
        for (size_t k = 0; k < store_.User(slot).eventCount(); ++k) {
            keys.push_back(store_.User(slot).EventKey(k));
        }
        return keys;
    }

    const MacroEditorView& View() const { return editor_.View(); }

    test::TempFolder folder_;
    MacroStore store_;
    Relaxed<int32_t> macroMode_{0};
    Language language_ = Language::English();
    test::FakeKeyboardCapture capture_;
    SetTime clock_;
    RecordingMessages messages_;
    RecordingWindow window_;
    MacroEditor editor_{{store_, macroMode_, language_, capture_, clock_, messages_, window_}};
};

TEST_F(MacroEditorTest, EventListShowsKeyLinesAndTheDelaysBetweenThem) {
    const struct {
        std::vector<Event> events;
        Lines lines;
        int down, up;
    } cases[] = {
        {{{0x04, 1, 100}, {0x04, 2, 30}}, {"[↓]A", "    100ms", "[↑]A"}, 1, 1},
        {{{0xE1, 1, 5}}, {"[↓]LSHIFT"}, 1, 0},
        {{{0xF0, 3, 0}, {0x35, 2, 7}, {0x1E, 1, 65535}, {0x27, 1, 9}},
         {"L-KEY", "    0ms", "[↑]NON-AVAILABLE", "    7ms", "[↓]1", "    65535ms", "[↓]0"},
         2,
         1},
    };
    for (const auto& c : cases) {
        SetMacro(0, u"m", c.events);
        Open(1);
        EXPECT_EQ(View().eventLines, c.lines);
        EXPECT_EQ(View().eventLines.size(), 2 * c.events.size() - 1);
        EXPECT_EQ(editor_.DownLines(), c.down);
        EXPECT_EQ(editor_.UpLines(), c.up);
    }
}

TEST_F(MacroEditorTest, RefreshShowsTheSelectedMacroWithItsRepeatCount) {
    SetMacro(0, u"first", Events(1));
    SetMacro(1, u"second", Events(2), 1, 250);
    Open(2, 7);  // beyond the list: the last line
    EXPECT_EQ(View().macroLines, (Lines{"first", "second"}));
    EXPECT_EQ(editor_.SelectedMacroLine(), 1);
    EXPECT_EQ(View().nameText, "second");
    EXPECT_EQ(View().eventLines.size(), 3u);
    EXPECT_EQ(View().repeatText, "250");
    EXPECT_TRUE(View().repeatEnabled);

    editor_.OnMacroSelected(0);
    EXPECT_EQ(store_.selectedMacro, 0);
    EXPECT_EQ(View().nameText, "first");
    EXPECT_EQ(View().repeatText, "1");
    EXPECT_FALSE(View().repeatEnabled);

    editor_.OnMacroSelected(5);  // no such line
    EXPECT_EQ(store_.selectedMacro, 0);

    Open(0);
    EXPECT_TRUE(View().macroLines.empty());
    EXPECT_EQ(editor_.SelectedMacroLine(), -1);

    // Reloaded without macros while one is shown: nothing of it stays in the controls.
    Open(2, 1);
    store_.macroCount = 0;
    editor_.RefreshMacroList();
    EXPECT_TRUE(View().macroLines.empty());
    EXPECT_TRUE(View().eventLines.empty());
    EXPECT_EQ(View().nameText, "");
    EXPECT_EQ(View().repeatText, "");
    EXPECT_EQ(editor_.DownLines() + editor_.UpLines(), 0);
}

// The line arithmetic of a right-button release: the clicked line counts from the list's
// scroll position, the menu opens only over the list on a line it holds (or on an empty list).
// Delete shows which event the commands act on.
TEST_F(MacroEditorTest, RightClickWorksOutTheLinesTheCommandsActOn) {
    SetMacro(0, u"m", Events(3));  // five lines
    const struct {
        EventListPointer pointer;
        bool menu;
        int clicked, selLine, selEvent;
    } cases[] = {
        {{0, 16, 205, 200, true}, true, 0, 0, 0},
        {{0, 16, 200 + 16 * 3, 200, true}, true, 3, 3, 1},
        {{2, 16, 200 + 16 * 2 + 15, 200, true}, true, 4, 4, 2},  // scrolled by two lines
        {{0, 16, 200 + 16 * 5, 200, true}, false, 5, -1, 0},     // below the last line
        {{0, 16, 221, 200, false}, false, 1, 1, 0},              // outside the list
        {{0, 0, 221, 200, true}, true, 0, 0, 0},                 // no item height
        {{0, 16, 200 - 20, 200, false}, false, -1, -1, 0},       // above: truncated towards zero
    };
    for (const auto& c : cases) {
        Open(1);
        EXPECT_EQ(editor_.ShowEventMenu(c.pointer), c.menu) << c.pointer.cursorY;
        EXPECT_EQ(editor_.ClickedLine(), c.clicked) << c.pointer.cursorY;
        EXPECT_EQ(View().eventSelection, c.selLine) << c.pointer.cursorY;
        EXPECT_EQ(View().eventLines.size(), 5u);
        std::vector<uint8_t> kept{0x04, 0x05, 0x06};
        kept.erase(kept.begin() + c.selEvent);
        editor_.RunEventCommand(kDelete);
        EXPECT_EQ(Keys(0), kept) << c.pointer.cursorY;
        SetMacro(0, u"m", Events(3));
    }

    SetMacro(0, u"m", {});
    Open(1);
    EXPECT_TRUE(RightClick(4));  // an empty list opens the menu anywhere in it
}

TEST_F(MacroEditorTest, InsertingMouseButtonEvents) {
    const struct {
        const char* what;
        int events, line;
        uint32_t command;
        std::vector<uint8_t> keys;
        int selected;
    } cases[] = {
        {"before event 1", 2, 2, kForwardLeftDown, {0x04, 0xF0, 0x05}, 4},
        {"before, from its delay line", 2, 1, kForwardLeftDown, {0xF0, 0x04, 0x05}, 3},
        {"after the last event", 2, 2, kBackwardLeftDown, {0x04, 0x05, 0xF0}, 4},
        {"after, into an empty list", 0, 3, kBackwardRightUp, {0xF1}, 0},
        {"before, into an empty list", 0, 0, kForwardLeftDown, {0xF0}, -1},
    };
    for (const auto& c : cases) {
        SetMacro(0, u"m", Events(c.events));
        Open(1);
        ASSERT_TRUE(RightClick(c.line)) << c.what;
        EXPECT_TRUE(editor_.RunEventCommand(c.command));
        EXPECT_EQ(Keys(0), c.keys) << c.what;
        EXPECT_EQ(View().eventLines.size(), 2 * c.keys.size() - 1) << c.what;
        EXPECT_EQ(View().eventSelection, c.selected) << c.what;
    }

    // The new event pauses 30 ms; the one before it keeps its own delay.
    SetMacro(0, u"m", Events(2));
    Open(1);
    RightClick(2);
    editor_.RunEventCommand(kForwardLeftDown);
    EXPECT_EQ(View().eventLines, (Lines{"[↓]A", "    100ms", "[↓]L-KEY", "    30ms", "[↑]B"}));
    RightClick(4);
    editor_.RunEventCommand(kBackwardRightUp);
    EXPECT_EQ(View().eventLines.back(), "[↑]R-KEY");
    EXPECT_EQ(View().eventLines[View().eventLines.size() - 2], "    101ms");
}

TEST_F(MacroEditorTest, A254thEventFitsAnd255thOverflows) {
    SetMacro(0, u"m", Events(253));
    Open(1);
    RightClick(0);
    editor_.RunEventCommand(kForwardLeftDown);
    EXPECT_EQ(store_.User(0).eventCount(), 254);
    EXPECT_TRUE(messages_.shown.empty());

    const auto before = store_.User(0).Bytes();
    RightClick(0);
    editor_.RunEventCommand(kBackwardLeftDown);
    EXPECT_EQ(messages_.shown, std::vector<std::string>{"ORV_GMouse|Overflow!!!"});
    EXPECT_EQ(store_.User(0).Bytes(), before);
}

TEST_F(MacroEditorTest, DeletingEvents) {
    SetMacro(0, u"m", Events(3));
    Open(1);
    RightClick(3);  // the delay line of event 1 deletes event 1
    editor_.RunEventCommand(kDelete);
    EXPECT_EQ(Keys(0), (std::vector<uint8_t>{0x04, 0x06}));
    EXPECT_EQ(store_.User(0).Delay(1), 102);
    EXPECT_EQ(editor_.ClickedLine(), 1);
    EXPECT_EQ(View().eventSelection, 1);

    RightClick(2);
    editor_.RunEventCommand(32836);  // the Chinese menu's Delete
    EXPECT_EQ(Keys(0), (std::vector<uint8_t>{0x04}));
    EXPECT_EQ(editor_.ClickedLine(), 0);
    RightClick(0);
    editor_.RunEventCommand(kDelete);
    RightClick(0);
    editor_.RunEventCommand(kDelete);
    EXPECT_EQ(store_.User(0).eventCount(), 0);
    EXPECT_TRUE(View().eventLines.empty());
}

TEST_F(MacroEditorTest, DelayEditStoresTheNumberBeforeMs) {
    const struct {
        const char* typed;
        uint16_t stored;
    } cases[] = {
        {"120ms", 120}, {"120", 120},    {" 120 ms", 120}, {"120abc", 120},
        {"abc", 0},     {"70000", 4464}, {"-5", 251},      {"1ms2ms", 1},
    };
    for (const auto& c : cases) {
        SetMacro(0, u"m", Events(2));
        Open(1);
        ASSERT_TRUE(RightClick(1));
        editor_.RunEventCommand(kModifyDelay);
        ASSERT_EQ(View().editIndex, 1);
        EXPECT_EQ(View().editText, "    100ms");
        editor_.SetEditText(c.typed);
        editor_.EndEdit(true);
        EXPECT_EQ(store_.User(0).Delay(0), c.stored) << c.typed;
        EXPECT_EQ(View().editIndex, -1);
        EXPECT_EQ(View().eventLines[1], "    " + std::to_string(c.stored) + "ms") << c.typed;
    }
}

TEST_F(MacroEditorTest, DelayEditOpensOnDelayLinesOnlyAndEscapeDiscards) {
    SetMacro(0, u"m", Events(2));
    Open(1);
    RightClick(2);
    editor_.RunEventCommand(kModifyDelay);
    EXPECT_EQ(View().editIndex, -1);  // a key line

    RightClick(1);
    editor_.RunEventCommand(32835);  // the Chinese menu's Modify Delay
    editor_.SetEditText("5");
    editor_.EndEdit(false);
    EXPECT_EQ(store_.User(0).Delay(0), 100);
    EXPECT_EQ(View().eventLines[1], "    100ms");
}

// A right click while a delay is being edited ends that edit first, so the typed delay goes
// to the event it was typed for and not to the one the new click chose; choosing another macro
// by its name does the same.
TEST_F(MacroEditorTest, RightClickDuringAnEditCommitsItToItsOwnEvent) {
    SetMacro(0, u"m", Events(3));
    Open(1);
    RightClick(1);
    editor_.RunEventCommand(kModifyDelay);
    editor_.SetEditText("77");
    RightClick(2);
    EXPECT_EQ(View().editIndex, -1);
    EXPECT_EQ(store_.User(0).Delay(0), 77);
    EXPECT_EQ(store_.User(0).Delay(1), 101);

    SetMacro(0, u"m", Events(3));
    SetMacro(1, u"other", Events(3));
    Open(2, 0);
    RightClick(1);
    editor_.RunEventCommand(kModifyDelay);
    editor_.SetEditText("55");
    editor_.SetNameText("other");
    editor_.AddMacro();
    editor_.EndEdit(true);
    EXPECT_EQ(store_.User(0).Delay(0), 55);
    EXPECT_EQ(store_.User(1).Delay(0), 100);
}

TEST_F(MacroEditorTest, ContextCommandsAreRefusedWithoutAMacroAndWhileRecording) {
    SetMacro(0, u"m", Events(1));
    Open(0);
    RightClick(0);
    EXPECT_EQ(editor_.SelectedMacroLine(), -1);
    EXPECT_TRUE(editor_.RunEventCommand(kForwardLeftDown));
    EXPECT_EQ(store_.User(0).eventCount(), 1);

    Open(1);
    RightClick(0);
    editor_.ToggleRecording();
    EXPECT_FALSE(RightClick(0));
    editor_.RunEventCommand(kForwardLeftDown);
    EXPECT_EQ(store_.User(0).eventCount(), 0);  // the recording's, not an inserted one
    EXPECT_FALSE(editor_.RunEventCommand(12345));
}

TEST_F(MacroEditorTest, AddingMacros) {
    SetMacro(0, u"Macro", Events(2), 1, 7);
    Open(1);

    editor_.SetNameText("");
    editor_.AddMacro();
    EXPECT_EQ(store_.macroCount, 1);
    EXPECT_EQ(window_.focused.back(), EditorControl::MacroList);

    editor_.SetNameText("macro");  // names differ by case
    editor_.AddMacro();
    EXPECT_EQ(store_.macroCount, 2);
    EXPECT_EQ(View().macroLines, (Lines{"Macro", "macro"}));
    EXPECT_EQ(editor_.SelectedMacroLine(), 1);
    EXPECT_TRUE(View().eventLines.empty());
    EXPECT_EQ(editor_.DownLines() + editor_.UpLines(), 0);
    EXPECT_EQ(View().repeatText, "1");  // not the 7 of the macro shown before
    EXPECT_FALSE(View().repeatEnabled);

    editor_.SetNameText("Macro");  // an existing name only selects its macro
    editor_.AddMacro();
    EXPECT_EQ(store_.macroCount, 2);
    EXPECT_EQ(store_.selectedMacro, 0);
    EXPECT_EQ(editor_.SelectedMacroLine(), 0);
    EXPECT_TRUE(View().eventLines.empty());  // not refreshed

    // Cut to 19 units before it is looked for: typed twice, it selects the first.
    editor_.SetNameText("abcdefghijklmnopqrstuvwxyz");
    editor_.AddMacro();
    editor_.AddMacro();
    EXPECT_EQ(store_.macroCount, 3);
    EXPECT_EQ(View().macroLines.back(), "abcdefghijklmnopqrs");
    EXPECT_EQ(store_.User(2).name(), u"abcdefghijklmnopqrs");

    for (int i = 3; i < 13; ++i) {
        editor_.SetNameText("n" + std::to_string(i));
        editor_.AddMacro();
    }
    EXPECT_EQ(store_.macroCount, 12);
    EXPECT_EQ(View().macroLines.size(), 12u);
}

// A slot beyond the macros in use may still hold a macro of an earlier, longer file.
TEST_F(MacroEditorTest, NewMacroStartsEmptyInAUsedSlot) {
    SetMacro(1, u"old", Events(5), 1, 9);
    Open(0);
    editor_.SetNameText("new");
    editor_.AddMacro();
    const MacroSlot& slot = store_.User(0);
    EXPECT_EQ(slot.name(), u"new");
    editor_.SetNameText("newer");
    editor_.AddMacro();
    EXPECT_EQ(store_.User(1).eventCount(), 0);
    EXPECT_EQ(store_.User(1).repeatOn(), 0);
    EXPECT_EQ(store_.User(1).repeatCount(), 1);
}

TEST_F(MacroEditorTest, DeletingMacroZeroOfThreeMovesTheOthersDown) {
    SetMacro(0, u"A", Events(1));
    SetMacro(1, u"B", Events(2), 1, 5);
    SetMacro(2, u"C", Events(3), 1, 7);
    const auto b = store_.User(1).Bytes();
    const auto c = store_.User(2).Bytes();
    Open(3, 0);

    editor_.DeleteMacro();
    EXPECT_EQ(store_.macroCount, 2);
    EXPECT_EQ(store_.User(0).Bytes(), b);
    EXPECT_EQ(store_.User(1).Bytes(), c);
    const MacroSlot& freed = store_.User(2);
    EXPECT_EQ(freed.name(), u"C");
    EXPECT_EQ(freed.EventKey(2), 0x06);
    EXPECT_EQ(freed.eventCount(), 0);
    EXPECT_EQ(freed.repeatOn(), 0);
    EXPECT_EQ(freed.repeatCount(), 1);

    EXPECT_EQ(View().macroLines, (Lines{"B", "C"}));
    EXPECT_EQ(editor_.SelectedMacroLine(), 0);
    EXPECT_EQ(store_.selectedMacro, 0);
    EXPECT_EQ(View().nameText, "B");
    EXPECT_EQ(View().eventLines.size(), 3u);
    EXPECT_EQ(View().repeatText, "5");
    EXPECT_EQ(store_.Blank().Bytes(), MacroSlot().Bytes());
}

TEST_F(MacroEditorTest, DeletingTheLastMacroEmptiesTheBoxes) {
    SetMacro(0, u"A", Events(2), 1, 5);
    SetMacro(1, u"B", Events(1));
    Open(2, 1);
    editor_.DeleteMacro();
    EXPECT_EQ(editor_.SelectedMacroLine(), 0);
    EXPECT_EQ(View().nameText, "A");
    editor_.DeleteMacro();
    EXPECT_EQ(store_.macroCount, 0);
    EXPECT_TRUE(View().macroLines.empty());
    EXPECT_EQ(View().nameText, "");
    EXPECT_EQ(View().repeatText, "1");
    EXPECT_FALSE(View().repeatEnabled);
    EXPECT_TRUE(View().eventLines.empty());
    editor_.DeleteMacro();  // nothing left
    EXPECT_EQ(store_.macroCount, 0);
}

TEST_F(MacroEditorTest, RepeatCountIsCorrectedShownAndSaved) {
    const struct {
        const char* typed;
        uint16_t stored;
        const char* shown;
    } cases[] = {
        {"0", 1, "1"}, {"65536", 65535, "65535"}, {"-5", 1, "1"},
        {"", 1, "1"},  {" 12x", 12, " 12x"},      {"65535", 65535, "65535"},
    };
    for (const auto& c : cases) {
        SetMacro(0, u"m", Events(1), 1, 3);
        Open(1);
        editor_.SetRepeatText(c.typed);
        EXPECT_TRUE(editor_.StoreRepeatCount());
        EXPECT_EQ(store_.User(0).repeatCount(), c.stored) << c.typed;
        EXPECT_EQ(View().repeatText, c.shown) << c.typed;

        MacroStore saved;
        ASSERT_EQ(LoadMacroFile(store_.userMacroFile, MacroTarget::User, saved, messages_), ini::FileState::Read);
        EXPECT_EQ(saved.macroCount, 1);
        EXPECT_EQ(saved.User(0).repeatCount(), c.stored) << c.typed;
    }
}

TEST_F(MacroEditorTest, RepeatAndHoldModeToggle) {
    SetMacro(0, u"m", Events(1), 0, 42);
    Open(1);
    editor_.ToggleRepeat();
    EXPECT_EQ(store_.User(0).repeatOn(), 1);
    EXPECT_EQ(View().repeatText, "42");
    EXPECT_TRUE(View().repeatEnabled);
    editor_.ToggleRepeat();
    EXPECT_EQ(store_.User(0).repeatOn(), 0);
    EXPECT_EQ(View().repeatText, "1");
    EXPECT_FALSE(View().repeatEnabled);

    editor_.ToggleHoldMode();
    EXPECT_EQ(macroMode_, 1);
    editor_.ToggleHoldMode();
    EXPECT_EQ(macroMode_, 0);
}

TEST_F(MacroEditorTest, ImportReplacesTheMacrosAndExportWritesThem) {
    SetMacro(0, u"one", Events(1));
    SetMacro(1, u"two", Events(2));
    store_.macroCount = 2;
    const auto file = folder_ / "chosen.dat";
    ASSERT_TRUE(editor_.ExportMacros(file));

    SetMacro(0, u"other", Events(4));
    Open(1);
    ASSERT_EQ(editor_.ImportMacros(file), MacroImport::Done);
    EXPECT_EQ(store_.macroCount, 2);
    EXPECT_EQ(View().macroLines, (Lines{"one", "two"}));
    EXPECT_EQ(editor_.SelectedMacroLine(), 1);
    EXPECT_EQ(View().eventLines.size(), 3u);
    EXPECT_EQ(store_.userMacroFile, folder_ / "Macro_EN.dat");

    // A file gone missing since it was chosen: told, and nothing changes.
    EXPECT_EQ(editor_.ImportMacros(folder_ / "gone.dat"), MacroImport::Missing);
    EXPECT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(store_.macroCount, 2);
    EXPECT_EQ(store_.User(0).name(), u"one");

    // A file without macros (any other INI file): nothing changes, and the caller tells.
    test::WriteBytes(folder_ / "notes.dat", "[Config7]\r\nK0=1\r\n");
    EXPECT_EQ(editor_.ImportMacros(folder_ / "notes.dat"), MacroImport::NoMacros);
    EXPECT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(store_.macroCount, 2);
    EXPECT_EQ(store_.User(0).name(), u"one");

    EXPECT_FALSE(editor_.ExportMacros(folder_ / "no folder" / "x.dat"));
}

// Unsaved edits are those that differ from what the user macro file holds, however they came.
TEST_F(MacroEditorTest, UnsavedEditsAreWhatDiffersFromTheUserMacroFile) {
    SetMacro(0, u"one", Events(3));
    store_.macroCount = 1;
    ASSERT_TRUE(SaveMacroFile(store_.userMacroFile, store_));
    ASSERT_EQ(ReplaceMacrosFromFile(store_.userMacroFile, MacroTarget::User, store_, messages_), ini::FileState::Read);
    Open(1);
    EXPECT_FALSE(store_.UserMacrosUnsaved());

    const struct {
        const char* edit;
        std::function<void()> act;
        bool unsaved;
    } edits[] = {
        {"repeat on and off again",
         [&] {
             editor_.ToggleRepeat();
             editor_.ToggleRepeat();
         },
         false},
        {"an event inserted and deleted again",
         [&] {
             RightClick(2);
             editor_.RunEventCommand(kForwardLeftDown);
             editor_.RunEventCommand(kDelete);
         },
         false},
        {"a delay",
         [&] {
             RightClick(1);
             editor_.RunEventCommand(kModifyDelay);
             editor_.SetEditText("7ms");
             editor_.EndEdit(true);
         },
         true},
        {"repeat on", [&] { editor_.ToggleRepeat(); }, true},
        {"a macro added",
         [&] {
             editor_.SetNameText("two");
             editor_.AddMacro();
         },
         true},
        {"the macro deleted", [&] { editor_.DeleteMacro(); }, true},
        {"another file imported",
         [&] {
             MacroStore other;
             other.macroCount = 0;
             ASSERT_TRUE(SaveMacroFile(folder_ / "other.dat", other));
             editor_.ImportMacros(folder_ / "other.dat");
         },
         true},
    };
    for (const auto& e : edits) {
        ASSERT_EQ(ReplaceMacrosFromFile(store_.userMacroFile, MacroTarget::User, store_, messages_),
                  ini::FileState::Read);
        Open(1);
        e.act();
        EXPECT_EQ(store_.UserMacrosUnsaved(), e.unsaved) << e.edit;
        // Storing the repeat count saves them all.
        ASSERT_TRUE(editor_.StoreRepeatCount()) << e.edit;
        EXPECT_FALSE(store_.UserMacrosUnsaved()) << e.edit;
        SetMacro(0, u"one", Events(3));
        store_.macroCount = 1;
        ASSERT_TRUE(SaveMacroFile(store_.userMacroFile, store_));
    }
}

class RecordingTest : public MacroEditorTest {
protected:
    void SetUp() override {
        SetMacro(0, u"zero", Events(2));
        SetMacro(1, u"one", Events(4), 1, 9);
        Open(2, 1);
    }
    void At(int32_t ms) { clock_.now = ms; }
};

TEST_F(RecordingTest, StartClearsTheSelectedMacroAndCapturesTheKeyboard) {
    editor_.ToggleRecording();
    EXPECT_TRUE(editor_.Recording());
    EXPECT_TRUE(capture_.Active());
    EXPECT_EQ(window_.focused.back(), EditorControl::EventList);
    EXPECT_EQ(editor_.Recorder().RecordSlot(), 1);
    const MacroSlot& slot = store_.User(1);
    EXPECT_EQ(slot.name(), u"one");
    EXPECT_EQ(slot.eventCount(), 0);
    EXPECT_EQ(slot.EventKey(0), 0);
    EXPECT_EQ(slot.repeatOn(), 0);
    EXPECT_EQ(slot.repeatCount(), 1);
    EXPECT_TRUE(View().eventLines.empty());
    EXPECT_EQ(View().repeatText, "1");
    EXPECT_FALSE(View().repeatEnabled);

    editor_.ToggleRecording();  // nothing typed
    EXPECT_FALSE(editor_.Recording());
    EXPECT_FALSE(capture_.Active());
    EXPECT_EQ(slot.eventCount(), 0);
    EXPECT_EQ(slot.name(), u"one");
    EXPECT_EQ(store_.Blank().Bytes(), MacroSlot().Bytes());
}

TEST_F(RecordingTest, KeysAppearAsTheyAreTypedAndTheLastEventPauses30ms) {
    editor_.ToggleRecording();
    At(1000);
    capture_.Down(0x41);
    At(1100);
    capture_.Down(0x42);
    EXPECT_EQ(View().eventLines, (Lines{"[↓]A", "    100ms", "[↓]B"}));
    EXPECT_EQ(View().eventSelection, 2);
    At(1100 + 70000);
    capture_.Down(0x42);  // auto-repeat
    capture_.Down(0x42);
    capture_.Up(0x41);
    At(1100 + 70000 + 5);
    capture_.Send(KeyMessage::SysKeyUp, 0x42);
    capture_.Up(0x43);  // went down before the start
    EXPECT_EQ(View().eventLines, (Lines{"[↓]A", "    100ms", "[↓]B", "    65535ms", "[↑]A", "    5ms", "[↑]B"}));
    EXPECT_EQ(View().eventSelection, 6);
    EXPECT_EQ(editor_.DownLines(), 2);
    EXPECT_EQ(editor_.UpLines(), 2);

    editor_.ToggleRecording();
    const MacroSlot& slot = store_.User(1);
    EXPECT_EQ(slot.eventCount(), 4);
    EXPECT_EQ(slot.Delay(3), 30);
    capture_.Down(0x44);  // after the stop the keyboard is the system's again
    EXPECT_EQ(slot.eventCount(), 4);
}

TEST_F(RecordingTest, The109thPressIsRefusedWhileReleasesAreStillTaken) {
    editor_.ToggleRecording();
    for (int i = 0; i < 99; ++i) {
        capture_.Down(0x41);
        capture_.Up(0x41);
    }
    for (uint8_t vk = 0x50; vk < 0x50 + 9; ++vk) {
        capture_.Down(vk);
    }
    EXPECT_EQ(editor_.DownLines(), 108);
    capture_.Up(0x50);
    capture_.Down(0x5A);  // the 109th press
    for (uint8_t vk = 0x51; vk < 0x50 + 9; ++vk) {
        capture_.Up(vk);
    }
    EXPECT_EQ(editor_.DownLines(), 108);
    EXPECT_EQ(editor_.UpLines(), 108);
    EXPECT_EQ(editor_.Recorder().RecordCount(), 216);
    editor_.ToggleRecording();
    EXPECT_EQ(store_.User(1).eventCount(), 216);
    EXPECT_EQ(View().eventLines.size(), 431u);
}

TEST_F(RecordingTest, RefusedCaptureIsToldAndChangesNothing) {
    capture_.refuse = true;
    const auto before = store_.User(1).Bytes();
    editor_.ToggleRecording();
    EXPECT_FALSE(editor_.Recording());
    EXPECT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(store_.User(1).Bytes(), before);
    EXPECT_EQ(View().eventLines.size(), 7u);
}

TEST_F(RecordingTest, DeleteIsRefusedAndAnImportStopsTheRecordingFirst) {
    editor_.ToggleRecording();
    editor_.DeleteMacro();
    EXPECT_EQ(store_.macroCount, 2);
    capture_.Down(0x41);

    store_.macroCount = 1;
    const auto file = folder_ / "one.dat";
    ASSERT_TRUE(editor_.ExportMacros(file));
    ASSERT_EQ(editor_.ImportMacros(file), MacroImport::Done);
    EXPECT_FALSE(editor_.Recording());
    EXPECT_FALSE(capture_.Active());
    EXPECT_EQ(View().macroLines, Lines{"zero"});
}

TEST_F(RecordingTest, StopWorksEvenWhenTheMacroListHasEmptied) {
    editor_.ToggleRecording();
    Open(0);  // e.g. an empty file imported by other means
    editor_.ToggleRecording();
    EXPECT_FALSE(editor_.Recording());
    EXPECT_FALSE(capture_.Active());
}

TEST_F(RecordingTest, AnEditorGoneWhileRecordingGivesTheKeyboardBack) {
    {
        MacroEditor other({store_, macroMode_, language_, capture_, clock_, messages_, window_});
        other.RefreshMacroList();
        other.ToggleRecording();
        capture_.Down(0x41);
        ASSERT_TRUE(capture_.Active());
    }
    EXPECT_FALSE(capture_.Active());
    EXPECT_EQ(store_.User(1).eventCount(), 1);
}

}  // namespace
}  // namespace orv
