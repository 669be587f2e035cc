#include "platform/Launcher.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <string>
#include <thread>

#include "platform/linux/FindOnPath.h"

extern char** environ;

namespace orv {

namespace {

constexpr std::array<const char*, 4> kCalculators{"gnome-calculator", "kcalc", "galculator", "xcalc"};
constexpr std::array<const char*, 4> kTerminals{"x-terminal-emulator", "gnome-terminal", "konsole", "xterm"};

class DesktopLauncher : public Launcher {
public:
    void Launch(Program program) override {
        const auto& names = program == Program::Calculator ? kCalculators : kTerminals;
        for (const char* name : names) {
            if (const auto path = FindOnPath(name)) {
                Spawn(path->string());
                return;
            }
        }
    }

private:
    // The program lives on after the utility; it gets its own session so that it does not
    // share the utility's terminal signals, and a detached reaper collects its exit status so
    // that no zombie stays behind, without the playback thread ever waiting for it.
    static void Spawn(const std::string& path) {
        posix_spawnattr_t attributes;
        posix_spawnattr_init(&attributes);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
        char* argv[] = {const_cast<char*>(path.c_str()), nullptr};
        pid_t pid = 0;
        const int error = posix_spawn(&pid, path.c_str(), nullptr, &attributes, argv, environ);
        posix_spawnattr_destroy(&attributes);
        if (error != 0) {
            return;
        }
        std::thread([pid] {
            int status = 0;
            while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
        }).detach();
    }
};

}  // namespace

std::unique_ptr<Launcher> CreateSystemLauncher() { return std::make_unique<DesktopLauncher>(); }

}  // namespace orv
