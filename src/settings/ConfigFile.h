#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "common/IniFile.h"
#include "common/Language.h"
#include "common/WriteResult.h"
#include "settings/ProfileSettings.h"

namespace orv {

// "Config" + n, or the reset section a factory reset reads for profile n.
std::string ProfileSection(int n);
std::string ResetSection(int n, Language language);

// What LoadProfile found: the section, a file without it, no file, or a file that cannot be read.
enum class ProfileFound { Section, NoSection, NoFile, Unreadable };

// Replaces every field of settings with the values of profile n's section (a reset section
// when fromReset); a missing key reads as 0. An absent section (a missing file has none) reads
// as the factory values of profile 1 with macroMode 0, never as zeros: a profile of zeros would
// take the left click and every DPI level from the mouse. A file that exists but cannot be read
// leaves settings as they are.
ProfileFound LoadProfile(const std::filesystem::path& file, int n, bool fromReset, Language language,
                         ProfileSettings& settings);
// The same, from a reading of the file already made (an update's contents).
ProfileFound LoadProfile(const ini::Snapshot& file, int n, bool fromReset, Language language,
                         ProfileSettings& settings);

// The key/value lines of a profile section, in the order SaveProfile writes them.
std::vector<std::pair<std::string, std::string>> ProfileKeyValues(const ProfileSettings& settings);

// Anything but Written leaves the file unchanged.
WriteResult SaveProfile(const std::filesystem::path& file, int n, const ProfileSettings& settings);
WriteResult SaveDpiLevel(const std::filesystem::path& file, int n, const ProfileSettings& settings);
WriteResult SaveReportRate(const std::filesystem::path& file, int n, const ProfileSettings& settings);
// SaveProfile as one write of an update that may write other sections too.
void WriteProfile(ini::FileUpdate& update, int n, const ProfileSettings& settings);

// "CurConfig" of "Init"; missing, not a number or outside 1..5 gives 1, which the next apply
// writes back.
int32_t LoadCurrentProfile(const std::filesystem::path& file);
int32_t LoadCurrentProfile(const ini::Snapshot& file);
WriteResult SaveCurrentProfile(const std::filesystem::path& file, int32_t profile);
void WriteCurrentProfile(ini::FileUpdate& update, int32_t profile);

// "VER_SEL" of "Init"; missing or not a number is Chinese.
Language LoadLanguage(const std::filesystem::path& file);
Language LoadLanguage(const ini::Snapshot& file);
WriteResult SaveLanguage(const std::filesystem::path& file, Language language);

}  // namespace orv
