#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "common/FileWriteLock.h"
#include "common/IniFile.h"
#include "common/Utf.h"
#include "common/TempFolder.h"

namespace orv {
namespace {

using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

// UTF-16 file bytes for text, little- or big-endian, with the byte order mark.
std::string Utf16File(std::u16string_view text, bool little = true) {
    std::string bytes = little ? "\xFF\xFE" : "\xFE\xFF";
    for (const char16_t unit : text) {
        const char low = static_cast<char>(unit & 0xFF);
        const char high = static_cast<char>(unit >> 8);
        bytes += little ? std::string{low, high} : std::string{high, low};
    }
    return bytes;
}

TEST(IniRead, FollowsThePrivateProfileRules) {
    using namespace std::string_literals;
    const struct {
        const char* what;
        std::string file;
        const char* section;
        const char* key;
        size_t buffer;
        const char* value;
    } cases[] = {
        {"plain", "[S]\nk=v\n", "S", "k", 64, "v"},
        {"names ignore ASCII case", "[config1]\nk0=5\n", "CONFIG1", "K0", 64, "5"},
        {"blanks around names and values", " \t[ S ] \n \t k \t=\t v v \t\n", "S", "k", 64, "v v"},
        {"query names are trimmed too", "[S]\nk=1\n", " S ", "\tk", 64, "1"},
        {"double quotes", "[S]\nk=\"a b\"\n", "S", "k", 64, "a b"},
        {"single quotes", "[S]\nk='a'\n", "S", "k", 64, "a"},
        {"unmatched quotes stay", "[S]\nk=\"a'\n", "S", "k", 64, "\"a'"},
        {"a lone quote stays", "[S]\nk=\"\n", "S", "k", 64, "\""},
        {"inner quotes stay", "[S]\nk=a\"b\"\n", "S", "k", 64, "a\"b\""},
        {"comment", "[S]\n;k=1\n  ; k=2\nk=3\n", "S", "k", 64, "3"},
        {"text after ] ignored", "[S] ; note ]\nk=1\n", "S", "k", 64, "1"},
        {"lines before the first section", "k=1\n[S]\n", "S", "k", 64, ""},
        {"first duplicate key wins", "[S]\nk=1\nK=2\n", "S", "k", 64, "1"},
        {"first duplicate section wins", "[S]\na=1\n[T]\n[S]\nk=2\n", "S", "k", 64, ""},
        {"later sections do not leak", "[A]\n[B]\nk=1\n", "A", "k", 64, ""},
        {"= inside the value", "[S]\nk=a=b\n", "S", "k", 64, "a=b"},
        {"line without = ignored", "[S]\nk\nk=2\n", "S", "k", 64, "2"},
        {"empty key name never matches", "[S]\n=5\n", "S", "", 64, ""},
        {"section without ]", "[S\nk=1\n", "S", "k", 64, "1"},
        {"# is no comment", "[S]\n#k=1\n", "S", "#k", 64, "1"},
        {"blank value", "[S]\nk=   \n", "S", "k", 64, ""},
        {"CRLF lines", "[S]\r\nk=1\r\nj=2\r\n", "S", "j", 64, "2"},
        {"CR lines", "[S]\rk=1\rj=2", "S", "j", 64, "2"},
        {"no line ending at the end", "[S]\nk=1", "S", "k", 64, "1"},
        {"missing section", "[S]\nk=1\n", "T", "k", 64, ""},
        {"missing key", "[S]\nk=1\n", "S", "j", 64, ""},
        {"empty file", "", "S", "k", 64, ""},
        {"cut to the buffer", "[S]\nk=12345\n", "S", "k", 5, "1234"},
        {"buffer of one", "[S]\nk=12345\n", "S", "k", 1, ""},
        {"buffer of zero", "[S]\nk=12345\n", "S", "k", 0, ""},
        {"cut after unquoting", "[S]\nk=\"12345\"\n", "S", "k", 5, "1234"},
        {"cut counts UTF-16 units", "[S]\nk=\xE4\xB8\xAD\xE6\x96\x87\xE5\xAD\x97\n", "S", "k", 3,
         "\xE4\xB8\xAD\xE6\x96\x87"},
        {"cut never leaves half a pair", "[S]\nk=a\xF0\x9F\x98\x80\n", "S", "k", 3, "a"},
        {"a pair that fits stays", "[S]\nk=a\xF0\x9F\x98\x80\n", "S", "k", 4, "a\xF0\x9F\x98\x80"},
        {"NUL ends the value", "[S]\nk=ab\0cd\n"s, "S", "k", 64, "ab"},
        {"invalid UTF-8 reads as U+FFFD", "[S]\nk=a\xFF\n", "S", "k", 64, "a\xEF\xBF\xBD"},
        {"UTF-8 byte order mark", "\xEF\xBB\xBF[S]\nk=1\n", "S", "k", 64, "1"},
        {"non-ASCII names match exactly", "[\xC3\x84]\nk=1\n", "\xC3\x84", "k", 64, "1"},
    };
    TempFolder folder;
    const auto file = folder / "a.ini";
    for (const auto& c : cases) {
        WriteBytes(file, c.file);
        EXPECT_EQ(ini::Read(file, c.section, c.key, c.buffer), c.value) << c.what;
    }
    EXPECT_EQ(ini::Read(folder / "missing.ini", "S", "k", 64), "");
    EXPECT_EQ(ini::Read(folder.Path(), "S", "k", 64), "") << "a folder reads as empty text";
}

TEST(IniSnapshot, TellsAMissingFileFromOneThatCannotBeRead) {
    TempFolder folder;
    const auto file = folder / "a.ini";
    WriteBytes(file, "[S]\nk=1\n[Empty]\n");
    const ini::Snapshot read(file);
    EXPECT_EQ(read.State(), ini::FileState::Read);
    EXPECT_TRUE(read.HasSection(" s "));
    EXPECT_TRUE(read.HasSection("Empty"));
    EXPECT_FALSE(read.HasSection("T"));
    EXPECT_EQ(read.Read("S", "k", 8), "1");

    EXPECT_EQ(ini::Snapshot(folder / "missing.ini").State(), ini::FileState::Missing);
    EXPECT_EQ(ini::Snapshot(folder / "missing" / "a.ini").State(), ini::FileState::Missing);
    test::MakeUnreadable(file);
    const ini::Snapshot unreadable(file);
    EXPECT_EQ(unreadable.State(), ini::FileState::Unreadable);
    EXPECT_FALSE(unreadable.HasSection("S"));
    EXPECT_EQ(ini::Snapshot(folder.Path()).State(), ini::FileState::Unreadable);
    EXPECT_FALSE(ini::Write(file, "S", "k", "2")) << "a file that cannot be read is never written over";
}

TEST(IniRead, ReadsUtf16FilesOfBothByteOrders) {
    TempFolder folder;
    const auto file = folder / "a.ini";
    const std::u16string text = u"[Init]\r\nName=\u4E2D\u6587 \U0001F600\r\n";
    for (const bool little : {true, false}) {
        WriteBytes(file, Utf16File(text, little));
        EXPECT_EQ(ini::Read(file, "init", "name", 64), "\xE4\xB8\xAD\xE6\x96\x87 \xF0\x9F\x98\x80");
        EXPECT_EQ(ini::Read(file, "Init", "Name", 4), "\xE4\xB8\xAD\xE6\x96\x87 ");
    }
}

TEST(IniWrite, ChangesOnlyWhatItWrites) {
    const struct {
        const char* what;
        const char* before;
        const char* section;
        const char* key;
        const char* value;
        const char* after;
    } cases[] = {
        {"rewrites the plain line, keeps the key's spelling", "; c\n[s]\n  KEY = 1 \nz=9\n", "S", "key", "2",
         "; c\n[s]\nKEY=2\nz=9\n"},
        {"blanks after = go", "[S]\r\nK1=  1\r\nK2=  2\r\n", "S", "K2", "2", "[S]\r\nK1=  1\r\nK2=2\r\n"},
        {"first of duplicate keys", "[S]\nk=1\nk=2\n", "S", "k", "3", "[S]\nk=3\nk=2\n"},
        {"first of duplicate sections", "[S]\na=1\n[S]\nk=2\n", "S", "k", "3", "[S]\na=1\nk=3\n[S]\nk=2\n"},
        {"new key after the last key, before blank lines and comments", "[A]\nx=1\n\n; about B\n[B]\ny=2\n", "A", "z",
         "3", "[A]\nx=1\nz=3\n\n; about B\n[B]\ny=2\n"},
        {"new key past comments between keys", "[A]\nx=1\n;c\ny=2\n", "A", "z", "3", "[A]\nx=1\n;c\ny=2\nz=3\n"},
        {"new key in an empty section", "[A]\n[B]\n", "A", "k", "v", "[A]\nk=v\n[B]\n"},
        {"new key in a last line without ending", "[A]\nx=1", "A", "y", "2", "[A]\nx=1\ny=2"},
        {"new section at the end", "[A]\nx=1\n\n", "B", "k", "v", "[A]\nx=1\n\n[B]\nk=v\n"},
        {"new section after a line without ending", "[A]\nx=1", "B", "k", "v", "[A]\nx=1\n[B]\nk=v\n"},
        {"CRLF file", "[A]\r\nx=1\r\n", "B", "k", "v", "[A]\r\nx=1\r\n[B]\r\nk=v\r\n"},
        {"CR file", "[A]\rx=1\r", "A", "y", "2", "[A]\rx=1\ry=2\r"},
        {"file without line endings takes CRLF", "[A]", "A", "k", "v", "[A]\r\nk=v"},
        {"empty file", "", "A", "k", "v", "[A]\r\nk=v\r\n"},
        {"lines before the first section stay", "x=1\n[A]\n", "A", "x", "2", "x=1\n[A]\nx=2\n"},
        {"value written as given", "[A]\n", "A", "k", " \"a=b\" ", "[A]\nk= \"a=b\" \n"},
        {"empty value", "[A]\nk=1\n", "A", "k", "", "[A]\nk=\n"},
        {"a written key is not one of its namesakes in a line without =", "[A]\nk\n", "A", "k", "1", "[A]\nk\nk=1\n"},
        {"section without ]", "[A\nx=1\n", "A", "x", "2", "[A\nx=2\n"},
        {"UTF-8 byte order mark", "\xEF\xBB\xBF[A]\n", "A", "k", "\xC3\xA9", "\xEF\xBB\xBF[A]\nk=\xC3\xA9\n"},
        {"invalid UTF-8 bytes stay", ";\xFF\n[A]\nx=\xC3\x28\x80\n;\xFE\n", "A", "y", "1",
         ";\xFF\n[A]\nx=\xC3\x28\x80\ny=1\n;\xFE\n"},
    };
    TempFolder folder;
    const auto file = folder / "a.ini";
    for (const auto& c : cases) {
        WriteBytes(file, c.before);
        ASSERT_TRUE(ini::Write(file, c.section, c.key, c.value)) << c.what;
        EXPECT_EQ(ReadBytes(file), c.after) << c.what;
    }
}

TEST(IniWrite, KeepsNulBytesAndVeryLongLines) {
    using namespace std::string_literals;
    TempFolder folder;
    const auto file = folder / "a.ini";
    const std::string longLine = std::string(1 << 20, 'x');
    const std::string before = "[A]\nbin=\0\0\x01\n"s + longLine + "\n[B]\nlong=" + longLine + "\n";
    WriteBytes(file, before);
    ASSERT_TRUE(ini::Write(file, "A", "k", "1"));
    EXPECT_EQ(ReadBytes(file), "[A]\nbin=\0\0\x01\n"s + longLine + "\nk=1\n[B]\nlong=" + longLine + "\n");
    EXPECT_EQ(ini::Read(file, "B", "long", 10), "xxxxxxxxx");
}

TEST(IniWrite, CreatesNewFilesAsUtf8WithoutByteOrderMark) {
    TempFolder folder;
    const auto file = folder / "new.ini";
    ASSERT_TRUE(ini::Write(file, "Init", "Name", "\xE4\xB8\xAD"));
    ASSERT_TRUE(ini::Write(file, "Init", "VER_SEL", "1"));
    EXPECT_EQ(ReadBytes(file), "[Init]\r\nName=\xE4\xB8\xAD\r\nVER_SEL=1\r\n");
}

TEST(IniWrite, KeepsUtf16Files) {
    TempFolder folder;
    const auto file = folder / "a.ini";
    for (const bool little : {true, false}) {
        // An unpaired surrogate in a comment must survive as it is.
        WriteBytes(file, Utf16File(u"[A]\r\nx=1\r\n;\xD800\r\n", little));
        ASSERT_TRUE(ini::Write(file, "A", "name", "\xE4\xB8\xAD\xF0\x9F\x98\x80"));
        ASSERT_TRUE(ini::Write(file, "A", "x", "2"));
        EXPECT_EQ(ReadBytes(file), Utf16File(u"[A]\r\nx=2\r\nname=\u4E2D\U0001F600\r\n;\xD800\r\n", little));
        EXPECT_EQ(ini::Read(file, "A", "name", 64), "\xE4\xB8\xAD\xF0\x9F\x98\x80");
    }
    // An odd last byte is not part of any unit, but it is part of the file.
    WriteBytes(file, Utf16File(u"[A]\r\n") + "\x41");
    ASSERT_TRUE(ini::Write(file, "A", "k", "v"));
    EXPECT_EQ(ReadBytes(file), Utf16File(u"[A]\r\nk=v\r\n") + "\x41");
}

TEST(IniWrite, RefusesNamesAndValuesItCouldNotReadBack) {
    using namespace std::string_literals;
    const struct {
        std::string section;
        std::string key;
        std::string value;
    } cases[] = {
        {"A", "k", "1\n[B]"}, {"A", "k", "1\r"}, {"A", "k", "a\0b"s}, {"A\nB", "k", "1"}, {"A]", "k", "1"},
        {"A", "k=j", "1"},    {"A", "", "1"},    {"A", "  ", "1"},    {"A", "[k", "1"},   {"A", ";k", "1"},
    };
    TempFolder folder;
    const auto file = folder / "a.ini";
    WriteBytes(file, "[A]\nk=0\n");
    for (const auto& c : cases) {
        EXPECT_FALSE(ini::Write(file, c.section, c.key, c.value)) << c.section << "/" << c.key << "/" << c.value;
    }
    EXPECT_EQ(ReadBytes(file), "[A]\nk=0\n");
    EXPECT_FALSE(ini::Write(folder / "new.ini", "A", "", "1"));
    EXPECT_FALSE(std::filesystem::exists(folder / "new.ini"));
}

TEST(IniWrite, SeveralKeysLandTogetherOrNotAtAll) {
    TempFolder folder;
    const auto file = folder / "a.ini";
    WriteBytes(file, "; profiles\r\n[A]\r\nk=0\r\n\r\n[B]\r\nx=1\r\n");
    const std::pair<std::string_view, std::string_view> keys[] = {{"K", "5"}, {"j", "6"}, {"k", "7"}};
    EXPECT_TRUE(ini::WriteKeys(file, "A", keys));
    EXPECT_EQ(ReadBytes(file), "; profiles\r\n[A]\r\nk=7\r\nj=6\r\n\r\n[B]\r\nx=1\r\n");

    const std::pair<std::string_view, std::string_view> oneBad[] = {{"j", "1"}, {"", "2"}};
    EXPECT_FALSE(ini::WriteKeys(file, "A", oneBad));
    EXPECT_EQ(ini::Read(file, "A", "j", 8), "6");
}

TEST(IniWrite, FailsWithoutTouchingAnything) {
    TempFolder folder;
    const auto readOnly = folder / "ro.ini";
    WriteBytes(readOnly, "[A]\nk=0\n");
    std::filesystem::permissions(readOnly, std::filesystem::perms::owner_read | std::filesystem::perms::group_read |
                                               std::filesystem::perms::others_read);
    EXPECT_FALSE(ini::Write(readOnly, "A", "k", "1"));
    EXPECT_FALSE(ini::Write(readOnly, "A", "k", "0")) << "even when the value is already there";
    EXPECT_EQ(ReadBytes(readOnly), "[A]\nk=0\n");

    const auto inMissingFolder = folder / "missing" / "a.ini";
    EXPECT_FALSE(ini::Write(inMissingFolder, "A", "k", "1"));
    EXPECT_FALSE(std::filesystem::exists(inMissingFolder.parent_path()));

    std::filesystem::create_directory(folder / "dir.ini");
    EXPECT_FALSE(ini::Write(folder / "dir.ini", "A", "k", "1"));
    EXPECT_TRUE(std::filesystem::is_directory(folder / "dir.ini"));

    size_t entries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
        entries += entry.path().extension() == ".lock" ? 0 : 1;
    }
    EXPECT_EQ(entries, 2u) << "no temporary file is left behind";
}

// The lock is taken per open file, so a lock held here stands for another process's.
TEST(IniWrite, WaitsWhileAnotherWriterHoldsTheFilesLock) {
    TempFolder folder;
    const auto file = folder / "config.ini";
    WriteBytes(file, "[Init]\r\nCurConfig=1\r\n");
    std::atomic<bool> written{false};
    std::thread writer;
    {
        const FileWriteLock other(file);
        ASSERT_TRUE(other.Held());
        writer = std::thread([&] { written = static_cast<bool>(ini::Write(file, "Init", "CurConfig", "2")); });
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        EXPECT_FALSE(written.load());
        EXPECT_EQ(ini::Read(file, "Init", "CurConfig", 8), "1") << "readers take no lock";
    }
    writer.join();
    EXPECT_TRUE(written.load());
    EXPECT_EQ(ini::Read(file, "Init", "CurConfig", 8), "2");
}

// A holder that never lets go (a writer stopped inside its lock) is waited for only so long;
// then nothing is read or written, and the update says why.
TEST(IniWrite, GivesUpOnALockHeldLongerThanItsWait) {
    TempFolder folder;
    const auto file = folder / "config.ini";
    WriteBytes(file, "[Init]\r\nCurConfig=1\r\n");
    const FileWriteLock other(file);
    ASSERT_TRUE(other.Held());

    const FileWriteLock second(file, std::chrono::milliseconds(20));
    EXPECT_TRUE(second.Busy());
    EXPECT_FALSE(second.Held());

    ini::FileUpdate update(file, std::chrono::milliseconds(20));
    EXPECT_TRUE(update.Busy());
    EXPECT_EQ(update.Contents().State(), ini::FileState::Unreadable);
    const std::pair<std::string_view, std::string_view> entry{"CurConfig", "2"};
    update.Write("Init", std::span(&entry, 1));
    EXPECT_EQ(update.Commit(), WriteResult::Kind::Busy);
    EXPECT_EQ(ReadBytes(file), "[Init]\r\nCurConfig=1\r\n");
}

// What an update writes back is what it read, and its writes of several sections land as one.
TEST(IniWrite, AnUpdateReadsWhatItWritesOverAndReplacesOnce) {
    TempFolder folder;
    const auto file = folder / "config.ini";
    WriteBytes(file, "[A]\r\nk=1\r\n");
    ini::FileUpdate update(file);
    const std::pair<std::string_view, std::string_view> a{"k", "2"};
    const std::pair<std::string_view, std::string_view> b{"j", "3"};
    update.Write("A", std::span(&a, 1));
    update.Write("B", std::span(&b, 1));
    EXPECT_EQ(update.Contents().Read("A", "k", 8), "2");
    EXPECT_EQ(update.Contents().Read("B", "j", 8), "3");
    EXPECT_EQ(ReadBytes(file), "[A]\r\nk=1\r\n") << "nothing is written before the commit";
    EXPECT_TRUE(update.Commit());
    EXPECT_EQ(ReadBytes(file), "[A]\r\nk=2\r\n[B]\r\nj=3\r\n");
}

TEST(IniWrite, TwoThreadsWritingOneFileLoseNothing) {
    TempFolder folder;
    const auto file = folder / "config.ini";
    constexpr int kWrites = 100;
    auto writer = [&](const std::string& prefix) {
        for (int i = 0; i < kWrites; ++i) {
            EXPECT_TRUE(ini::Write(file, "Config1", prefix + std::to_string(i), std::to_string(i)));
        }
    };
    std::thread window(writer, "W");
    std::thread playback(writer, "P");
    window.join();
    playback.join();
    for (int i = 0; i < kWrites; ++i) {
        EXPECT_EQ(ini::Read(file, "Config1", "W" + std::to_string(i), 16), std::to_string(i));
        EXPECT_EQ(ini::Read(file, "Config1", "P" + std::to_string(i), 16), std::to_string(i));
    }
}

}  // namespace
}  // namespace orv
