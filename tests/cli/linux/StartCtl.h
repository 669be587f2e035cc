#pragma once
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace orv::test {

// The built command line started as a child process, so that a test can run several at once or
// kill one half-way. Its output goes to nowhere, its error output to err.
inline pid_t StartCtl(const std::vector<std::string>& args, const std::filesystem::path& err = "/dev/null") {
    const std::string program = ORV_DATA_DIR "/orv-gmousectl";
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t child = -1;
    if (::posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ) != 0) {
        child = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    return child;
}

// The exit code of a child that ended by itself, else -1.
inline int ExitCode(pid_t child) {
    int status = 0;
    if (child <= 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

}  // namespace orv::test
