#pragma once
#include <filesystem>

#include "settings/ProfileSettings.h"

namespace orv {

// How moving a profile through an exchange file went.
enum class ExchangeResult {
    Done,
    NoProfile,    // the file holds no profile: it has no section "Config7"
    CannotRead,   // the file is missing or cannot be read
    CannotWrite,  // the exchange file could not be written; it is unchanged
    Busy,         // another program held the exchange file's write lock too long; it is unchanged
};

// Writes settings as the one profile of an exchange file: section "Config7" with the keys of a
// profile section, in the order SaveProfile writes them. The file's other sections stay as
// they are, so exporting into an existing file replaces only its profile.
ExchangeResult ExportProfile(const ProfileSettings& settings, const std::filesystem::path& file);

// Replaces every field of settings, macroMode included, with the exchange file's profile,
// read as LoadProfile reads a present section (a missing key is 0). Anything but Done leaves
// settings unchanged.
ExchangeResult ImportProfile(const std::filesystem::path& file, ProfileSettings& settings);

}  // namespace orv
