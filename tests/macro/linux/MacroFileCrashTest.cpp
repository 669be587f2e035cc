#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

#include "common/TempFolder.h"
#include "fakes/Quiet.h"
#include "common/Utf.h"
#include "macro/MacroFile.h"

namespace orv {
namespace {

// count macros named letter + index.
MacroStore Set(char16_t letter, int count) {
    MacroStore store;
    for (int i = 0; i < count; ++i) {
        store.User(i).SetName(std::u16string{letter, static_cast<char16_t>(u'0' + i)});
        store.User(i).SetRepeatCount(static_cast<uint16_t>(count));
    }
    store.macroCount = static_cast<int16_t>(count);
    return store;
}

TEST(MacroFileSave, KillingTheWriterLeavesTheOldSetOrTheNewOne) {
    test::TempFolder folder;
    const auto file = folder / "Macro_EN.dat";
    const MacroStore two = Set(u'X', 2);
    const MacroStore four = Set(u'Y', 4);
    ASSERT_TRUE(SaveMacroFile(file, four));

    for (int round = 0; round < 20; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (;;) {
                SaveMacroFile(file, two);
                SaveMacroFile(file, four);
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5 + round * 7 % 60));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);

        MacroStore loaded;
        test::NoMessages messages;
        ASSERT_EQ(LoadMacroFile(file, MacroTarget::User, loaded, messages), ini::FileState::Read);
        const MacroStore& expected = loaded.macroCount == 2 ? two : four;
        ASSERT_TRUE(loaded.macroCount == 2 || loaded.macroCount == 4) << "round " << round;
        for (int i = 0; i < loaded.macroCount; ++i) {
            EXPECT_EQ(Utf16ToUtf8(loaded.User(i).name()), Utf16ToUtf8(expected.User(i).name()))
                << "round " << round << ", macro " << i;
        }
    }
}

}  // namespace
}  // namespace orv
