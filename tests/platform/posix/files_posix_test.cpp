// The file access of the run on POSIX: only regular files are ever opened, holes of sparse
// files are passed over, and the list keeps its mode, replaces a link, and survives a full
// disk or a directory it may not create in. Pipes, sockets, devices, modes, mount namespaces
// and other users are POSIX's own.
#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <ostream>
#include <set>
#include <vector>

#include "platform/files.hpp"
#include "support/list_writing.hpp"
#include "support/posix/isolation.hpp"
#include "support/posix/special_entries.hpp"
#include "support/run_over.hpp"
#include "support/temp_tree.hpp"

namespace {

using testing_support::Entries;
using testing_support::TempTree;
using testing_support::WriteList;

// Watches one directory entry's inode for opens, whoever makes them.
class OpenWatch {
public:
    explicit OpenWatch(const std::string& path) : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        ::inotify_add_watch(fd_, path.c_str(), IN_OPEN);
    }
    ~OpenWatch() { ::close(fd_); }
    // True when the entry has been opened since the watch began. Events are queued at the
    // open itself, so nothing needs waiting for.
    bool Opened() const {
        char events[4096];
        return ::read(fd_, events, sizeof events) > 0;
    }

private:
    int fd_;
};

TEST(SystemFileSystem, ReadsRegularFilesAndLinksToThem) {
    TempTree tree;
    tree.WriteFile("file", "abc");
    ::chmod(tree.Path("file").c_str(), 0444);  // read-only files stay readable
    tree.Symlink(tree.Path("file"), "link");
    auto file = platform::SystemFileSystem().OpenBinary(tree.Path("link"));
    ASSERT_NE(file, nullptr);
    char buffer[8];
    EXPECT_EQ(file->Read(buffer, sizeof buffer), 3);
    EXPECT_NE(platform::SystemFileSystem().OpenText(tree.Path("file")), nullptr);
}

struct SpecialEntry {
    const char* label;
    // Makes the entry at path; false when this system does not let the test make it.
    std::function<bool(const TempTree&, const std::string&)> make;
    friend void PrintTo(const SpecialEntry& e, std::ostream* os) { *os << e.label; }
};

// The entries that are no links come first.
const SpecialEntry kSpecialEntries[] = {
    {"Directory",
     [](const TempTree&, const std::string& p) { return ::mkdir(p.c_str(), 0755) == 0; }},
    {"Fifo", [](const TempTree&, const std::string& p) { return ::mkfifo(p.c_str(), 0600) == 0; }},
    {"Socket",
     [](const TempTree&, const std::string& p) {
         testing_support::MakeSocket(p);
         return true;
     }},
    {"CharacterDevice",
     [](const TempTree&, const std::string& p) { return testing_support::MakeNullDevice(p); }},
    {"LinkToCharacterDevice",
     [](const TempTree& t, const std::string& p) {
         return testing_support::MakeNullDevice(t.Path("device")) &&
                ::symlink(t.Path("device").c_str(), p.c_str()) == 0;
     }},
    {"LinkToFifo",
     [](const TempTree& t, const std::string& p) {
         return ::mkfifo(t.Path("fifo").c_str(), 0600) == 0 &&
                ::symlink(t.Path("fifo").c_str(), p.c_str()) == 0;
     }},
    {"DanglingLink",
     [](const TempTree& t, const std::string& p) {
         return ::symlink(t.Path("nowhere").c_str(), p.c_str()) == 0;
     }},
};

class SpecialEntryTest : public ::testing::TestWithParam<SpecialEntry> {};

// Only regular files are read, and nothing else is even opened: the open of a device runs its
// driver, and that of a pipe wakes a writer waiting for a reader.
TEST_P(SpecialEntryTest, IsNeverOpenedForReading) {
    TempTree tree;
    const std::string path = tree.Path("entry");
    if (!GetParam().make(tree, path)) {
        GTEST_SKIP() << "cannot make a " << GetParam().label << " here";
    }
    struct stat target {};
    const bool hasTarget = ::stat(path.c_str(), &target) == 0;
    std::unique_ptr<OpenWatch> watch;
    if (hasTarget) {
        watch = std::make_unique<OpenWatch>(path);
    }
    auto& files = platform::SystemFileSystem();
    EXPECT_EQ(files.OpenBinary(path), nullptr);
    EXPECT_EQ(files.OpenText(path), nullptr);
    if (watch && !S_ISDIR(target.st_mode)) {
        EXPECT_FALSE(watch->Opened()) << "the entry was opened before its type was checked";
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, SpecialEntryTest, ::testing::ValuesIn(kSpecialEntries),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(SystemFileSystem, PassesOverTheHolesOfASparseFile) {
    TempTree tree;
    const std::int64_t size = std::int64_t{1} << 40;  // 1 TiB, of which 8 KiB are stored
    testing_support::MakeSparseFile(
        tree.Path("sparse"), size,
        {{0, std::string(4096, 'a')}, {size - 4096, std::string(4096, 'z')}});
    auto file = platform::SystemFileSystem().OpenBinary(tree.Path("sparse"));
    ASSERT_NE(file, nullptr);
    std::vector<char> buffer(4096);
    EXPECT_EQ(file->SkipHole(), 0) << "data stands at the start";
    ASSERT_EQ(file->Read(buffer.data(), buffer.size()), 4096);
    const std::int64_t hole = file->SkipHole();
    if (hole == 0) {
        GTEST_SKIP() << "this file system does not report holes";
    }
    EXPECT_EQ(hole, size - 8192);
    ASSERT_EQ(file->Read(buffer.data(), buffer.size()), 4096);
    EXPECT_EQ(buffer.front(), 'z');
    EXPECT_EQ(file->SkipHole(), 0) << "at the end of the file";

    // A hole that runs to the end of the file is passed over too; the file system stores the
    // data it has in whole blocks.
    testing_support::MakeSparseFile(tree.Path("tail"), size, {{0, "head"}});
    auto tail = platform::SystemFileSystem().OpenBinary(tree.Path("tail"));
    ASSERT_EQ(tail->Read(buffer.data(), buffer.size()), 4096);
    EXPECT_EQ(tail->SkipHole(), size - 4096);
    EXPECT_EQ(tail->Read(buffer.data(), buffer.size()), 0);
}

TEST(SystemFileSystemCreate, WritesANewFileWithTheModeANewFileGets) {
    TempTree tree;
    const mode_t old = ::umask(027);
    ASSERT_TRUE(WriteList(tree.Path("version.lis"), "new"));
    ::umask(old);
    EXPECT_EQ(tree.ReadFile("version.lis"), "new");
    struct stat info {};
    ASSERT_EQ(::stat(tree.Path("version.lis").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(Entries(tree), std::set<std::string>{"version.lis"}) << "no temporary file left";
}

TEST(SystemFileSystemCreate, ReplacesAnExistingListKeepingItsMode) {
    TempTree tree;
    tree.WriteFile("version.lis", "old contents, longer than the new");
    ASSERT_EQ(::chmod(tree.Path("version.lis").c_str(), 0604), 0);
    ASSERT_TRUE(WriteList(tree.Path("version.lis"), "new"));
    EXPECT_EQ(tree.ReadFile("version.lis"), "new");
    struct stat info {};
    ASSERT_EQ(::stat(tree.Path("version.lis").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0604u);
}

TEST(SystemFileSystemCreate, ReplacesALinkInsteadOfWritingThroughIt) {
    TempTree tree;
    tree.WriteFile("elsewhere/victim", "must stay");
    tree.Symlink(tree.Path("elsewhere/victim"), "dir/version.lis");
    tree.Symlink(tree.Path("elsewhere/missing"), "dir2/version.lis");
    ASSERT_TRUE(WriteList(tree.Path("dir/version.lis"), "new"));
    ASSERT_TRUE(WriteList(tree.Path("dir2/version.lis"), "new"));
    EXPECT_EQ(tree.ReadFile("elsewhere/victim"), "must stay");
    EXPECT_FALSE(tree.Exists("elsewhere/missing"));
    for (const char* list : {"dir/version.lis", "dir2/version.lis"}) {
        struct stat info {};
        ASSERT_EQ(::lstat(tree.Path(list).c_str(), &info), 0);
        EXPECT_TRUE(S_ISREG(info.st_mode)) << list;
        EXPECT_EQ(tree.ReadFile(list), "new");
    }
}

class CreateOverSpecialEntryTest : public ::testing::TestWithParam<SpecialEntry> {};

// Nothing is written into a directory, pipe, socket or device under the list's name. (A link
// there is replaced: ReplacesALinkInsteadOfWritingThroughIt.)
TEST_P(CreateOverSpecialEntryTest, IsRefusedAndLeftAlone) {
    TempTree tree;
    const std::string path = tree.Path("version.lis");
    if (!GetParam().make(tree, path)) {
        GTEST_SKIP() << "cannot make a " << GetParam().label << " here";
    }
    struct stat before {};
    ASSERT_EQ(::lstat(path.c_str(), &before), 0);
    EXPECT_EQ(platform::SystemFileSystem().Create(path), nullptr);
    struct stat after {};
    ASSERT_EQ(::lstat(path.c_str(), &after), 0);
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(Entries(tree), std::set<std::string>{"version.lis"}) << "no temporary file left";
}

INSTANTIATE_TEST_SUITE_P(Kinds, CreateOverSpecialEntryTest,
                         ::testing::ValuesIn(kSpecialEntries, kSpecialEntries + 4),
                         [](const auto& info) { return std::string(info.param.label); });

// The disk fills up: a tmpfs of 64 KiB in a mount namespace of the test's own.
TEST(SystemFileSystemCreate, AFullDiskLeavesTheOldListAndNoTemporaryFile) {
    TempTree tree;
    tree.MakeDir("small");
    const std::string dir = tree.Path("small");
    const auto run = testing_support::RunIsolated(
        [&] {
            std::string why = testing_support::EnterPrivateMounts();
            return why.empty() ? testing_support::MountSmallTmpfs(dir, 64 * 1024) : why;
        },
        [&] {
            const std::string list = dir + "/version.lis";
            if (!WriteList(list, "the last good list")) {
                return std::string("the first list could not be written");
            }
            auto out = platform::SystemFileSystem().Create(list);
            bool wrote = out != nullptr;
            const std::string chunk(16 * 1024, 'x');
            for (int i = 0; wrote && i < 16; ++i) {
                wrote = out->Write(chunk.data(), chunk.size());
            }
            const bool closed = wrote && out->Close();
            out.reset();
            std::string reply = (wrote || closed) ? "a full disk took the list; " : "";
            reply += "list=" + testing_support::StoredBytes(list) + ";";
            for (const auto& entry : std::filesystem::directory_iterator(dir)) {
                reply += " " + entry.path().filename().string();
            }
            return reply;
        });
    if (!run.available) {
        GTEST_SKIP() << "no small file system here (" << run.why << ")";
    }
    EXPECT_EQ(run.reply, "list=the last good list; version.lis");
}

// As user nobody in a directory the user may not write to, holding a list the user may: no
// new file can be made beside it, so the list is rewritten in place, as it always was.
TEST(SystemFileSystemCreate, WritesInPlaceWhereNoFileCanBeMadeBesideTheList) {
    TempTree tree;
    tree.WriteFile("locked/version.lis", "old list, longer than the new one");
    ASSERT_EQ(::chmod(tree.Path("locked").c_str(), 0755), 0);
    ASSERT_EQ(::chmod(tree.Root().c_str(), 0755), 0);
    ASSERT_EQ(::chmod(tree.Path("locked/version.lis").c_str(), 0666), 0);
    tree.Symlink(tree.Path("locked/version.lis"), "locked2/link");
    const auto run = testing_support::RunIsolated(testing_support::BecomeNobody, [&] {
        const bool inPlace = WriteList(tree.Path("locked/version.lis"), "new");
        // Not through a link, though: that would be writing through it.
        const bool throughLink =
            platform::SystemFileSystem().Create(tree.Path("locked2/link")) != nullptr;
        return std::string(inPlace ? "in place" : "refused") +
               (throughLink ? ", through a link" : "");
    });
    if (!run.available) {
        GTEST_SKIP() << "no unprivileged user here (" << run.why << ")";
    }
    EXPECT_EQ(run.reply, "in place");
    EXPECT_EQ(tree.ReadFile("locked/version.lis"), "new");
}

}  // namespace
