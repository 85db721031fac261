// Text-mode output, text-mode field reads, and the file access of the run that every system
// shares: the list's bytes as written, a list that replaces the old one only when complete,
// files beyond 4 GiB. What only POSIX systems have (pipes, devices, links, file modes, mounts)
// and what Windows does its own way: posix/ and win32/.
#include "platform/files.hpp"

#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <vector>

#include "platform/text_writer.hpp"
#include "support/list_writing.hpp"
#include "support/run_over.hpp"
#include "support/suite_files.hpp"
#include "support/system.hpp"
#include "support/temp_tree.hpp"
#include "support/test_file_system.hpp"
#include "support/text_mode_rules.hpp"

namespace {

using testing_support::Entries;
using testing_support::MemoryInputFile;
using testing_support::MemoryOutputFile;
using testing_support::TempTree;
using testing_support::WriteList;

std::string Written(std::initializer_list<std::string_view> pieces) {
    std::string sink;
    platform::TextModeWriter writer(std::make_unique<MemoryOutputFile>(sink));
    for (auto piece : pieces) {
        writer.Write(piece);
    }
    EXPECT_TRUE(writer.Close());
    return sink;
}

TEST(TextModeWriter, TurnsEveryLineFeedIntoCrLfWhateverPrecedesIt) {
    EXPECT_EQ(Written({"a\r\n", "\n", "b\nc"}), "a\r\r\n\r\nb\r\nc");
    // A line feed split from its CR by a buffer boundary still gets exactly one CR added.
    std::string big(5000, 'x');
    big += "\r\n";
    EXPECT_EQ(Written({big}), std::string(5000, 'x') + "\r\r\n");
}

TEST(TextModeWriter, ReportsAFailedWriteAtClose) {
    std::string sink;
    platform::TextModeWriter writer(std::make_unique<MemoryOutputFile>(sink, 10));
    writer.Write(std::string(20000, 'x'));  // more than the buffer holds: flushed at once
    writer.Write("more\n");
    EXPECT_TRUE(writer.Failed());
    EXPECT_FALSE(writer.Close());
    EXPECT_LE(sink.size(), 10u);
}

TEST(TextModeWriter, ReportsAFailedFinalFlushAndAFailedClose) {
    std::string sink;
    platform::TextModeWriter shortDisk(std::make_unique<MemoryOutputFile>(sink, 3));
    shortDisk.Write("abcdef");  // still buffered: the failure shows at close
    EXPECT_FALSE(shortDisk.Close());

    std::string sink2;
    platform::TextModeWriter badClose(std::make_unique<MemoryOutputFile>(sink2, -1, true));
    badClose.Write("abc");
    EXPECT_FALSE(badClose.Close());
    EXPECT_EQ(sink2, "abc");
}

struct FieldCase {
    const char* name;
    std::string file;
    std::int64_t offset;
    std::size_t count;
    std::string delivered;
    // Keeps test names short: the case is named, not dumped.
    friend void PrintTo(const FieldCase& c, std::ostream* os) { *os << c.name; }
};

const FieldCase kFieldCases[] = {
    FieldCase{"Plain", "0123456789", 2, 4, "2345"},
    FieldCase{"CrLfInsideBecomesLf", "ab\r\ncd", 0, 6, "ab\ncd"},
    FieldCase{"LoneCrInsideStays", "ab\rcd", 0, 5, "ab\rcd"},
    FieldCase{"TrailingCrBeforeLfIsDropped", "abc\r\nx", 0, 4, "abc"},
    FieldCase{"TrailingCrBeforeOtherIsDelivered", "abc\rx", 0, 4, "abc\r"},
    FieldCase{"TrailingCrAtEndOfFileIsDelivered", "abc\r", 0, 4, "abc\r"},
    FieldCase{"CtrlZEndsTheField",
              "ab\x1A"
              "cd",
              0, 5, "ab"},
    FieldCase{"CtrlZFirst",
              "\x1A"
              "abcd",
              0, 5, ""},
    FieldCase{"ShortFile", "abc", 1, 8, "bc"},
    FieldCase{"BeyondTheEnd", "abc", 64, 8, ""},
};

class TextModeFieldReadTest : public ::testing::TestWithParam<FieldCase> {};

TEST_P(TextModeFieldReadTest, DeliversTheFieldAsTextModeDoes) {
    const auto& c = GetParam();
    platform::TextModeFile file(std::make_unique<MemoryInputFile>(c.file));
    ASSERT_TRUE(file.Seek(c.offset));
    char buffer[64];
    long n = file.Read(buffer, c.count);
    ASSERT_GE(n, 0);
    EXPECT_EQ(std::string(buffer, static_cast<std::size_t>(n)), c.delivered);
}

INSTANTIATE_TEST_SUITE_P(Rules, TextModeFieldReadTest, ::testing::ValuesIn(kFieldCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The same rules through the system's own text-mode reads of a file on disk: on Windows the C
// runtime's, elsewhere the program's over a binary file.
class SystemTextModeFieldReadTest : public ::testing::TestWithParam<FieldCase> {};

TEST_P(SystemTextModeFieldReadTest, DeliversTheFieldAsTheRulesSay) {
    const auto& c = GetParam();
    TempTree tree;
    tree.WriteFile("field", c.file);
    auto file = platform::SystemFileSystem().OpenText(tree.Path("field"));
    ASSERT_NE(file, nullptr);
    ASSERT_TRUE(file->Seek(c.offset));
    char buffer[64];
    const long n = file->Read(buffer, c.count);
    ASSERT_GE(n, 0);
    EXPECT_EQ(std::string(buffer, static_cast<std::size_t>(n)), c.delivered);
}

INSTANTIATE_TEST_SUITE_P(Rules, SystemTextModeFieldReadTest, ::testing::ValuesIn(kFieldCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Files of CR, LF, Ctrl-Z, NUL and letters, read at every kind of position with the sizes the
// definition reader asks for, several reads to one open: every read delivers what the rules
// written out byte by byte say.
TEST(SystemTextMode, AgreesWithTheRulesOnRandomFields) {
    TempTree tree;
    testing_support::Xorshift random(932);
    constexpr char kBytes[] = {'\r', '\n', '\r', '\n', '\x1a', '\0', 'a', 'b'};
    for (int round = 0; round < 60; ++round) {
        std::string bytes(random.Between(0, 90), '\0');
        for (char& c : bytes) {
            c = kBytes[random.Next() % sizeof kBytes];
        }
        const std::string name = "random" + std::to_string(round);
        tree.WriteFile(name, bytes);
        auto file = platform::SystemFileSystem().OpenText(tree.Path(name));
        ASSERT_NE(file, nullptr);
        for (int read = 0; read < 12; ++read) {
            const std::size_t offset = random.Between(0, bytes.size() + 2);
            const std::size_t count = std::size_t{8} << random.Between(0, 2);
            ASSERT_TRUE(file->Seek(static_cast<std::int64_t>(offset)));
            char buffer[32];
            const long n = file->Read(buffer, count);
            ASSERT_GE(n, 0);
            EXPECT_EQ(std::string(buffer, static_cast<std::size_t>(n)),
                      testing_support::TextModeRead(bytes, offset, count))
                << "file " << round << ", " << count << " bytes at " << offset;
        }
    }
}
TEST(TextModeFile, PeekingPastATrailingCrLosesNoByte) {
    platform::TextModeFile file(std::make_unique<MemoryInputFile>("ab\rxy"));
    char buffer[8];
    ASSERT_EQ(file.Read(buffer, 3), 3);
    ASSERT_EQ(file.Read(buffer, 8), 2);
    EXPECT_EQ(std::string(buffer, 2), "xy");
}

// An output file that notes whether it was finished.
class NotingOutputFile final : public platform::OutputFile {
public:
    explicit NotingOutputFile(bool& closed) : closed_(closed) {}
    bool Write(const char*, std::size_t) override { return false; }
    bool Close() override { return closed_ = true; }

private:
    bool& closed_;
};

TEST(TextModeWriter, NeverFinishesAFileThatMissedAWrite) {
    bool closed = false;
    platform::TextModeWriter writer(std::make_unique<NotingOutputFile>(closed));
    writer.Write(std::string(10000, 'x'));
    EXPECT_FALSE(writer.Close());
    EXPECT_FALSE(closed) << "a file that missed a write took the list's place";
}

TEST(ReadTextModeFile, ReadsTheListBackAsATextStreamDoes) {
    TempTree tree;
    tree.WriteFile("list", "one\r\r\ntwo\rthree\r\nfour\x1Alost");
    std::string text;
    auto& files = platform::SystemFileSystem();
    ASSERT_TRUE(platform::ReadTextModeFile(files, tree.Path("list"), text));
    EXPECT_EQ(text, "one\r\ntwo\rthree\nfour");
    EXPECT_FALSE(platform::ReadTextModeFile(files, tree.Path("missing"), text));
    EXPECT_TRUE(text.empty());
}

TEST(SystemFileSystemCreate, AnUnfinishedListLeavesTheOldOneAndNoTemporaryFile) {
    TempTree tree;
    tree.WriteFile("version.lis", "the last good list");
    {
        auto out = platform::SystemFileSystem().Create(tree.Path("version.lis"));
        ASSERT_NE(out, nullptr);
        ASSERT_TRUE(out->Write("half a list", 11));
        EXPECT_EQ(Entries(tree).size(), 2u) << "the new list is written beside the old one";
    }  // dropped without Close, as after a failed write
    EXPECT_EQ(tree.ReadFile("version.lis"), "the last good list");
    EXPECT_EQ(Entries(tree), std::set<std::string>{"version.lis"});
}

TEST(SystemFileSystemCreate, RefusesMissingDirectoriesAndNamesWithNul) {
    TempTree tree;
    EXPECT_EQ(platform::SystemFileSystem().Create(tree.Path("missing/version.lis")), nullptr);
    tree.WriteFile("victim", "must stay");
    EXPECT_EQ(
        platform::SystemFileSystem().Create(tree.Path("victim") + std::string(1, '\0') + "/x"),
        nullptr);
    EXPECT_EQ(tree.ReadFile("victim"), "must stay");
}

TEST(SystemFileSystemCreate, WritesTheBytesAsGivenAndReplacesTheOldList) {
    TempTree tree;
    constexpr char kList[] = "line\r\r\nlf\ncr\r\x1a\0end";
    const std::string bytes(kList, sizeof kList - 1);
    ASSERT_TRUE(WriteList(tree.Path("version.lis"), bytes));
    EXPECT_EQ(tree.ReadFile("version.lis"), bytes) << "no translation on the way";
    tree.WriteFile("version.lis", "old contents, longer than the new");
    ASSERT_TRUE(WriteList(tree.Path("version.lis"), "new"));
    EXPECT_EQ(tree.ReadFile("version.lis"), "new");
    EXPECT_EQ(Entries(tree), std::set<std::string>{"version.lis"}) << "no temporary file left";
}

TEST(SystemFileSystemCreate, RefusesADirectoryUnderTheListsName) {
    TempTree tree;
    tree.WriteFile("version.lis/inside", "kept");
    EXPECT_EQ(platform::SystemFileSystem().Create(tree.Path("version.lis")), nullptr);
    EXPECT_EQ(tree.ReadFile("version.lis/inside"), "kept");
    EXPECT_EQ(Entries(tree), std::set<std::string>{"version.lis"}) << "no temporary file left";
}

// Where a file holds no hole, none is reported: data is never passed over, whatever the file
// system answers about holes.
TEST(SystemFileSystem, SkipHoleNeverPassesOverData) {
    TempTree tree;
    std::string bytes = testing_support::NoiseBytes(200000, 7);
    tree.WriteFile("tool", bytes);
    auto file = platform::SystemFileSystem().OpenBinary(tree.Path("tool"));
    ASSERT_NE(file, nullptr);
    std::string read;
    std::vector<char> buffer(65536);
    for (;;) {
        EXPECT_EQ(file->SkipHole(), 0) << "at " << read.size();
        const long n = file->Read(buffer.data(), buffer.size());
        ASSERT_GE(n, 0);
        if (n == 0) {
            break;
        }
        read.append(buffer.data(), static_cast<std::size_t>(n));
    }
    EXPECT_EQ(read, bytes);
}

// Offsets beyond 4 GiB reach their bytes, in binary and in text mode: at 4 GiB 32-bit
// positions wrap, and beyond 2 GiB signed ones do.
TEST(SystemFileSystem, ReadsAtOffsetsBeyondFourGiB) {
    TempTree tree;
    constexpr std::int64_t kGiB = std::int64_t{1} << 30;
    const std::string path = tree.Path("big");
    testing_support::MakeSparseFile(path, 5 * kGiB,
                                    {{100, "low bytes"},
                                     {4 * kGiB + 100, "high bytes"},
                                     {3 * kGiB, "above 2 GiB"},
                                     {5 * kGiB - 4, "last"}});
    auto binary = platform::SystemFileSystem().OpenBinary(path);
    auto text = platform::SystemFileSystem().OpenText(path);
    ASSERT_NE(binary, nullptr);
    ASSERT_NE(text, nullptr);
    const auto readAt = [](platform::InputFile& file, std::int64_t offset, std::size_t count) {
        char buffer[32];
        if (!file.Seek(offset)) {
            return std::string("(seek failed)");
        }
        const long n = file.Read(buffer, count);
        return n < 0 ? std::string("(read failed)") : std::string(buffer, n);
    };
    for (platform::InputFile* file : {binary.get(), text.get()}) {
        EXPECT_EQ(readAt(*file, 4 * kGiB + 100, 10), "high bytes");
        EXPECT_EQ(readAt(*file, 100, 9), "low bytes");
        EXPECT_EQ(readAt(*file, 3 * kGiB, 11), "above 2 GiB");
        EXPECT_EQ(readAt(*file, 5 * kGiB - 4, 16), "last");
        EXPECT_EQ(readAt(*file, 6 * kGiB, 16), "");
    }
}

}  // namespace
