// Text-mode output, text-mode field reads and the file access rules of the run.
#include "platform/files.hpp"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <ostream>

#include "platform/text_writer.hpp"
#include "support/temp_tree.hpp"

namespace {

using testing_support::TempTree;

// A file held in memory; positioning beyond the end succeeds, as on disk.
class MemoryFile final : public platform::InputFile {
public:
    explicit MemoryFile(std::string bytes) : bytes_(std::move(bytes)) {}
    long Read(char* buffer, std::size_t count) override {
        if (position_ >= bytes_.size()) {
            return 0;
        }
        std::size_t n = std::min(count, bytes_.size() - position_);
        bytes_.copy(buffer, n, position_);
        position_ += n;
        return static_cast<long>(n);
    }
    bool Seek(std::int64_t offset) override {
        position_ = static_cast<std::size_t>(offset);
        return true;
    }

private:
    std::string bytes_;
    std::size_t position_ = 0;
};

// An output file that keeps what it receives and can be told to fail.
class MemoryOutput final : public platform::OutputFile {
public:
    MemoryOutput(std::string& sink, std::size_t failAfter, bool failClose)
        : sink_(sink), failAfter_(failAfter), failClose_(failClose) {}
    bool Write(const char* data, std::size_t count) override {
        if (sink_.size() + count > failAfter_) {
            return false;
        }
        sink_.append(data, count);
        return true;
    }
    bool Close() override { return !failClose_; }

private:
    std::string& sink_;
    std::size_t failAfter_;
    bool failClose_;
};

std::string Written(std::initializer_list<std::string_view> pieces) {
    std::string sink;
    platform::TextModeWriter writer(std::make_unique<MemoryOutput>(sink, SIZE_MAX, false));
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
    platform::TextModeWriter writer(std::make_unique<MemoryOutput>(sink, 10, false));
    writer.Write(std::string(20000, 'x'));  // more than the buffer holds: flushed at once
    writer.Write("more\n");
    EXPECT_TRUE(writer.Failed());
    EXPECT_FALSE(writer.Close());
    EXPECT_LE(sink.size(), 10u);
}

TEST(TextModeWriter, ReportsAFailedFinalFlushAndAFailedClose) {
    std::string sink;
    platform::TextModeWriter shortDisk(std::make_unique<MemoryOutput>(sink, 3, false));
    shortDisk.Write("abcdef");  // still buffered: the failure shows at close
    EXPECT_FALSE(shortDisk.Close());

    std::string sink2;
    platform::TextModeWriter badClose(std::make_unique<MemoryOutput>(sink2, SIZE_MAX, true));
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

class TextModeFieldReadTest : public ::testing::TestWithParam<FieldCase> {};

TEST_P(TextModeFieldReadTest, DeliversTheFieldAsTextModeDoes) {
    const auto& c = GetParam();
    platform::TextModeFile file(std::make_unique<MemoryFile>(c.file));
    ASSERT_TRUE(file.Seek(c.offset));
    char buffer[64];
    long n = file.Read(buffer, c.count);
    ASSERT_GE(n, 0);
    EXPECT_EQ(std::string(buffer, static_cast<std::size_t>(n)), c.delivered);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, TextModeFieldReadTest,
    ::testing::Values(FieldCase{"Plain", "0123456789", 2, 4, "2345"},
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
                      FieldCase{"BeyondTheEnd", "abc", 64, 8, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TextModeFile, PeekingPastATrailingCrLosesNoByte) {
    platform::TextModeFile file(std::make_unique<MemoryFile>("ab\rxy"));
    char buffer[8];
    ASSERT_EQ(file.Read(buffer, 3), 3);
    ASSERT_EQ(file.Read(buffer, 8), 2);
    EXPECT_EQ(std::string(buffer, 2), "xy");
}

TEST(SystemFileSystem, OpensRegularFilesReadOnlyAndNothingElse) {
    TempTree tree;
    tree.WriteFile("file", "abc");
    ::chmod(tree.Path("file").c_str(), 0444);  // read-only files stay readable
    tree.MakeDir("dir");
    ASSERT_EQ(::mkfifo(tree.Path("fifo").c_str(), 0600), 0);
    tree.Symlink(tree.Path("file"), "link");
    auto& fs = platform::SystemFileSystem();

    auto file = fs.OpenBinary(tree.Path("link"));
    ASSERT_NE(file, nullptr);
    char buffer[8];
    EXPECT_EQ(file->Read(buffer, sizeof buffer), 3);

    // A directory fails in both readers; a pipe without a writer fails at once instead of
    // waiting for one.
    EXPECT_EQ(fs.OpenBinary(tree.Path("dir")), nullptr);
    EXPECT_EQ(fs.OpenText(tree.Path("dir")), nullptr);
    EXPECT_EQ(fs.OpenBinary(tree.Path("fifo")), nullptr);
    EXPECT_EQ(fs.OpenBinary(tree.Path("missing")), nullptr);
    EXPECT_EQ(fs.OpenBinary("/dev/zero"), nullptr);
}

TEST(SystemFileSystem, CreateTruncatesAndRefusesPipes) {
    TempTree tree;
    tree.WriteFile("out", "old contents that must go");
    auto& fs = platform::SystemFileSystem();
    auto out = fs.Create(tree.Path("out"));
    ASSERT_NE(out, nullptr);
    EXPECT_TRUE(out->Write("new", 3));
    EXPECT_TRUE(out->Close());
    EXPECT_EQ(tree.ReadFile("out"), "new");

    ASSERT_EQ(::mkfifo(tree.Path("fifo").c_str(), 0600), 0);
    EXPECT_EQ(fs.Create(tree.Path("fifo")), nullptr);
    tree.MakeDir("dir");
    EXPECT_EQ(fs.Create(tree.Path("dir")), nullptr);
    EXPECT_EQ(fs.Create(tree.Path("missing/out")), nullptr);
}

TEST(SystemFileSystem, AFullDiskFailsTheWrite) {
    auto out = platform::SystemFileSystem().Create("/dev/full");
    ASSERT_NE(out, nullptr);
    EXPECT_FALSE(out->Write("x", 1));
}

TEST(ReadTextModeFile, ReadsTheListBackAsATextStreamDoes) {
    TempTree tree;
    tree.WriteFile("list", "one\r\r\ntwo\rthree\r\nfour\x1Alost");
    std::string text;
    ASSERT_TRUE(platform::ReadTextModeFile(tree.Path("list"), text));
    EXPECT_EQ(text, "one\r\ntwo\rthree\nfour");
    EXPECT_FALSE(platform::ReadTextModeFile(tree.Path("missing"), text));
    EXPECT_TRUE(text.empty());
}

}  // namespace
