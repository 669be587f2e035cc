#include "macro/EventMenu.h"

namespace orv {

namespace {

using enum EventCommandKind;

constexpr uint8_t kLeft = 0xF0;
constexpr uint8_t kRight = 0xF1;
constexpr uint8_t kMiddle = 0xF2;
constexpr uint8_t kDown = 1;
constexpr uint8_t kUp = 2;

constexpr EventMenuItem kForwardLeft[] = {
    {TextId::EventMenuForwardLeftDown, 32802, 32817, {}, {InsertBefore, kLeft, kDown}},
    {TextId::EventMenuForwardLeftUp, 32803, 32818, {}, {InsertBefore, kLeft, kUp}},
};
constexpr EventMenuItem kForwardRight[] = {
    {TextId::EventMenuForwardRightDown, 32804, 32820, {}, {InsertBefore, kRight, kDown}},
    {TextId::EventMenuForwardRightUp, 32805, 32821, {}, {InsertBefore, kRight, kUp}},
};
constexpr EventMenuItem kForwardMid[] = {
    {TextId::EventMenuForwardMidDown, 32806, 32823, {}, {InsertBefore, kMiddle, kDown}},
    {TextId::EventMenuForwardMidUp, 32807, 32824, {}, {InsertBefore, kMiddle, kUp}},
};
constexpr EventMenuItem kBackwardLeft[] = {
    {TextId::EventMenuBackwardLeftDown, 32809, 32829, {}, {InsertAfter, kLeft, kDown}},
    {TextId::EventMenuBackwardLeftUp, 32810, 32830, {}, {InsertAfter, kLeft, kUp}},
};
constexpr EventMenuItem kBackwardRight[] = {
    {TextId::EventMenuBackwardRightDown, 32811, 32831, {}, {InsertAfter, kRight, kDown}},
    {TextId::EventMenuBackwardRightUp, 32812, 32832, {}, {InsertAfter, kRight, kUp}},
};
constexpr EventMenuItem kBackwardMid[] = {
    {TextId::EventMenuBackwardMidDown, 32813, 32833, {}, {InsertAfter, kMiddle, kDown}},
    {TextId::EventMenuBackwardMidUp, 32814, 32834, {}, {InsertAfter, kMiddle, kUp}},
};
constexpr EventMenuItem kForward[] = {
    {TextId::EventMenuForwardLeft, 0, 0, kForwardLeft, {}},
    {TextId::EventMenuForwardRight, 0, 0, kForwardRight, {}},
    {TextId::EventMenuForwardMid, 0, 0, kForwardMid, {}},
};
constexpr EventMenuItem kBackward[] = {
    {TextId::EventMenuBackwardLeft, 0, 0, kBackwardLeft, {}},
    {TextId::EventMenuBackwardRight, 0, 0, kBackwardRight, {}},
    {TextId::EventMenuBackwardMid, 0, 0, kBackwardMid, {}},
};
constexpr EventMenuItem kPopup[] = {
    {TextId::EventMenuAddForward, 0, 0, kForward, {}},
    {TextId::EventMenuAddBackward, 0, 0, kBackward, {}},
    {TextId::EventMenuModifyDelay, 32780, 32835, {}, {ModifyDelay, 0, 0}},
    {TextId::EventMenuDelete, 32781, 32836, {}, {Delete, 0, 0}},
};

std::optional<EventCommand> FindCommand(std::span<const EventMenuItem> items, uint32_t commandId) {
    for (const EventMenuItem& item : items) {
        if (item.OpensSubMenu()) {
            if (auto found = FindCommand(item.subMenu, commandId)) {
                return found;
            }
        } else if (item.englishId == commandId || item.chineseId == commandId) {
            return item.command;
        }
    }
    return std::nullopt;
}

}  // namespace

std::span<const EventMenuItem> EventMenuItems() { return kPopup; }

std::optional<EventCommand> EventCommandForId(uint32_t commandId) {
    return commandId == 0 ? std::nullopt : FindCommand(kPopup, commandId);
}

}  // namespace orv
