#include "macro/MacroEditor.h"

#include <algorithm>

#include "common/Decimal.h"
#include "common/Texts.h"
#include "common/Utf.h"
#include "macro/EventMenu.h"
#include "macro/KeyCodes.h"
#include "macro/MacroFile.h"

namespace orv {

namespace {

constexpr int kMaxEditedEvents = 254;
constexpr uint16_t kInsertedEventDelay = 30;
constexpr int32_t kMaxRepeatCount = 65535;
constexpr int kLastSelectableMacro = MacroStore::kUserSlots - 1;
constexpr std::string_view kPressPrefix = "[↓]";
constexpr std::string_view kReleasePrefix = "[↑]";
constexpr std::string_view kDelayIndent = "    ";
constexpr std::string_view kDelayUnit = "ms";

bool IsUserSlot(int slot) { return slot >= 0 && slot < MacroStore::kUserSlots; }

int LineCountOf(const std::vector<std::string>& lines) { return static_cast<int>(lines.size()); }

std::string DelayLine(uint16_t delay) {
    return std::string(kDelayIndent) + FormatDecimal(delay) + std::string(kDelayUnit);
}

void MoveEvent(MacroSlot& slot, size_t from, size_t to) {
    slot.SetEvent(to, slot.EventKey(from), slot.EventAction(from), slot.Delay(from));
}

}  // namespace

MacroEditor::MacroEditor(const MacroEditorContext& context)
    : store_(context.store),
      macroMode_(context.macroMode),
      language_(context.language),
      capture_(context.capture),
      messages_(context.messages),
      window_(context.window),
      recorder_(context.store, context.clock) {}

MacroEditor::~MacroEditor() {
    if (recording_) {
        recorder_.Stop();
        capture_.Stop();
    }
}

void MacroEditor::ResetControls() { view_ = MacroEditorView{}; }

int MacroEditor::SelectedMacroLine() const {
    const int selected = store_.selectedMacro;
    return selected >= 0 && selected < LineCountOf(view_.macroLines) ? selected : -1;
}

void MacroEditor::InitClickedLine() {
    const int selected = store_.selectedMacro;
    const int events = IsUserSlot(selected) ? store_.User(selected).eventCount() : 0;
    clickedLine_ = events > 0 ? 2 * events - 2 : 0;
}

void MacroEditor::SetNameText(std::string text) { view_.nameText = std::move(text); }

void MacroEditor::SetRepeatText(std::string text) { view_.repeatText = std::move(text); }

// Only a line the list holds counts as a selection; anything else leaves the editor as it is.
void MacroEditor::OnMacroSelected(int line) {
    if (line < 0 || line >= LineCountOf(view_.macroLines)) {
        return;
    }
    store_.selectedMacro = line;
    view_.nameText = view_.macroLines[static_cast<size_t>(line)];
    RebuildEventList(line);
}

// As a list box does, a line the list does not hold leaves no line selected.
void MacroEditor::SelectEventLine(int line) {
    view_.eventSelection = line >= 0 && line < LineCountOf(view_.eventLines) ? line : -1;
}

void MacroEditor::SetEditText(std::string text) {
    if (view_.editIndex >= 0) {
        view_.editText = std::move(text);
    }
}

void MacroEditor::EndEdit(bool keep) {
    if (view_.editIndex < 0) {
        return;
    }
    const int line = view_.editIndex;
    if (keep && line < LineCountOf(view_.eventLines) && view_.editText != view_.eventLines[static_cast<size_t>(line)]) {
        view_.eventLines[static_cast<size_t>(line)] = view_.editText;
        SelectEventLine(line);
    }
    view_.editIndex = -1;
    view_.editText.clear();
    CommitDelayEdit();
}

// The name is cut to what a slot holds before it is looked for, so a long name typed twice
// finds the macro it made the first time instead of adding a second one of the same name. A
// new macro starts empty, repeat off, even in a slot that still holds an older macro's events.
// A delay being typed is kept for the macro it was typed in, as the focus leaving it would:
// selecting an existing macro by its name leaves the event list as it was.
void MacroEditor::AddMacro() {
    const std::u16string typed = Utf8ToUtf16(view_.nameText);
    const std::u16string_view name = MacroSlot::FittingName(typed);
    window_.Focus(EditorControl::MacroList);
    EndEdit(true);
    const int count = store_.macroCount;
    if (count >= MacroStore::kUserSlots || name.empty()) {
        return;
    }
    const int i = FindMacroByName(name);
    store_.selectedMacro = i;
    if (i == count) {
        MacroSlot& slot = store_.User(i);
        {
            const auto held = store_.lock.Hold();
            slot.SetName(name);
            slot.SetEventCount(0);
            slot.SetRepeatOn(0);
            slot.SetRepeatCount(1);
        }
        // The line counts and the repeat box show the new macro too, not the one shown before.
        RebuildEventList(i);
        ShowRepeatOff();
        view_.macroLines.push_back(Utf16ToUtf8(slot.name()));
        store_.macroCount = static_cast<int16_t>(count + 1);
    }
}

void MacroEditor::DeleteMacro() {
    const int s = SelectedMacroLine();
    if (recording_ || s < 0) {
        return;
    }
    const int count = store_.macroCount;
    {
        const auto held = store_.lock.Hold();
        for (int i = s; i + 1 < count; ++i) {
            store_.User(i) = store_.User(i + 1);
        }
        if (count > 0) {
            MacroSlot& freed = store_.User(count - 1);
            freed.SetRepeatOn(0);
            freed.SetRepeatCount(1);
            freed.SetEventCount(0);
            store_.macroCount = static_cast<int16_t>(count - 1);
        }
    }
    view_.macroLines.erase(view_.macroLines.begin() + s);
    const int next = std::max(s - 1, 0);
    store_.selectedMacro = next;
    if (!view_.macroLines.empty()) {
        view_.nameText = view_.macroLines[static_cast<size_t>(next)];
    } else {
        view_.nameText.clear();
        ShowRepeatOff();
    }
    RebuildEventList(next);
}

WriteResult MacroEditor::StoreRepeatCount() {
    int32_t value = ParseDecimal(view_.repeatText);
    if (value < 1) {
        value = 1;
        view_.repeatText = "1";
    } else if (value > kMaxRepeatCount) {
        value = kMaxRepeatCount;
        view_.repeatText = FormatDecimal(kMaxRepeatCount);
    }
    const int selected = store_.selectedMacro;
    if (IsUserSlot(selected)) {
        const auto held = store_.lock.Hold();
        store_.User(selected).SetRepeatCount(static_cast<uint16_t>(value));
    }
    return SaveUserMacroFile(store_);
}

void MacroEditor::ToggleRepeat() {
    const int selected = store_.selectedMacro;
    if (!IsUserSlot(selected)) {
        return;
    }
    MacroSlot& slot = store_.User(selected);
    {
        const auto held = store_.lock.Hold();
        slot.SetRepeatOn(slot.repeatOn() == 0 ? 1 : 0);
    }
    if (slot.repeatOn() != 0) {
        ShowRepeatOf(slot);
    } else {
        ShowRepeatOff();
    }
    window_.Repaint();
}

void MacroEditor::ToggleHoldMode() {
    macroMode_ = macroMode_ == 0 ? 1 : 0;
    window_.Repaint();
}

void MacroEditor::ToggleRecording() {
    window_.Focus(EditorControl::EventList);
    if (recording_) {
        StopRecording();
    } else {
        StartRecording();
    }
}

// Stopping never depends on the macro list: whatever happened to the list, the keyboard is
// given back.
void MacroEditor::StopRecording() {
    if (!recording_) {
        return;
    }
    recording_ = false;
    recorder_.Stop();
    capture_.Stop();
    window_.Repaint();
}

// Playback sees either the old macros or the new ones. A file that has gone missing since it
// was chosen leaves the macros as they were, and is told as a missing macro file always is.
MacroImport MacroEditor::ImportMacros(const std::filesystem::path& file) {
    StopRecording();
    const MacroImport imported = ImportMacroFile(file, store_);
    if (imported == MacroImport::Missing) {
        ShowMessage(TextId::FileMissing);
    }
    if (imported != MacroImport::Done) {
        return imported;
    }
    RefreshMacroList();
    window_.Repaint();
    return imported;
}

WriteResult MacroEditor::ExportMacros(const std::filesystem::path& file) const { return SaveMacroFile(file, store_); }

// An open in-place edit loses the focus to the menu and keeps its text, before the lines the
// menu will act on are worked out: committed later, it would write into whatever event the
// new click chose.
bool MacroEditor::ShowEventMenu(const EventListPointer& pointer) {
    if (recording_) {
        return false;
    }
    EndEdit(true);
    const int h = pointer.itemHeight;
    clickedLine_ = h == 0 ? 0 : (pointer.firstVisibleLine * h + pointer.cursorY - pointer.listTop) / h;
    SelectEventLine(clickedLine_);
    const int lines = LineCountOf(view_.eventLines);
    selEvent_ = view_.eventSelection / 2;
    return pointer.insideList && (clickedLine_ < lines || lines == 0);
}

bool MacroEditor::RunEventCommand(uint32_t commandId) {
    const std::optional<EventCommand> command = EventCommandForId(commandId);
    if (!command) {
        return false;
    }
    const int macro = SelectedMacroLine();
    if (recording_ || macro < 0) {
        return true;
    }
    switch (command->kind) {
    case EventCommandKind::InsertBefore:
        InsertMacroEvent(macro, selEvent_, command->key, command->action);
        RebuildEventList(macro);
        break;
    case EventCommandKind::InsertAfter:
        if (!view_.eventLines.empty()) {
            InsertMacroEvent(macro, selEvent_ + 1, command->key, command->action);
        } else {
            InsertMacroEvent(macro, 0, command->key, command->action);
            clickedLine_ = 0;
        }
        RebuildEventList(macro);
        break;
    case EventCommandKind::ModifyDelay:
        ModifyDelay();
        break;
    case EventCommandKind::Delete:
        DeleteMacroEvent();
        break;
    }
    return true;
}

void MacroEditor::RefreshMacroList() {
    view_.macroLines.clear();
    const int count = std::clamp<int>(store_.macroCount, 0, MacroStore::kUserSlots);
    for (int i = 0; i < count; ++i) {
        view_.macroLines.push_back(Utf16ToUtf8(store_.User(i).name()));
    }
    if (count > 0) {
        OnMacroSelected(std::min<int>(store_.selectedMacro, count - 1));
        return;
    }
    // Macros reloaded without one (a language or a file that has none): the name, events and
    // repeat count shown belonged to a macro that is gone, so the controls look as on a page
    // entered without macros.
    ResetControls();
    RebuildEventList(-1);
}

void MacroEditor::RebuildEventList(int slot) {
    downLines_ = 0;
    upLines_ = 0;
    ClearEventLines();
    if (!IsUserSlot(slot)) {
        return;
    }
    const MacroSlot& macro = store_.User(slot);
    const int events = macro.eventCount();
    if (events == 0) {
        return;
    }
    for (int k = 0; k < events; ++k) {
        AppendEventLines(slot, k);
    }
    if (macro.repeatOn() == 1) {
        ShowRepeatOf(macro);
    } else {
        ShowRepeatOff();
    }
}

int MacroEditor::FindMacroByName(std::u16string_view name) const {
    const int count = std::clamp<int>(store_.macroCount, 0, MacroStore::kUserSlots);
    for (int i = 0; i < count; ++i) {
        if (store_.User(i).name() == name) {
            return i;
        }
    }
    return count;
}

// A position beyond the last event inserts at the end, never behind unused events.
void MacroEditor::InsertMacroEvent(int slot, int position, uint8_t key, uint8_t action) {
    if (!IsUserSlot(slot)) {
        return;
    }
    MacroSlot& macro = store_.User(slot);
    const int count = macro.eventCount();
    if (count + 1 > kMaxEditedEvents) {
        ShowMessage(TextId::Overflow);
        return;
    }
    const int at = std::clamp(position, 0, count);
    {
        const auto held = store_.lock.Hold();
        macro.SetEventCount(static_cast<uint8_t>(count + 1));
        for (int k = count; k > at; --k) {
            MoveEvent(macro, static_cast<size_t>(k - 1), static_cast<size_t>(k));
        }
        macro.SetEvent(static_cast<size_t>(at), key, action, kInsertedEventDelay);
    }
    clickedLine_ += 2;
}

void MacroEditor::DeleteMacroEvent() {
    const int selected = SelectedMacroLine();
    if (!IsUserSlot(selected)) {
        return;
    }
    MacroSlot& macro = store_.User(selected);
    const int remaining = std::max(macro.eventCount() - 1, 0);
    {
        const auto held = store_.lock.Hold();
        macro.SetEventCount(static_cast<uint8_t>(remaining));
        for (int k = std::max(selEvent_, 0); k < remaining; ++k) {
            MoveEvent(macro, static_cast<size_t>(k + 1), static_cast<size_t>(k));
        }
    }
    clickedLine_ = clickedLine_ > 2 ? clickedLine_ - 2 : 0;
    RebuildEventList(selected);
}

void MacroEditor::ModifyDelay() {
    if (!view_.eventLines.empty() && clickedLine_ % 2 == 1) {
        BeginEdit();
    }
}

// The line's text up to "ms", read as a decimal number; the low byte is its remainder by 256
// and the high byte its quotient, each cut to 8 bits. No range is enforced: 70000 stores 4464,
// -5 stores 251.
void MacroEditor::CommitDelayEdit() {
    std::string text;
    if (clickedLine_ >= 0 && clickedLine_ < LineCountOf(view_.eventLines)) {
        text = view_.eventLines[static_cast<size_t>(clickedLine_)];
    }
    text = text.substr(0, text.find(kDelayUnit));
    const int32_t value = ParseDecimal(text);
    const auto low = static_cast<uint8_t>((value % 256) & 0xFF);
    const auto high = static_cast<uint8_t>((value / 256) & 0xFF);
    const int selected = SelectedMacroLine();
    if (IsUserSlot(selected) && selEvent_ >= 0 && selEvent_ < static_cast<int>(MacroSlot::kMaxEvents)) {
        const auto held = store_.lock.Hold();
        store_.User(selected).SetDelay(static_cast<size_t>(selEvent_), static_cast<uint16_t>(low | high << 8));
    }
    RebuildEventList(selected);
}

void MacroEditor::OnKeyMessage(KeyMessage message, uint8_t virtualKey) {
    if (!recording_) {
        return;
    }
    if (const std::optional<int> k = recorder_.Capture(message, virtualKey, downLines_)) {
        AppendEventLines(recorder_.RecordSlot(), *k);
    }
}

// The keyboard is captured before anything changes: when the system refuses, the user is told
// and the selected macro keeps its events.
void MacroEditor::StartRecording() {
    if (view_.macroLines.empty()) {
        return;
    }
    const int s = std::clamp(SelectedMacroLine(), 0, kLastSelectableMacro);
    if (!capture_.Start(*this)) {
        ShowMessage(TextId::RecordingUnavailable);
        return;
    }
    recording_ = true;
    recorder_.Start(s);
    downLines_ = 0;
    upLines_ = 0;
    MacroSlot& slot = store_.User(s);
    {
        const std::u16string name = slot.name();
        const auto held = store_.lock.Hold();
        slot = store_.Blank();
        slot.SetName(name);
        slot.SetRepeatOn(0);
        slot.SetRepeatCount(1);
    }
    store_.selectedMacro = s;
    ShowRepeatOff();
    ClearEventLines();
    window_.Repaint();
}

void MacroEditor::AppendEventLines(int slot, int k) {
    const MacroSlot& macro = store_.User(slot);
    const auto event = static_cast<size_t>(k);
    const std::string_view name = KeyName(macro.EventKey(event));
    if (k > 0) {
        view_.eventLines.push_back(DelayLine(macro.Delay(event - 1)));
    }
    switch (macro.EventAction(event)) {
    case MacroSlot::kPress:
        view_.eventLines.push_back(std::string(kPressPrefix) + std::string(name));
        ++downLines_;
        break;
    case MacroSlot::kRelease:
        view_.eventLines.push_back(std::string(kReleasePrefix) + std::string(name));
        ++upLines_;
        break;
    default:
        view_.eventLines.emplace_back(name);
        break;
    }
    window_.Repaint();
    SelectEventLine(recording_ ? LineCountOf(view_.eventLines) - 1 : clickedLine_);
}

// Emptying the list closes an open in-place edit without storing it: the line it covered is
// gone.
void MacroEditor::ClearEventLines() {
    view_.eventLines.clear();
    view_.eventSelection = -1;
    view_.editIndex = -1;
    view_.editText.clear();
}

void MacroEditor::ShowRepeatOf(const MacroSlot& slot) {
    view_.repeatText = FormatDecimal(slot.repeatCount());
    view_.repeatEnabled = true;
}

void MacroEditor::ShowRepeatOff() {
    view_.repeatText = "1";
    view_.repeatEnabled = false;
}

void MacroEditor::BeginEdit() {
    const int line = view_.eventSelection;
    if (line < 0) {
        return;
    }
    view_.editIndex = line;
    view_.editText = view_.eventLines[static_cast<size_t>(line)];
}

void MacroEditor::ShowMessage(TextId text) const {
    messages_.ShowMessage(Text(TextId::ProgramName, language_), Text(text, language_));
}

}  // namespace orv
