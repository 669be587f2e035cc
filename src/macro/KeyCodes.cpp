#include "macro/KeyCodes.h"

#include <array>

namespace orv {

namespace {

constexpr std::string_view kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr std::string_view kDigits = "123456789";
constexpr std::array<std::string_view, 24> kFunctionKeys{"F1",  "F2",  "F3",  "F4",  "F5",  "F6",  "F7",  "F8",
                                                         "F9",  "F10", "F11", "F12", "F13", "F14", "F15", "F16",
                                                         "F17", "F18", "F19", "F20", "F21", "F22", "F23", "F24"};
constexpr std::array<std::string_view, 9> kNumpadDigits{"NUMPAD1", "NUMPAD2", "NUMPAD3", "NUMPAD4", "NUMPAD5",
                                                        "NUMPAD6", "NUMPAD7", "NUMPAD8", "NUMPAD9"};

constexpr KeyRow kSingleRows[] = {
    {0x27, "0", 0x30},         {0x28, "RETURN", 0x0D},   {0x29, "ESCAPE", 0x1B},   {0x2A, "BACK", 0x08},
    {0x2B, "TAB", 0x09},       {0x2C, "SPACE", 0x20},    {0x2D, "-", 0xBD},        {0x2E, "+", 0xBB},
    {0x2F, "[{", 0xDB},        {0x30, "]}", 0xDD},       {0x31, "\\|", 0xDC},      {0x32, "`~", 0xC0},
    {0x33, ";:", 0xBA},        {0x34, " ' ", 0xDE},      {0x36, ",", 0xBC},        {0x37, ".", 0xBE},
    {0x38, "/?", 0xBF},        {0x39, "CAPITAL", 0x14},  {0x46, "SNAPSHOT", 0x2C}, {0x47, "SCROLL", 0x91},
    {0x48, "PAUSE", 0x13},     {0x49, "INSERT", 0x2D},   {0x4A, "HOME", 0x24},     {0x4B, "PRIOR", 0x21},
    {0x4C, "DELETE", 0x2E},    {0x4D, "END", 0x23},      {0x4E, "NEXT", 0x22},     {0x4F, "RIGHT", 0x27},
    {0x50, "LEFT", 0x25},      {0x51, "DOWN", 0x28},     {0x52, "UP", 0x26},       {0x53, "NUMLOCK", 0x90},
    {0x54, "DIVIDE", 0x6F},    {0x55, "MULTIPLY", 0x6A}, {0x56, "SUBTRACT", 0x6D}, {0x57, "ADD", 0x6B},
    {0x62, "NUMPAD0", 0x60},   {0x63, "DECIMAL", 0x6E},  {0x65, "APPS", 0x5D},     {0x74, "EXECUTE", 0x2B},
    {0x75, "HELP", 0x2F},      {0x76, "MENU", -1},       {0x77, "SELECT", 0x29},   {0x9C, "CLEAR", 0x0C},
    {0x9F, "SEPARATOR", 0x6C}, {0xE0, "LCONTROL", 0xA2}, {0xE1, "LSHIFT", 0xA0},   {0xE2, "LMENU", 0xA4},
    {0xE3, "LWIN", 0x5B},      {0xE4, "RCONTROL", 0xA3}, {0xE5, "RSHIFT", 0xA1},   {0xE6, "RMENU", 0xA5},
    {0xE7, "RWIN", 0x5C},      {0xF0, "L-KEY", -1},      {0xF1, "R-KEY", -1},      {0xF2, "M-KEY", -1},
};

constexpr size_t kRowCount = 26 + 9 + 12 + 9 + 12 + std::size(kSingleRows);

constexpr std::array<KeyRow, kRowCount> BuildTable() {
    std::array<KeyRow, kRowCount> rows{};
    size_t n = 0;
    for (int i = 0; i < 26; ++i) {  // A..Z
        rows[n++] = {static_cast<uint8_t>(0x04 + i), kLetters.substr(i, 1), 0x41 + i};
    }
    for (int i = 0; i < 9; ++i) {  // 1..9
        rows[n++] = {static_cast<uint8_t>(0x1E + i), kDigits.substr(i, 1), 0x31 + i};
    }
    for (int i = 0; i < 12; ++i) {  // F1..F12
        rows[n++] = {static_cast<uint8_t>(0x3A + i), kFunctionKeys[i], 0x70 + i};
    }
    for (int i = 0; i < 9; ++i) {  // NUMPAD1..NUMPAD9
        rows[n++] = {static_cast<uint8_t>(0x59 + i), kNumpadDigits[i], 0x61 + i};
    }
    for (int i = 0; i < 12; ++i) {  // F13..F24
        rows[n++] = {static_cast<uint8_t>(0x68 + i), kFunctionKeys[12 + i], 0x7C + i};
    }
    for (const KeyRow& row : kSingleRows) {
        rows[n++] = row;
    }
    return rows;
}

constexpr std::array<KeyRow, kRowCount> kTable = BuildTable();

struct Lookups {
    std::array<uint8_t, 256> usageOfVirtualKey{};
    std::array<uint8_t, 256> virtualKeyOfUsage{};
    std::array<std::string_view, 256> name{};
};

constexpr Lookups BuildLookups() {
    Lookups l{};
    for (int v = 0; v < 256; ++v) {
        l.usageOfVirtualKey[v] = static_cast<uint8_t>(v);
        l.virtualKeyOfUsage[v] = static_cast<uint8_t>(v);
        l.name[v] = "NON-AVAILABLE";
    }
    for (const KeyRow& row : kTable) {
        l.name[row.usage] = row.name;
        if (row.virtualKey >= 0) {
            l.usageOfVirtualKey[row.virtualKey] = row.usage;
            l.virtualKeyOfUsage[row.usage] = static_cast<uint8_t>(row.virtualKey);
        }
    }
    return l;
}

constexpr Lookups kLookups = BuildLookups();

}  // namespace

std::span<const KeyRow> KeyTable() { return kTable; }

uint8_t UsageFromVirtualKey(uint8_t virtualKey) { return kLookups.usageOfVirtualKey[virtualKey]; }

uint8_t VirtualKeyFromUsage(uint8_t usage) { return kLookups.virtualKeyOfUsage[usage]; }

std::string_view KeyName(uint8_t usage) { return kLookups.name[usage]; }

}  // namespace orv
