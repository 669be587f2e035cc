// Commands that write config.ini, run as separate processes at the same time, as a script and
// the window (or two scripts) do.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli/RunCtl.h"
#include "cli/linux/StartCtl.h"
#include "common/FileWriteLock.h"
#include "common/IniFile.h"
#include "common/TempFolder.h"
#include "platform/linux/ScopedVariable.h"
#include "settings/ConfigFile.h"
#include "settings/ProfileExchange.h"

namespace orv {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;

// Each round is a race whose outcome varies; enough rounds show a lost write nearly always.
constexpr int kRounds = 30;

// The shipped config.ini, with every profile told apart by its fire time.
std::string ConfigBytes() {
    test::TempFolder folder;
    const fs::path config = folder / "config.ini";
    fs::copy_file(fs::path(ORV_DATA_DIR) / "config.ini", config);
    for (int n = 1; n <= 5; ++n) {
        EXPECT_TRUE(ini::Write(config, ProfileSection(n), "FIRE_TIME", std::to_string(111 * n)));
    }
    return ReadBytes(config);
}

std::vector<std::string> Ctl(const test::TempFolder& folder, std::vector<std::string> args) {
    args.insert(args.begin(), {"--dir", folder.Path().string(), "--simulate"});
    return args;
}

std::vector<std::pair<std::string, std::string>> Profile(const fs::path& config, int n) {
    ProfileSettings settings;
    EXPECT_EQ(LoadProfile(config, n, false, Language{}, settings), ProfileFound::Section) << n;
    return ProfileKeyValues(settings);
}

TEST(ConcurrentCommands, AppliesAtOnceLeaveOneOfThemWhollyApplied) {
    test::TempFolder folder;
    const fs::path config = folder / "config.ini";
    test::WriteBytes(config, ConfigBytes());
    for (int round = 0; round < kRounds; ++round) {
        std::vector<pid_t> applies;
        for (const char* n : {"2", "3", "4", "5"}) {
            applies.push_back(test::StartCtl(Ctl(folder, {"apply", n})));
        }
        for (const pid_t apply : applies) {
            ASSERT_EQ(test::ExitCode(apply), 0);
        }
        const int current = LoadCurrentProfile(config);
        EXPECT_EQ(Profile(config, 6), Profile(config, current))
            << "round " << round << ": \"CurConfig\" is " << current << ", profile 6 another profile";
    }
}

// Whichever comes first, the imported profile is what profile 3 holds at the end: an apply
// writes back only what it read under the lock.
TEST(ConcurrentCommands, AnApplyBesideAnImportNeverLosesTheImport) {
    test::TempFolder folder;
    const fs::path config = folder / "config.ini";
    const fs::path exchange = folder / "P.ini";
    ProfileSettings imported;
    SetFactorySettings(imported);
    imported.fireTime = 999;
    imported.buttonFunction[2] = 41;
    ASSERT_EQ(ExportProfile(imported, exchange), ExchangeResult::Done);
    const std::string before = ConfigBytes();
    for (int round = 0; round < kRounds; ++round) {
        test::WriteBytes(config, before);
        const pid_t apply = test::StartCtl(Ctl(folder, {"apply", "3"}));
        const pid_t import = test::StartCtl(Ctl(folder, {"profile", "import", exchange.string(), "3"}));
        ASSERT_EQ(test::ExitCode(apply), 0);
        ASSERT_EQ(test::ExitCode(import), 0);
        EXPECT_EQ(Profile(config, 3), ProfileKeyValues(imported)) << "round " << round << ": the import was lost";
    }
}

// A writer stopped inside its lock (SIGSTOP) keeps it until it ends. The commands that write
// config.ini wait for it only as long as ORV_GMOUSE_LOCK_WAIT_MS says, then say so, and have
// neither written nor sent anything.
TEST(ConcurrentCommands, AWriterStoppedInsideItsLockIsWaitedForOnlySoLong) {
    test::TempFolder folder;
    const fs::path config = folder / "config.ini";
    test::WriteBytes(config, ConfigBytes());
    ProfileSettings settings;
    SetFactorySettings(settings);
    ASSERT_EQ(ExportProfile(settings, folder / "P.ini"), ExchangeResult::Done);
    const std::string before = ReadBytes(config);

    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = ::fork();
    if (holder == 0) {
        const FileWriteLock lock(config);
        const char held = lock.Held() ? 'y' : 'n';
        if (::write(ready[1], &held, 1) == 1) {
            ::raise(SIGSTOP);
        }
        ::_exit(0);
    }
    ASSERT_GT(holder, 0);
    char held = 0;
    ASSERT_EQ(::read(ready[0], &held, 1), 1);
    ::close(ready[0]);
    ::close(ready[1]);
    int status = 0;
    ASSERT_EQ(::waitpid(holder, &status, WUNTRACED), holder);
    ASSERT_TRUE(WIFSTOPPED(status));
    ASSERT_EQ(held, 'y');

    const auto run = [&](const std::string& args) {
        return test::RunCtlLine(folder, "--dir " + test::Quoted(folder.Path()) + " --simulate " + args);
    };
    {
        const test::ScopedVariable wait("ORV_GMOUSE_LOCK_WAIT_MS", "100");
        const std::string busy = PathToUtf8(config) + " is being written by another program\n";
        const std::string commands[] = {"--trace apply 2", "--trace apply",
                                        "profile import " + test::Quoted(folder / "P.ini") + " 2", "--trace reset"};
        for (const std::string& args : commands) {
            const test::CtlResult r = run(args);
            EXPECT_EQ(r.exit, 1) << args;
            EXPECT_EQ(r.err, busy) << args;
            EXPECT_EQ(r.out, "") << args << ": nothing is sent";
            EXPECT_EQ(ReadBytes(config), before) << args;
        }
    }

    ::kill(holder, SIGKILL);
    ASSERT_EQ(::waitpid(holder, &status, 0), holder);
    const test::CtlResult after = run("apply 2");
    EXPECT_EQ(after.exit, 0) << "the lock goes with its holder: " << after.err;
}

}  // namespace
}  // namespace orv
