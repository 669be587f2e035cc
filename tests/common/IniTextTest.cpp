// The INI engine on contents in memory: what the file functions do, without the files.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "common/IniFile.h"

namespace orv {
namespace {

using Entries = std::vector<std::pair<std::string_view, std::string_view>>;

std::string Utf16Le(std::string_view ascii) {
    std::string bytes = "\xFF\xFE";
    for (const char c : ascii) {
        bytes += c;
        bytes += '\0';
    }
    return bytes;
}

std::string Utf16Be(std::string_view ascii) {
    std::string bytes = "\xFE\xFF";
    for (const char c : ascii) {
        bytes += '\0';
        bytes += c;
    }
    return bytes;
}

// Writing several keys at once is writing them one after the other, whatever the file holds:
// new keys land in order after the section's last content, a name given twice is one key
// spelled as first given and valued as last given.
TEST(IniEditKeys, SeveralKeysAreOneWriteAfterAnother) {
    const std::string files[] = {
        "",
        "[A]",
        "[A]\nx=1",
        "x=0\r\n[a]\r\n K = 1 \r\n\r\n; next\r\n[B]\r\nk=2\r\n",
        "[A]\rk=1\r[A]\rj=2\r",
        "[B]\n\n",
        "\xEF\xBB\xBF[A]\nk=\"1\"\n;c\n",
        Utf16Le("[A]\r\nk=1\r\n[B]\r\n"),
        Utf16Be("[B]\nj=1") + "\x41",
    };
    const Entries entries = {{"k", "5"}, {"New", "6"}, {" NEW ", "7"}, {"j", "8"}, {"K", "9"}};
    for (const std::string& file : files) {
        std::string together = file;
        ASSERT_NE(ini::EditKeys(together, "A", entries), ini::Edit::Refused);
        std::string oneByOne = file;
        for (const auto& entry : entries) {
            ini::EditKeys(oneByOne, "A", Entries{entry});
        }
        EXPECT_EQ(together, oneByOne) << file;
        const auto snapshot = ini::Snapshot::FromBytes(together);
        EXPECT_EQ(snapshot.Read("A", "k", 8), "9") << file;
        EXPECT_EQ(snapshot.Read("A", "new", 8), "7") << file;
    }
}

TEST(IniEditKeys, SaysWhetherAnythingChanged) {
    const struct {
        const char* before;
        Entries entries;
        ini::Edit edit;
        const char* after;
    } cases[] = {
        {"[A]\nk=1\n", {{"k", "1"}}, ini::Edit::Unchanged, "[A]\nk=1\n"},
        {"[a]\nK=1\nj=2\n", {{"j", "2"}, {"k", "1"}}, ini::Edit::Unchanged, "[a]\nK=1\nj=2\n"},
        {"[A]\nk = 1\n", {{"k", "1"}}, ini::Edit::Changed, "[A]\nk=1\n"},
        {"[A]\nk=1\n", {{"k", "2"}, {"k", "1"}}, ini::Edit::Unchanged, "[A]\nk=1\n"},
        {"[A]\nk=1\n", {}, ini::Edit::Unchanged, "[A]\nk=1\n"},
        {"", {{"k", "1"}}, ini::Edit::Changed, "[A]\r\nk=1\r\n"},
        {"[A]\nk=1\n", {{"k", "2"}, {"=", "3"}}, ini::Edit::Refused, "[A]\nk=1\n"},
    };
    for (const auto& c : cases) {
        std::string bytes = c.before;
        EXPECT_EQ(ini::EditKeys(bytes, "A", c.entries), c.edit) << c.before;
        EXPECT_EQ(bytes, c.after) << c.before;
    }
}

// A file whose first line ends in a lone CR takes CR for new lines; a CR written just before
// an empty line's LF would join it into one CR LF, and the empty line would be gone.
TEST(IniEditKeys, NewLinesNeverJoinTheLineEndingAfterThem) {
    const struct {
        const char* before;
        const char* after;
    } cases[] = {
        {"[A]\rx=1\n\n[B]\r", "[A]\rx=1\ry=2\n\n[B]\r"},
        {"[S]\r[A]\n\n[B]\r", "[S]\r[A]\ry=2\n\n[B]\r"},
    };
    for (const auto& c : cases) {
        std::string bytes = c.before;
        ASSERT_EQ(ini::EditKeys(bytes, "A", Entries{{"y", "2"}}), ini::Edit::Changed) << c.before;
        EXPECT_EQ(bytes, c.after) << c.before;
    }
}

TEST(IniSnapshot, ReadsSeveralKeysOfOneSectionAtOnce) {
    const auto snapshot =
        ini::Snapshot::FromBytes("[B]\nk=0\n[A]\nk=12345\nK=2\n;j=1\nj='quoted'\n[A]\nx=3\n[C]\nx=4\n");
    EXPECT_EQ(snapshot.State(), ini::FileState::Read);
    const ini::KeyRead keys[] = {{"k", 3}, {" J", 64}, {"x", 64}, {"k", 64}, {"", 64}};
    const auto values = snapshot.ReadKeys("a", keys);
    ASSERT_TRUE(values.has_value());
    EXPECT_EQ(*values, (std::vector<std::string>{"12", "quoted", "", "12345", ""}));
    for (size_t i = 0; i < std::size(keys); ++i) {
        EXPECT_EQ(snapshot.Read("a", keys[i].key, keys[i].bufferChars), (*values)[i]) << keys[i].key;
    }
    EXPECT_FALSE(snapshot.ReadKeys("D", keys).has_value());
    EXPECT_TRUE(ini::Snapshot::FromBytes(Utf16Le("[A]\r\nk=1\r\n")).ReadKeys("A", {}).has_value());
}

// Long names are found and replaced in place like short ones, among keys of every length.
TEST(IniSnapshot, FindsKeysWhateverTheLengthOfTheirNames) {
    for (const size_t length : {1, 63, 64, 65, 300}) {
        const std::string name(length, 'n');
        const std::string upper(length, 'N');
        const std::string text = "[A]\nn=0\n" + std::string(length + 1, 'n') + "=1\n" + upper + "=2\n" + name + "=3\n";
        const ini::KeyRead keys[] = {{name, 8}, {"m", 8}};
        const auto values = ini::Snapshot::FromBytes(text).ReadKeys("A", keys);
        ASSERT_TRUE(values.has_value());
        EXPECT_EQ(values->front(), length == 1 ? "0" : "2") << length;
        std::string edited = text;
        ASSERT_EQ(ini::EditKeys(edited, "A", Entries{{name, "9"}}), ini::Edit::Changed);
        EXPECT_EQ(edited.size(), text.size()) << length;
        EXPECT_EQ(ini::Snapshot::FromBytes(edited).Read("A", name, 8), "9") << length;
    }
}

}  // namespace
}  // namespace orv
