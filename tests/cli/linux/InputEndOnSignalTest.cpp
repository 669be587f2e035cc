#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "common/TempFolder.h"
#include "common/Utf.h"
#include "macro/MacroFile.h"

extern char** environ;

namespace orv {
namespace {

// The command line started with its standard output on a pipe the test reads.
class RunningCtl {
public:
    explicit RunningCtl(std::vector<std::string> args) {
        args.insert(args.begin(), ORV_DATA_DIR "/orv-gmousectl");
        std::vector<char*> argv;
        for (std::string& arg : args) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        int out[2];
        if (pipe2(out, O_CLOEXEC) != 0) {
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
            pid_ = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        out_ = out[0];
    }
    ~RunningCtl() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            Wait();
        }
        close(out_);
    }

    bool Started() const { return pid_ > 0; }
    void Signal(int number) const { kill(pid_, number); }

    // Reads until the output holds text or ends; true when it holds it.
    bool ReadUntil(const std::string& text) {
        while (output_.find(text) == std::string::npos) {
            if (!ReadMore()) {
                return false;
            }
        }
        return true;
    }
    // The wait status once the program ended, with all it wrote read.
    int Wait() {
        while (ReadMore()) {
        }
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = -1;
        return status;
    }
    const std::string& Output() const { return output_; }

private:
    bool ReadMore() {
        char chunk[4096];
        const ssize_t got = read(out_, chunk, sizeof chunk);
        if (got > 0) {
            output_.append(chunk, static_cast<size_t>(got));
        }
        return got > 0;
    }

    pid_t pid_ = -1;
    int out_ = -1;
    std::string output_;
};

// A macro that holds a key through a long pause: a terminate signal in the pause ends the
// command, and the key is let go before it does.
TEST(InputEndOnSignal, TerminatedMidPauseReleasesWhatIsHeld) {
    test::TempFolder folder;
    test::WriteBytes(folder / "config.ini", "[Init]\r\nCurConfig=1\r\nVER_SEL=1\r\n[Config1]\r\nK0=41\r\n");
    test::WriteBytes(folder / "constMacro.dat", "[Macros]\r\nmacroNum=0\r\n");
    MacroStore store;
    MacroSlot& hold = store.User(0);
    hold.SetName(u"Hold");
    hold.SetEvent(0, 0x04, MacroSlot::kPress, 5000);
    hold.SetEvent(1, 0x04, MacroSlot::kRelease, 0);
    hold.SetEventCount(2);
    store.macroCount = 1;
    ASSERT_TRUE(SaveMacroFile(folder / "Macro_EN.dat", store));

    RunningCtl ctl({"--dir", PathToUtf8(folder.Path()), "--simulate", "--trace", "input", "06f100"});
    ASSERT_TRUE(ctl.Started());
    const std::string press = "report 07 15 04 00 00 00 00 00\n";
    ASSERT_TRUE(ctl.ReadUntil(press)) << ctl.Output();
    ctl.Signal(SIGTERM);
    const int status = ctl.Wait();
    ASSERT_TRUE(WIFEXITED(status)) << ctl.Output();
    EXPECT_EQ(WEXITSTATUS(status), 128 + SIGTERM);
    const std::string& out = ctl.Output();
    EXPECT_EQ(out.substr(out.find(press) + press.size()),
              "report 07 16 04 ff 00 00 00 00\n"
              "report 07 15 00 00 00 00 00 00\n");
}

}  // namespace
}  // namespace orv
