#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "common/FileReplace.h"
#include "common/TempFolder.h"

namespace orv {
namespace {

using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

NewFile Create(const std::filesystem::path& file, const std::string& text) {
    return CreateFileContents(file, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

std::vector<std::string> Names(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// A seeded settings file must never overwrite one the user already has, and a failure must
// leave no half-written or temporary file that a later start would take for the real one.
TEST(CreateFileContents, CreatesOnlyWhatIsMissingAndLeavesNothingElse) {
    TempFolder folder;
    EXPECT_EQ(Create(folder / "new.ini", "shipped\r\n"), NewFile::Created);
    EXPECT_EQ(ReadBytes(folder / "new.ini"), "shipped\r\n");

    WriteBytes(folder / "mine.ini", "the user's own");
    EXPECT_EQ(Create(folder / "mine.ini", "shipped"), NewFile::AlreadyThere);
    EXPECT_EQ(ReadBytes(folder / "mine.ini"), "the user's own");

    EXPECT_EQ(Create(folder / "empty.dat", ""), NewFile::Created);
    EXPECT_EQ(ReadBytes(folder / "empty.dat"), "");

    EXPECT_EQ(Create(folder / "missing" / "x.ini", "shipped"), NewFile::Failed);
    EXPECT_EQ(Names(folder.Path()), (std::vector<std::string>{"empty.dat", "mine.ini", "new.ini"}));
}

}  // namespace
}  // namespace orv
