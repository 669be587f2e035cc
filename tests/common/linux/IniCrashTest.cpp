#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

#include "common/IniFile.h"
#include "common/TempFolder.h"

namespace orv {
namespace {

using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

// Whether tail is what the writer below leaves after the untouched part: nothing yet, or
// "[Counter]" with a whole "value" line and, after the first pass, a whole "pad" line.
bool WholeCounterSection(const std::string& tail) {
    if (tail.empty()) {
        return true;
    }
    const std::string head = "[Counter]\r\nvalue=";
    if (tail.rfind(head, 0) != 0) {
        return false;
    }
    size_t i = head.size();
    const size_t digits = i;
    while (i < tail.size() && tail[i] >= '0' && tail[i] <= '9') {
        ++i;
    }
    if (i == digits) {
        return false;
    }
    if (tail.compare(i, std::string::npos, "\r\n") == 0) {
        return true;
    }
    if (tail.compare(i, 6, "\r\npad=") != 0) {
        return false;
    }
    i += 6;
    while (i < tail.size() && tail[i] == 'p') {
        ++i;
    }
    return tail.compare(i, std::string::npos, "\r\n") == 0 && i + 2 == tail.size();
}

TEST(IniWrite, KillingTheWriterLeavesAWholeFile) {
    TempFolder folder;
    const auto file = folder / "config.ini";
    // Large enough that a kill often lands while a copy is being written.
    std::string untouched = "; hand-written\r\n[Init]\r\nCurConfig=1\r\n";
    for (int n = 0; untouched.size() < (1 << 20); ++n) {
        untouched += "[Filler" + std::to_string(n) + "]\r\nK0=" + std::string(200, 'f') + "\r\n";
    }
    WriteBytes(file, untouched);

    for (int round = 0; round < 20; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0;; ++i) {
                ini::Write(file, "Counter", "value", std::to_string(i));
                ini::Write(file, "Counter", "pad", std::string(static_cast<size_t>(i * 997 % 5000), 'p'));
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5 + round * 7 % 60));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);

        const std::string bytes = ReadBytes(file);
        ASSERT_EQ(bytes.compare(0, untouched.size(), untouched), 0) << "round " << round;
        ASSERT_TRUE(WholeCounterSection(bytes.substr(untouched.size())))
            << "round " << round << ": " << bytes.substr(untouched.size(), 200);
        const std::string pad = ini::Read(file, "Counter", "pad", 8000);
        EXPECT_EQ(pad.find_first_not_of('p'), std::string::npos);
    }
}

}  // namespace
}  // namespace orv
