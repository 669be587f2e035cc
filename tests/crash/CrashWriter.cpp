// Saves a profile of config.ini and the macro file, the two versions of each by turns, until
// it is killed. Says "saved" on its output once the first round of saves is done, and exits 1
// when a save fails.
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "crash/CrashContents.h"
#include "macro/MacroFile.h"
#include "settings/ConfigFile.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: orv_crash_writer CONFIG MACRO_FILE\n");
        return 2;
    }
    const std::filesystem::path config = argv[1];
    const std::filesystem::path macros = argv[2];
    const orv::ProfileSettings profiles[] = {orv::test::CrashProfile(0), orv::test::CrashProfile(1)};
    const orv::MacroStore stores[] = {orv::test::CrashMacros(0), orv::test::CrashMacros(1)};
    for (int round = 0;; ++round) {
        for (int version : {1, 0}) {
            if (!orv::SaveProfile(config, orv::test::kCrashProfile, profiles[version]) ||
                !orv::SaveMacroFile(macros, stores[version])) {
                std::fprintf(stderr, "orv_crash_writer: a save failed\n");
                return 1;
            }
        }
        if (round == 0) {
            // Unbuffered, so the line is out before any kill.
            static const char saved[] = "saved\n";
            if (::write(STDOUT_FILENO, saved, sizeof saved - 1) < 0) {
                return 1;
            }
        }
    }
}
