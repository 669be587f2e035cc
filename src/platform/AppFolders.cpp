#include "platform/AppFolders.h"

#include <fstream>
#include <iterator>
#include <vector>

#include "common/FileReplace.h"
#include "common/Utf.h"
#include "platform/ExecutablePath.h"
#include "platform/SystemFolders.h"

namespace orv {

namespace {

constexpr const char* kSkins = "skins";
// What a user changes: the settings and the macros. The skin is never written.
constexpr const char* kSeeded[] = {"config.ini", "Macro_EN.dat", "Macro_CN.dat", "constMacro.dat", "AppProfiles.ini"};

bool MakeUserFolder(const std::filesystem::path& folder, std::string& error);
bool SeedUserFolder(const AppFolders& folders, std::string& error);

}  // namespace

FolderFacts SystemFolderFacts() {
    FolderFacts facts;
    facts.executableFolder = ExecutablePath().parent_path();
    facts.executableFolderWritable = IsWritableFolder(facts.executableFolder);
    facts.installedDataFolder = InstalledDataFolder(facts.executableFolder);
    const std::filesystem::path home = UserConfigHome();
    if (!home.empty()) {
        facts.userFolder = home / UserFolderName();
    }
    return facts;
}

AppFolders ChooseAppFolders(const std::optional<std::filesystem::path>& dir, const FolderFacts& facts) {
    AppFolders folders;
    if (dir) {
        folders.layout = FolderLayout::Given;
        folders.AppDirectory = *dir;
        folders.SkinDirectory = *dir / kSkins;
        return folders;
    }
    std::error_code ignored;
    const bool shippedBeside = std::filesystem::is_regular_file(facts.executableFolder / "config.ini", ignored);
    if (shippedBeside && facts.executableFolderWritable) {
        folders.layout = FolderLayout::Portable;
        folders.AppDirectory = facts.executableFolder;
        folders.SkinDirectory = facts.executableFolder / kSkins;
        return folders;
    }
    folders.layout = FolderLayout::Installed;
    folders.shippedFolder = shippedBeside ? facts.executableFolder : facts.installedDataFolder;
    folders.AppDirectory = facts.userFolder;
    folders.SkinDirectory = folders.shippedFolder / kSkins;
    return folders;
}

bool FindAppFolders(const std::optional<std::filesystem::path>& dir, const FolderFacts& facts, AppFolders& folders,
                    std::string& error) {
    folders = ChooseAppFolders(dir, facts);
    if (folders.layout != FolderLayout::Installed) {
        return true;
    }
    if (folders.AppDirectory.empty()) {
        error = "the system names no folder for this user's settings (is HOME set?); give one with --dir DIR";
        return false;
    }
    return MakeUserFolder(folders.AppDirectory, error) && SeedUserFolder(folders, error);
}

namespace {

// Macros may hold whatever the user typed while recording, so a new folder is the user's alone.
bool MakeUserFolder(const std::filesystem::path& folder, std::string& error) {
    std::error_code code;
    if (std::filesystem::is_directory(folder, code)) {
        return true;
    }
    std::filesystem::create_directories(folder.parent_path(), code);
    if (!code && std::filesystem::create_directory(folder, code)) {
        std::filesystem::permissions(folder, std::filesystem::perms::owner_all, code);
        code.clear();
    }
    if (code || !std::filesystem::is_directory(folder)) {
        error = "cannot create " + PathToUtf8(folder) + (code ? ": " + code.message() : std::string());
        return false;
    }
    return true;
}

bool ReadWhole(const std::filesystem::path& file, std::vector<uint8_t>& bytes) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

// Contents are copied, not the file: a shipped file is read-only, its copy must not be.
bool SeedUserFolder(const AppFolders& folders, std::string& error) {
    const std::filesystem::path& from = folders.shippedFolder;
    const std::filesystem::path& to = folders.AppDirectory;
    for (const char* name : kSeeded) {
        std::error_code code;
        if (std::filesystem::exists(to / name, code) || !std::filesystem::exists(from / name, code)) {
            continue;
        }
        std::vector<uint8_t> bytes;
        if (!ReadWhole(from / name, bytes)) {
            error = "cannot read " + PathToUtf8(from / name);
            return false;
        }
        if (CreateFileContents(to / name, bytes) == NewFile::Failed) {
            error = "cannot write " + PathToUtf8(to / name);
            return false;
        }
    }
    return true;
}

}  // namespace

}  // namespace orv
