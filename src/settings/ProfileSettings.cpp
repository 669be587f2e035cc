#include "settings/ProfileSettings.h"

#include <algorithm>

namespace orv {

namespace {

struct Row {
    int32_t first;
    int32_t last;
    FunctionCodeInfo info;
    // Added per code within the row's range.
    int32_t deviceValueStep;
    int32_t indexStep;
    int32_t subMenuRowStep;
};

using F = ReportFlag;
using A = UtilityAction;
using T = FunctionText;

// One row per run of codes with the same meaning; within a run the device value, the index
// and the sub-menu row advance by one per code where the step says so.
constexpr Row kRows[] = {
    {0, 0, {0, F::None, A::None, 0, 0, 0, T::FunctionName}, 0, 0, 0},
    {1, 1, {1, F::None, A::None, 0, 1, 0, T::FunctionName}, 0, 0, 0},
    {2, 5, {2, F::None, A::None, 0, 2, 0, T::FunctionName}, 1, 0, 0},
    {6, 6, {6, F::DpiReport, A::None, 0, 6, 0, T::FunctionName}, 0, 0, 0},
    {7, 10, {0, F::None, A::None, 0, 0, 0, T::FunctionName}, 0, 0, 0},
    {11, 13, {7, F::None, A::None, 0, 7, 1, T::FunctionName}, 1, 0, 1},
    {14, 14, {10, F::RateCycle, A::None, 0, 7, 4, T::FunctionName}, 0, 0, 0},
    {15, 16, {11, F::DpiReport, A::None, 0, 7, 5, T::FunctionName}, 1, 0, 1},
    {17, 17, {13, F::None, A::None, 0, 0, 0, T::FunctionName}, 0, 0, 0},
    {18, 20, {0, F::None, A::None, 0, 0, 0, T::FunctionName}, 0, 0, 0},
    {21, 30, {0, F::None, A::ConsumerUsage, 0, 8, 1, T::FunctionName}, 0, 1, 1},
    {31, 38, {0, F::None, A::ConstantMacro, 0, 10, 1, T::FunctionName}, 0, 1, 1},
    {39, 39, {0, F::None, A::LaunchCalculator, 0, 0, 0, T::FunctionName}, 0, 0, 0},
    {40, 40, {0, F::None, A::LaunchCommandPrompt, 0, 0, 0, T::FunctionName}, 0, 0, 0},
    {41, 52, {0, F::None, A::UserMacro, 0, 9, 1, T::UserMacroName}, 0, 1, 1},
};

const Row& RowOf(int32_t code) {
    for (const Row& row : kRows) {
        if (code >= row.first && code <= row.last) {
            return row;
        }
    }
    return kRows[0];
}

}  // namespace

void SetFactorySettings(ProfileSettings& s) {
    for (size_t i = 0; i < s.buttonFunction.size(); ++i) {
        s.buttonFunction[i] = DefaultButtonFunction[i];
    }
    s.dpiLevel = 0;
    constexpr std::array<uint8_t, 4> kFactorySteps{4, 6, 8, 10};
    for (size_t n = 0; n < 4; ++n) {
        s.dpiStep[n] = kFactorySteps[n];
        s.dpiEnabled[n] = 1;
    }
    s.ledStatus = 0;
    s.pointerSpeed = 4;
    s.wheelSpeed = 2;
    s.wheelStatus = 0;
    s.fireTime = 50;
    s.reportRate = 2;
}

uint8_t DpiCodeForStep(uint8_t step) { return DpiCodeTable[std::min<size_t>(step, DpiCodeTable.size() - 1)]; }

int DpiForCode(uint8_t code) {
    for (size_t s = 0; s < DpiCodeTable.size(); ++s) {
        if (DpiCodeTable[s] == code) {
            return DpiNumberTable[s];
        }
    }
    return DpiNumberTable[0];
}

int WindowsPointerSpeed(uint8_t step) {
    if (step == 0) {
        return 1;
    }
    return 2 * std::min<int>(step, 9);
}

int WheelScrollLines(uint8_t step) { return (step + 1) % 256; }

const FunctionCodeInfo& DescribeFunctionCode(int32_t code) {
    // The table is built per code on first use so that callers get a stable reference
    // carrying the exact device value, index and sub-menu row of that code.
    static const auto table = [] {
        std::array<FunctionCodeInfo, kLastUserMacroCode + 1> t{};
        for (int32_t c = 0; c <= kLastUserMacroCode; ++c) {
            const Row& row = RowOf(c);
            FunctionCodeInfo info = row.info;
            const int32_t offset = c - row.first;
            info.deviceValue = static_cast<uint8_t>(info.deviceValue + row.deviceValueStep * offset);
            info.index = static_cast<uint8_t>(info.index + row.indexStep * offset);
            info.subMenuRow = static_cast<uint8_t>(info.subMenuRow + row.subMenuRowStep * offset);
            if (info.menuRow != 0 && info.subMenuRow == 0) {
                info.menuRow = static_cast<uint8_t>(c);  // main-menu rows 1..6 offer codes 1..6
            }
            t[static_cast<size_t>(c)] = info;
        }
        return t;
    }();
    if (code < 0 || code > kLastUserMacroCode) {
        return table[0];
    }
    return table[static_cast<size_t>(code)];
}

int32_t FunctionCodeForMenuRow(uint8_t menuRow, uint8_t subMenuRow) {
    for (int32_t c = 0; c <= kLastUserMacroCode; ++c) {
        const FunctionCodeInfo& info = DescribeFunctionCode(c);
        if (info.menuRow == menuRow && info.subMenuRow == subMenuRow && menuRow != 0) {
            return c;
        }
    }
    return -1;
}

}  // namespace orv
