#pragma once
#include <filesystem>
#include <optional>
#include <string>

namespace orv {

// Which of the ways to find the program's files applies.
enum class FolderLayout {
    Given,      // --dir DIR: everything in DIR, the skin in DIR/skins
    Portable,   // config.ini beside an executable whose folder can be written: everything there
    Installed,  // this user's own folder, seeded from the read-only shipped files; the shipped skin
};

struct AppFolders {
    std::filesystem::path AppDirectory;   // config.ini and the macro files
    std::filesystem::path SkinDirectory;  // pictures and description files
    FolderLayout layout = FolderLayout::Portable;
    std::filesystem::path shippedFolder;  // Installed: what a new user's folder is filled from
};

// What the rule looks at. SystemFolderFacts() asks the running system; tests make their own.
struct FolderFacts {
    std::filesystem::path executableFolder;
    bool executableFolderWritable = false;
    std::filesystem::path installedDataFolder;  // where an installed copy keeps its shipped files
    std::filesystem::path userFolder;           // empty when the system names none for this user
};
FolderFacts SystemFolderFacts();

// The rule that both programs share, with no file touched: --dir wins; a config.ini beside an
// executable in a writable folder is the portable layout; anything else is an installed copy
// whose shipped files (beside the executable when config.ini lies there, else the installed
// data folder) are only read, and whose users each keep their settings in their own folder.
AppFolders ChooseAppFolders(const std::optional<std::filesystem::path>& dir, const FolderFacts& facts);

// The rule, and for an installed copy the user's folder made ready: created, and given a copy of
// each shipped config.ini and macro file it lacks. A file already there is never replaced, so a
// user's settings survive every start and every update of the program. Returns false, with the
// reason in error, when the folder cannot be made ready; the folders are then not usable.
bool FindAppFolders(const std::optional<std::filesystem::path>& dir, const FolderFacts& facts, AppFolders& folders,
                    std::string& error);

}  // namespace orv
