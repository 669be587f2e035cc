#include "settings/ConfigFile.h"

#include "common/Decimal.h"
#include "common/IniFile.h"

namespace orv {

namespace {

constexpr const char* kInit = "Init";

int32_t ReadNumber(const ini::Snapshot& file, const std::string& section, const std::string& key, size_t bufferChars) {
    return ParseDecimal(file.Read(section, key, bufferChars));
}

std::string Indexed(const char* prefix, size_t i) { return prefix + FormatDecimal(static_cast<int64_t>(i)); }

// The keys of a profile section in the order LoadProfile takes them, each with the buffer it
// is read into: the DPI levels get ten characters, everything else five.
std::span<const ini::KeyRead> ProfileKeyReads() {
    static constexpr ini::KeyRead kReads[] = {
        {"K0", 5},           {"K1", 5},           {"K2", 5},           {"K3", 5},        {"K4", 5},
        {"K5", 5},           {"WHEEL_STATUS", 5}, {"MACRO_MODE2", 5},  {"DPI_LEVEL", 5}, {"DPI_SET0", 10},
        {"DPI_SET_EN0", 10}, {"DPI_SET1", 10},    {"DPI_SET_EN1", 10}, {"DPI_SET2", 10}, {"DPI_SET_EN2", 10},
        {"DPI_SET3", 10},    {"DPI_SET_EN3", 10}, {"LED_STATUS", 5},   {"DPI_SPEED", 5}, {"WHEEL_SPEED", 5},
        {"USB_SPEED", 5},    {"FIRE_TIME", 5},
    };
    return kReads;
}

}  // namespace

std::string ProfileSection(int n) { return "Config" + FormatDecimal(n); }

std::string ResetSection(int n, Language language) {
    if (n == 5 && language.IsExactlyEnglish()) {
        return "CfgReset_EN5";
    }
    return "CfgReset" + FormatDecimal(n);
}

ProfileFound LoadProfile(const std::filesystem::path& file, int n, bool fromReset, Language language,
                         ProfileSettings& s) {
    return LoadProfile(ini::Snapshot(file), n, fromReset, language, s);
}

ProfileFound LoadProfile(const ini::Snapshot& snapshot, int n, bool fromReset, Language language, ProfileSettings& s) {
    const std::string section = fromReset ? ResetSection(n, language) : ProfileSection(n);
    if (snapshot.State() == ini::FileState::Unreadable) {
        return ProfileFound::Unreadable;
    }
    const auto values = snapshot.ReadKeys(section, ProfileKeyReads());
    if (!values) {
        SetFactorySettings(s);
        s.macroMode = 0;
        return snapshot.State() == ini::FileState::Missing ? ProfileFound::NoFile : ProfileFound::NoSection;
    }
    size_t next = 0;
    auto read = [&] { return ParseDecimal((*values)[next++]); };

    for (size_t i = 0; i < s.buttonFunction.size(); ++i) {
        s.buttonFunction[i] = read();
    }
    s.wheelStatus = read();
    s.macroMode = read();
    s.dpiLevel = read();
    for (size_t i = 0; i < 4; ++i) {
        s.dpiStep[i] = static_cast<uint8_t>(read());
        s.dpiEnabled[i] = read() != 0 ? 1 : 0;
    }
    s.ledStatus = static_cast<uint8_t>(read());
    s.pointerSpeed = static_cast<uint8_t>(read());
    s.wheelSpeed = static_cast<uint8_t>(read());
    s.reportRate = static_cast<uint8_t>(read());
    s.fireTime = read();
    return ProfileFound::Section;
}

std::vector<std::pair<std::string, std::string>> ProfileKeyValues(const ProfileSettings& s) {
    std::vector<std::pair<std::string, std::string>> lines;
    for (size_t i = 0; i < s.buttonFunction.size(); ++i) {
        lines.emplace_back(Indexed("K", i), FormatDecimal(s.buttonFunction[i]));
    }
    lines.emplace_back("DPI_LEVEL", FormatDecimal(s.dpiLevel));
    lines.emplace_back("WHEEL_STATUS", FormatDecimal(s.wheelStatus));
    lines.emplace_back("MACRO_MODE2", FormatDecimal(s.macroMode));
    for (size_t i = 0; i < 4; ++i) {
        lines.emplace_back(Indexed("DPI_SET", i), FormatDecimal(s.dpiStep[i]));
        lines.emplace_back(Indexed("DPI_SET_EN", i), s.dpiEnabled[i] != 0 ? "1" : "0");
    }
    lines.emplace_back("LED_STATUS", FormatDecimal(s.ledStatus));
    lines.emplace_back("DPI_SPEED", FormatDecimal(s.pointerSpeed));
    lines.emplace_back("WHEEL_SPEED", FormatDecimal(s.wheelSpeed));
    lines.emplace_back("USB_SPEED", FormatDecimal(s.reportRate));
    lines.emplace_back("FIRE_TIME", FormatDecimal(s.fireTime));
    return lines;
}

WriteResult SaveProfile(const std::filesystem::path& file, int n, const ProfileSettings& s) {
    ini::FileUpdate update(file);
    WriteProfile(update, n, s);
    return update.Commit();
}

void WriteProfile(ini::FileUpdate& update, int n, const ProfileSettings& s) {
    const auto lines = ProfileKeyValues(s);
    const std::vector<std::pair<std::string_view, std::string_view>> entries(lines.begin(), lines.end());
    update.Write(ProfileSection(n), entries);
}

WriteResult SaveDpiLevel(const std::filesystem::path& file, int n, const ProfileSettings& s) {
    return ini::Write(file, ProfileSection(n), "DPI_LEVEL", FormatDecimal(s.dpiLevel));
}

WriteResult SaveReportRate(const std::filesystem::path& file, int n, const ProfileSettings& s) {
    return ini::Write(file, ProfileSection(n), "USB_SPEED", FormatDecimal(s.reportRate));
}

int32_t LoadCurrentProfile(const std::filesystem::path& file) { return LoadCurrentProfile(ini::Snapshot(file)); }

int32_t LoadCurrentProfile(const ini::Snapshot& file) {
    const int32_t profile = ReadNumber(file, kInit, "CurConfig", 5);
    return profile >= 1 && profile <= 5 ? profile : 1;
}

WriteResult SaveCurrentProfile(const std::filesystem::path& file, int32_t profile) {
    ini::FileUpdate update(file);
    WriteCurrentProfile(update, profile);
    return update.Commit();
}

void WriteCurrentProfile(ini::FileUpdate& update, int32_t profile) {
    const std::string value = FormatDecimal(profile);
    const std::pair<std::string_view, std::string_view> entry{"CurConfig", value};
    update.Write(kInit, std::span(&entry, 1));
}

Language LoadLanguage(const std::filesystem::path& file) { return LoadLanguage(ini::Snapshot(file)); }

Language LoadLanguage(const ini::Snapshot& file) {
    return Language::FromSetting(ReadNumber(file, kInit, "VER_SEL", 5));
}

WriteResult SaveLanguage(const std::filesystem::path& file, Language language) {
    return ini::Write(file, kInit, "VER_SEL", FormatDecimal(language.Setting()));
}

}  // namespace orv
