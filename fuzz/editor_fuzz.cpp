// Drives the macro editor with arbitrary sequences of what a user does on the advanced page,
// with arbitrary texts in the delay edit and the repeat box: a committed delay is the decimal
// number its line starts with, cut to 16 bits as the editor defines it; a stored repeat count
// lies in 1..65535; no selection or edit ever points outside the lists or the store.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/Decimal.h"
#include "common/Messages.h"
#include "common/Relaxed.h"
#include "common/TimeOfDay.h"
#include "macro/EventMenu.h"
#include "macro/MacroEditor.h"
#include "fakes/Quiet.h"
#include "platform/FakeKeyboardCapture.h"
#include "FuzzCheck.h"
#include "FuzzInput.h"

namespace {

using namespace orv;
using fuzz::Input;

class SetTime : public TimeOfDay {
public:
    int32_t Milliseconds() override { return now; }
    int32_t now = 0;
};

// Every command id of both menus, the English "Modify Delay" first.
std::vector<uint32_t> CommandIds() {
    std::vector<uint32_t> ids{0};
    auto collect = [&](auto&& self, std::span<const EventMenuItem> items) -> void {
        for (const EventMenuItem& item : items) {
            if (item.OpensSubMenu()) {
                self(self, item.subMenu);
                continue;
            }
            if (item.command.kind == EventCommandKind::ModifyDelay) {
                ids[0] = item.englishId;
            }
            ids.push_back(item.englishId);
            ids.push_back(item.chineseId);
        }
    };
    collect(collect, EventMenuItems());
    return ids;
}

// The delay the editor stores for the text of a delay line.
uint16_t DelayFor(std::string_view line) {
    const int32_t value = ParseDecimal(line.substr(0, line.find("ms")));
    const auto low = static_cast<uint8_t>((value % 256) & 0xFF);
    const auto high = static_cast<uint8_t>((value / 256) & 0xFF);
    return static_cast<uint16_t>(low | high << 8);
}

void CheckBounds(const MacroEditor& editor, const MacroStore& store) {
    const MacroEditorView& view = editor.View();
    const auto lines = [](const std::vector<std::string>& l) { return static_cast<int>(l.size()); };
    FUZZ_CHECK(store.macroCount >= 0 && store.macroCount <= MacroStore::kUserSlots);
    FUZZ_CHECK(lines(view.macroLines) <= MacroStore::kUserSlots);
    FUZZ_CHECK(editor.SelectedMacroLine() >= -1 && editor.SelectedMacroLine() < lines(view.macroLines));
    FUZZ_CHECK(view.eventSelection >= -1 && view.eventSelection < lines(view.eventLines));
    FUZZ_CHECK(view.editIndex >= -1 && view.editIndex < lines(view.eventLines));
    for (int i = 0; i < MacroStore::kUserSlots; ++i) {
        FUZZ_CHECK(store.User(i).eventCount() <= 254 || editor.Recording());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::vector<uint32_t> commandIds = CommandIds();
    Input in(data, size);

    MacroStore store;
    // Saving fails at once: the folder does not exist, and no run touches the disk.
    store.userMacroFile = "/nonexistent-orv-fuzz/Macro_EN.dat";
    const int macros = in.Byte() % 4;
    for (int i = 0; i < macros; ++i) {
        MacroSlot& slot = store.User(i);
        slot.SetName(i == 0 ? u"a" : i == 1 ? u"b" : u"c");
        const int events = in.Byte() % 6;
        for (int k = 0; k < events; ++k) {
            slot.SetEvent(static_cast<size_t>(k), static_cast<uint8_t>(0x04 + k), static_cast<uint8_t>(1 + k % 2),
                          static_cast<uint16_t>(in.Byte() * 7));
        }
        slot.SetEventCount(static_cast<uint8_t>(events));
        slot.SetRepeatOn(in.Byte() % 2);
        slot.SetRepeatCount(1);
    }
    store.macroCount = static_cast<int16_t>(macros);
    store.selectedMacro = in.Byte() % 4;

    Relaxed<int32_t> macroMode{0};
    const Language language = Language::English();
    test::FakeKeyboardCapture capture;
    SetTime clock;
    test::NoMessages messages;
    test::NoEditorWindow window;
    MacroEditor editor({store, macroMode, language, capture, clock, messages, window});
    editor.ResetControls();
    editor.RefreshMacroList();

    for (int steps = 0; steps < 64 && !in.Empty(); ++steps) {
        switch (in.Byte() % 12) {
        case 0: {
            editor.SetRepeatText(in.Text());
            const int32_t typed = ParseDecimal(editor.View().repeatText);
            const int selected = store.selectedMacro;
            editor.StoreRepeatCount();
            const int32_t kept = std::clamp<int32_t>(typed, 1, 65535);
            FUZZ_CHECK(editor.View().repeatText == (typed == kept ? editor.View().repeatText : FormatDecimal(kept)));
            if (selected >= 0 && selected < MacroStore::kUserSlots) {
                FUZZ_CHECK(store.User(selected).repeatCount() == kept);
            }
            break;
        }
        case 1: {
            // A right click on a line, "Modify Delay", a text, and the edit's end.
            const int line = in.Byte() % 16;
            editor.ShowEventMenu({0, 16, 200 + 16 * line + 3, 200, true});
            editor.RunEventCommand(commandIds[0]);
            editor.SetEditText(in.Text());
            const bool keep = in.Byte() % 2 == 0;
            const MacroEditorView& view = editor.View();
            const bool open = view.editIndex >= 0;
            const int clicked = editor.ClickedLine();
            std::string committed;
            if (clicked >= 0 && clicked < static_cast<int>(view.eventLines.size())) {
                committed = keep && view.editIndex == clicked ? view.editText : view.eventLines[clicked];
            }
            const int macro = editor.SelectedMacroLine();
            const int event = view.editIndex / 2;
            editor.EndEdit(keep);
            if (open && macro >= 0 && event >= 0 && event < static_cast<int>(MacroSlot::kMaxEvents)) {
                FUZZ_CHECK(store.User(macro).Delay(static_cast<size_t>(event)) == DelayFor(committed));
            }
            break;
        }
        case 2:
            editor.OnMacroSelected(static_cast<int8_t>(in.Byte()));
            break;
        case 3:
            editor.SelectEventLine(static_cast<int8_t>(in.Byte()));
            break;
        case 4: {
            const int firstVisible = in.Byte() % 8;
            const int height = in.Byte() % 20;
            const int cursor = static_cast<int8_t>(in.Byte()) * 4;
            editor.ShowEventMenu({firstVisible, height, 200 + cursor, 200, in.Byte() % 2 == 0});
            break;
        }
        case 5:
            editor.RunEventCommand(commandIds[in.Byte() % commandIds.size()]);
            break;
        case 6:
            editor.SetNameText(in.Text());
            editor.AddMacro();
            break;
        case 7:
            editor.DeleteMacro();
            break;
        case 8:
            editor.ToggleRepeat();
            break;
        case 9:
            editor.ToggleRecording();
            break;
        case 10: {
            const uint8_t b = in.Byte();
            clock.now = (clock.now + b * 37) % TimeOfDay::kMillisecondsPerDay;
            capture.Send(b % 2 == 0 ? KeyMessage::KeyDown : KeyMessage::KeyUp, in.Byte());
            break;
        }
        default:
            editor.SetEditText(in.Text());
            editor.EndEdit(in.Byte() % 2 == 0);
            break;
        }
        CheckBounds(editor, store);
    }
    editor.StopRecording();
    return 0;
}
