#include "settings/ProfileExchange.h"

#include "settings/ConfigFile.h"

namespace orv {

ExchangeResult ExportProfile(const ProfileSettings& settings, const std::filesystem::path& file) {
    const WriteResult saved = SaveProfile(file, kExchangeProfile, settings);
    if (saved.Busy()) {
        return ExchangeResult::Busy;
    }
    return saved ? ExchangeResult::Done : ExchangeResult::CannotWrite;
}

// A file without the exchange section holds no profile: what such a section reads as would
// replace the working settings with values nobody chose.
ExchangeResult ImportProfile(const std::filesystem::path& file, ProfileSettings& settings) {
    ProfileSettings read;
    // The language only picks among reset sections, which an exchange file never is.
    switch (LoadProfile(file, kExchangeProfile, false, Language{}, read)) {
    case ProfileFound::NoFile:
    case ProfileFound::Unreadable:
        return ExchangeResult::CannotRead;
    case ProfileFound::NoSection:
        return ExchangeResult::NoProfile;
    case ProfileFound::Section:
        break;
    }
    settings = read;
    return ExchangeResult::Done;
}

}  // namespace orv
