#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "common/Messages.h"
#include "cli/linux/StartCtl.h"
#include "common/IniFile.h"
#include "common/TempFolder.h"
#include "crash/CrashContents.h"
#include "fakes/Quiet.h"
#include "macro/MacroFile.h"
#include "settings/ConfigFile.h"

extern char** environ;

namespace orv {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;

int Rounds() {
    const char* text = std::getenv("ORV_CRASH_ROUNDS");
    const int rounds = text != nullptr ? std::atoi(text) : 0;
    return rounds > 0 ? rounds : 200;
}

// The writer program, started with its output on a pipe.
struct Writer {
    pid_t pid = -1;
    int output = -1;
};

Writer StartWriter(const fs::path& config, const fs::path& macros) {
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) {
        return {};
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    const std::string program = ORV_CRASH_WRITER;
    char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>(config.c_str()),
                    const_cast<char*>(macros.c_str()), nullptr};
    Writer writer;
    if (::posix_spawn(&writer.pid, program.c_str(), &actions, nullptr, argv, environ) != 0) {
        writer.pid = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);
    writer.output = pipeEnds[0];
    return writer;
}

// Blocks until the writer has saved both versions once (or has ended).
bool WaitUntilSaved(const Writer& writer) {
    char text[6] = {};
    return ::read(writer.output, text, sizeof text) == 6 && std::string(text, 6) == "saved\n";
}

std::set<fs::path> Temporaries(const fs::path& folder) {
    std::set<fs::path> found;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() == ".tmp") {
            found.insert(entry.path());
        }
    }
    return found;
}

// Whether the process that wrote a temporary file (".NAME.PID.N.tmp") runs: its id may have
// been given to a new process since, whose files nobody may take.
bool WriterRuns(const fs::path& temporary) {
    std::string name = temporary.filename().string();
    name.erase(name.size() - 4);  // ".tmp"
    name.erase(name.rfind('.'));  // ".N"
    const pid_t pid = std::atoi(name.c_str() + name.rfind('.') + 1);
    return pid > 0 && ::kill(pid, 0) == 0;
}

bool SameProfile(const ProfileSettings& a, const ProfileSettings& b) {
    return ProfileKeyValues(a) == ProfileKeyValues(b);
}

bool SameMacros(const MacroStore& a, const MacroStore& b) {
    if (a.macroCount != b.macroCount) {
        return false;
    }
    for (int m = 0; m < a.macroCount; ++m) {
        if (a.User(m).Bytes() != b.User(m).Bytes()) {
            return false;
        }
    }
    return true;
}

// What is wrong with config.ini and the macro file, or nothing when each holds, byte for byte
// and as read back, one of the two versions the writer saves.
std::string Torn(const fs::path& config, const fs::path& macros, const std::string (&configVersions)[2],
                 const std::string (&macroVersions)[2]) {
    const std::string configBytes = ReadBytes(config);
    const std::string macroBytes = ReadBytes(macros);
    const int configVersion = configBytes == configVersions[0] ? 0 : configBytes == configVersions[1] ? 1 : -1;
    const int macroVersion = macroBytes == macroVersions[0] ? 0 : macroBytes == macroVersions[1] ? 1 : -1;
    if (configVersion < 0) {
        return "config.ini holds neither version (" + std::to_string(configBytes.size()) + " bytes)";
    }
    if (macroVersion < 0) {
        return "the macro file holds neither version (" + std::to_string(macroBytes.size()) + " bytes)";
    }
    ProfileSettings profile;
    if (LoadProfile(config, test::kCrashProfile, false, Language{}, profile) != ProfileFound::Section ||
        !SameProfile(profile, test::CrashProfile(configVersion))) {
        return "config.ini does not read back as version " + std::to_string(configVersion);
    }
    MacroStore store;
    test::NoMessages messages;
    if (LoadMacroFile(macros, MacroTarget::User, store, messages) != ini::FileState::Read ||
        !SameMacros(store, test::CrashMacros(macroVersion))) {
        return "the macro file does not read back as version " + std::to_string(macroVersion);
    }
    return {};
}

// A writer killed at any moment leaves config.ini and the macro file whole, old or new, and
// the temporary files it leaves are removed by the next writer. The kill moments are random;
// nothing here depends on how fast the machine is.
TEST(CrashSafety, KilledWritersLeaveWholeFilesAndTheNextWriterTidiesUp) {
    test::TempFolder folder;
    const fs::path config = folder / "config.ini";
    const fs::path macros = folder / "Macro_EN.dat";
    fs::copy_file(fs::path(ORV_DATA_DIR) / "config.ini", config);

    // The bytes of each version as the real writers produce them over the shipped file.
    std::string configVersions[2];
    std::string macroVersions[2];
    for (int version : {0, 1, 0, 1}) {
        ASSERT_TRUE(SaveProfile(config, test::kCrashProfile, test::CrashProfile(version)));
        ASSERT_TRUE(SaveMacroFile(macros, test::CrashMacros(version)));
        if (!configVersions[version].empty()) {
            ASSERT_TRUE(ReadBytes(config) == configVersions[version]) << "saving is not repeatable";
            ASSERT_TRUE(ReadBytes(macros) == macroVersions[version]) << "saving is not repeatable";
        }
        configVersions[version] = ReadBytes(config);
        macroVersions[version] = ReadBytes(macros);
    }
    ASSERT_TRUE(configVersions[0] != configVersions[1]);
    ASSERT_TRUE(macroVersions[0] != macroVersions[1]);

    const unsigned seed = std::random_device{}();
    std::mt19937 random(seed);
    // Spread over the writer's start and its first rounds of saves (a round takes a few
    // milliseconds); a kill before the first write proves less, but never fails.
    std::uniform_int_distribution<int> microseconds(0, 20000);
    const int rounds = Rounds();
    int kills = 0;
    int tornRounds = 0;
    int removed = 0;
    std::set<fs::path> leftovers;
    for (int round = 0; round < rounds; ++round) {
        const Writer writer = StartWriter(config, macros);
        ASSERT_GT(writer.pid, 0) << "cannot start " << ORV_CRASH_WRITER;
        if (round == 0) {
            // Proves the writer writes: it has saved both versions before this first kill.
            EXPECT_TRUE(WaitUntilSaved(writer));
        } else {
            std::this_thread::sleep_for(std::chrono::microseconds(microseconds(random)));
        }
        ::kill(writer.pid, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(writer.pid, &status, 0), writer.pid);
        ::close(writer.output);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the writer ended by itself";
        ++kills;

        if (const std::string torn = Torn(config, macros, configVersions, macroVersions); !torn.empty()) {
            ++tornRounds;
            ADD_FAILURE() << "round " << round << " (seed " << seed << "): " << torn;
        }
        const std::set<fs::path> now = Temporaries(folder.Path());
        for (const fs::path& old : leftovers) {
            removed += now.count(old) == 0 ? 1 : 0;
        }
        leftovers = now;
    }

    // The next writer of each file removes what the last killed one left.
    EXPECT_TRUE(SaveProfile(config, test::kCrashProfile, test::CrashProfile(0)));
    EXPECT_TRUE(SaveMacroFile(macros, test::CrashMacros(0)));
    const std::set<fs::path> remaining = Temporaries(folder.Path());
    for (const fs::path& old : leftovers) {
        removed += remaining.count(old) == 0 ? 1 : 0;
    }
    for (const fs::path& left : remaining) {
        EXPECT_TRUE(WriterRuns(left)) << left.string() << " stays, but its writer has ended";
    }

    std::printf("crash-safety: %d kills, %d torn, %d leftovers removed\n", kills, tornRounds, removed);
    std::fflush(stdout);
}

// A factory reset writes five profiles, the applied snapshot and "CurConfig": killed at any
// moment, config.ini holds all of it or none of it.
TEST(CrashSafety, AKilledResetLeavesConfigWhollyOldOrWhollyReset) {
    test::TempFolder folder;
    const fs::path config = folder / "config.ini";
    const fs::path data = ORV_DATA_DIR;
    for (const char* file : {"config.ini", "constMacro.dat", "skins/INI_EN/defMacro.dat"}) {
        fs::create_directories((folder / file).parent_path());
        fs::copy_file(data / file, folder / file);
    }
    // Every profile differs from its factory values, so a reset changes every section it writes.
    for (int n = 1; n <= 6; ++n) {
        ASSERT_TRUE(ini::Write(config, ProfileSection(n), "FIRE_TIME", std::to_string(1000 + n)));
    }
    ASSERT_TRUE(ini::Write(config, "Init", "CurConfig", "4"));
    const std::string old = ReadBytes(config);
    const std::vector<std::string> reset{"--dir", folder.Path().string(), "--simulate", "reset"};

    const auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(test::ExitCode(test::StartCtl(reset)), 0);
    const auto took = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - started);
    const std::string wholly = ReadBytes(config);
    ASSERT_NE(wholly, old);

    const unsigned seed = std::random_device{}();
    std::mt19937 random(seed);
    // Spread over one whole run of the command.
    std::uniform_int_distribution<long> microseconds(0, took.count());
    const int rounds = std::max(Rounds() / 5, 1);
    int midway = 0;
    for (int round = 0; round < rounds; ++round) {
        test::WriteBytes(config, old);
        const pid_t child = test::StartCtl(reset);
        ASSERT_GT(child, 0);
        std::this_thread::sleep_for(std::chrono::microseconds(microseconds(random)));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        const std::string now = ReadBytes(config);
        midway += now == old ? 1 : 0;
        EXPECT_TRUE(now == old || now == wholly) << "round " << round << " (seed " << seed << "): a mix";
    }
    std::printf("crash-safety: %d of %d resets killed before their write\n", midway, rounds);
    std::fflush(stdout);
}

}  // namespace
}  // namespace orv
