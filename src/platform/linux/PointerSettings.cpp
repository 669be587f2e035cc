#include "platform/PointerSettings.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/linux/FindOnPath.h"
#include "platform/linux/GnomeMouseSpeed.h"

extern char** environ;

namespace orv {

namespace {

constexpr const char* kSchema = "org.gnome.desktop.peripherals.mouse";
constexpr const char* kKey = "speed";

// Runs the program with the arguments, without a shell; its standard output when it exits with
// 0 within the time limit. A hung settings daemon must not freeze the window, so the child is
// killed after a few seconds.
std::optional<std::string> Run(const std::filesystem::path& program, std::vector<std::string> args) {
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) {
        return std::nullopt;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    std::string programText = program.string();
    argv.push_back(programText.data());
    for (std::string& a : args) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, programText.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (spawned != 0) {
        close(pipeFds[0]);
        return std::nullopt;
    }

    std::string output;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    bool timedOut = false;
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            timedOut = true;
            break;
        }
        pollfd fd{pipeFds[0], POLLIN, 0};
        if (poll(&fd, 1, static_cast<int>(left.count())) <= 0) {
            continue;
        }
        char chunk[256];
        const ssize_t n = read(pipeFds[0], chunk, sizeof chunk);
        if (n <= 0) {
            break;
        }
        output.append(chunk, static_cast<size_t>(n));
    }
    close(pipeFds[0]);
    if (timedOut) {
        kill(pid, SIGKILL);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (timedOut || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return std::nullopt;
    }
    return output;
}

// GNOME's mouse speed where its settings schema exists; everything else is left alone (the
// wheel has no desktop-wide line count there).
class GnomePointerSettings : public PointerSettings {
public:
    bool QueryPointerSpeed(int& speed) override {
        const auto gsettings = FindOnPath("gsettings");
        if (!gsettings) {
            return false;
        }
        const auto output = Run(*gsettings, {"get", kSchema, kKey});
        if (!output) {
            return false;
        }
        const std::string text = *output;
        const size_t first = text.find_first_not_of(" \t\n");
        if (first == std::string::npos) {
            return false;
        }
        double value = 0;
        const auto [end, ec] = std::from_chars(text.data() + first, text.data() + text.size(), value);
        if (ec != std::errc()) {
            return false;
        }
        speed = WindowsSpeedFromGnome(value);
        return true;
    }

    bool SetPointerSpeed(int speed) override {
        const auto gsettings = FindOnPath("gsettings");
        if (!gsettings) {
            return false;
        }
        char text[32];
        const auto [end, ec] =
            std::to_chars(text, text + sizeof text, GnomeMouseSpeed(speed), std::chars_format::fixed, 6);
        if (ec != std::errc()) {
            return false;
        }
        return Run(*gsettings, {"set", kSchema, kKey, std::string(text, end)}).has_value();
    }

    bool QueryWheelLines(int&) override { return false; }
    bool SetWheelLines(int) override { return false; }
};

}  // namespace

double GnomeMouseSpeed(int windowsSpeed) {
    const double s = windowsSpeed;
    return s <= 10 ? std::max(-1.0, (s - 10) / 9) : std::min(1.0, (s - 10) / 10);
}

int WindowsSpeedFromGnome(double gnomeSpeed) {
    const double g = std::clamp(gnomeSpeed, -1.0, 1.0);
    return static_cast<int>(std::lround(g <= 0 ? 10 + 9 * g : 10 + 10 * g));
}

std::unique_ptr<PointerSettings> CreateSystemPointerSettings() { return std::make_unique<GnomePointerSettings>(); }

}  // namespace orv
