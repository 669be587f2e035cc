#pragma once
#include <cstdint>
#include <optional>
#include <span>

#include "common/Language.h"
#include "common/Texts.h"

namespace orv {

// What a command of the event list's context menu does.
enum class EventCommandKind : uint8_t { InsertBefore, InsertAfter, ModifyDelay, Delete };

struct EventCommand {
    EventCommandKind kind = EventCommandKind::Delete;
    uint8_t key = 0;     // inserted event: 0xF0 left, 0xF1 right, 0xF2 middle mouse button
    uint8_t action = 0;  // inserted event: 1 press, 2 release
};

// One item of the context menu: a command, or an item that opens a sub-menu. The English and
// the Chinese menu are the same tree with their own captions and command ids.
struct EventMenuItem {
    TextId caption;
    uint16_t englishId = 0;  // 0 for an item that opens a sub-menu
    uint16_t chineseId = 0;
    std::span<const EventMenuItem> subMenu{};
    EventCommand command{};

    bool OpensSubMenu() const { return !subMenu.empty(); }
    uint16_t CommandId(Language language) const { return language.IsEnglish() ? englishId : chineseId; }
};

// The items of the pop-up in menu order: "Add Forward" and "Add Backward", each with the three
// buttons and their press and release, then "Modify Delay" and "Delete".
std::span<const EventMenuItem> EventMenuItems();

// The command an id of either language's menu stands for; both sets are understood whatever
// the language.
std::optional<EventCommand> EventCommandForId(uint32_t commandId);

}  // namespace orv
