#include "settings/ProfileExchange.h"

#include <system_error>

#include "common/IniFile.h"
#include "settings/ConfigFile.h"

namespace orv {

namespace {

bool HoldsProfile(const std::filesystem::path& file);

}  // namespace

ExchangeResult ExportProfile(const ProfileSettings& settings, const std::filesystem::path& file) {
    return SaveProfile(file, kExchangeProfile, settings) ? ExchangeResult::Done : ExchangeResult::CannotWrite;
}

ExchangeResult ImportProfile(const std::filesystem::path& file, ProfileSettings& settings) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        return ExchangeResult::CannotRead;
    }
    if (!HoldsProfile(file)) {
        return ExchangeResult::NoProfile;
    }
    // The language only picks among reset sections, which an exchange file never is.
    LoadProfile(file, kExchangeProfile, false, Language{}, settings);
    return ExchangeResult::Done;
}

namespace {

bool HoldsProfile(const std::filesystem::path& file) {
    const std::string section = ProfileSection(kExchangeProfile);
    for (const auto& [key, value] : ProfileKeyValues(ProfileSettings{})) {
        if (!ini::Read(file, section, key, 2).empty()) {
            return true;
        }
    }
    return false;
}

}  // namespace

}  // namespace orv
