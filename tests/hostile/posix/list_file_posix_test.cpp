// The list file in places only POSIX systems have: taken by a pipe, socket or device, linked
// elsewhere (a block device among them), on a full disk or a read-only mount, in a directory
// nobody may write to. A new list replaces the old one only when it is complete; otherwise the
// old one stays as it was.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/loop.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>

#include "support/list_rules.hpp"
#include "support/posix/isolation.hpp"
#include "support/posix/special_entries.hpp"
#include "support/run_over.hpp"
#include "support/suite_files.hpp"
#include "support/temp_tree.hpp"
#include "support/test_file_system.hpp"

namespace {

using testing_support::ExpectedBanner;
using testing_support::ExpectedMarkerLine;
using testing_support::ExpectedProductHeading;
using testing_support::TempTree;
using versionlist::RunOutcome;

void WriteSmallSuite(const TempTree& tree) {
    tree.WriteFile("bin/kplr.exe", testing_support::ToolImage({"X kplr 1.00"}));
}

// Takes whatever room is left on the file system of path, so the next write finds it full.
void FillUp(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const std::string chunk(4096, 'f');
    while (fd >= 0 && ::write(fd, chunk.data(), chunk.size()) > 0) {
    }
    ::close(fd);
}

// How many entries a directory holds.
std::size_t EntriesBeside(const std::string& dir) {
    std::size_t count = 0;
    for (auto it = std::filesystem::directory_iterator(dir);
         it != std::filesystem::directory_iterator(); ++it) {
        ++count;
    }
    return count;
}

// The list of WriteSmallSuite, as its format rules give it.
std::string SmallSuiteList() {
    return ExpectedBanner() + ExpectedProductHeading(0) + ExpectedMarkerLine("X kplr 1.00");
}

struct CreateCase {
    const char* label;
    std::function<void(const TempTree&)> make;
    std::string installDir;  // relative to the tree; "" for the tree itself
};

// Pipes, sockets and devices under the list's name. (A directory there, and install directories
// that are missing or no directory: ../list_file_test.cpp.)
const CreateCase kCreateCases[] = {
    {"ListNameIsFifo", [](const TempTree& t) { testing_support::MakeFifo(t.Path("version.lis")); },
     ""},
    {"ListNameIsSocket",
     [](const TempTree& t) { testing_support::MakeSocket(t.Path("version.lis")); }, ""},
    {"ListNameIsCharacterDevice",
     [](const TempTree& t) { testing_support::MakeNullDevice(t.Path("version.lis")); }, ""},
};

class PosixListCreateTest : public testing::TestWithParam<CreateCase> {};

TEST_P(PosixListCreateTest, ReportsCreateErrorAndReadsNothing) {
    TempTree tree;
    WriteSmallSuite(tree);
    GetParam().make(tree);
    const std::string installDir =
        GetParam().installDir.empty() ? tree.Root() : tree.Path(GetParam().installDir);
    struct stat before {};
    bool existed = ::lstat((installDir + "/version.lis").c_str(), &before) == 0;
    const std::size_t entriesBefore = existed ? EntriesBeside(installDir) : 0;
    if (std::string_view(GetParam().label) == "ListNameIsCharacterDevice" && !existed) {
        GTEST_SKIP() << "no device nodes can be made here";
    }
    testing_support::TestFileSystem files;

    auto result = testing_support::RunOver(installDir, files);

    EXPECT_EQ(result.outcome, RunOutcome::kCreateFailed);
    EXPECT_EQ(result.messages, std::vector<std::string>{
                                   testing_support::ListCreateError(installDir + "/version.lis")});
    EXPECT_TRUE(files.readLogs.empty()) << "no suite file is read when there is no list";
    // Whatever stood under the list's name is left as it was.
    struct stat after {};
    ASSERT_EQ(::lstat((installDir + "/version.lis").c_str(), &after) == 0, existed);
    if (existed) {
        EXPECT_EQ(after.st_mode & S_IFMT, before.st_mode & S_IFMT);
        EXPECT_EQ(after.st_ino, before.st_ino);
    }
    if (existed) {
        EXPECT_EQ(EntriesBeside(installDir), entriesBefore) << "a temporary file was left";
    }
}

INSTANTIATE_TEST_SUITE_P(HostilePlaces, PosixListCreateTest, testing::ValuesIn(kCreateCases),
                         [](const auto& info) { return std::string(info.param.label); });

// A link under the list's name is replaced by the new list, never written through: a run as
// root in a directory another user controls overwrites nothing the link points at.
TEST(ListFile, ALinkUnderTheListsNameIsReplacedNotWrittenThrough) {
    TempTree tree;
    WriteSmallSuite(tree);
    tree.WriteFile("elsewhere/passwd", "root:x:0:0");
    tree.Symlink(tree.Path("elsewhere/passwd"), "version.lis");

    auto result = testing_support::RunOver(tree.Root());

    EXPECT_EQ(result.outcome, RunOutcome::kFound);
    EXPECT_EQ(tree.ReadFile("elsewhere/passwd"), "root:x:0:0");
    EXPECT_EQ(result.list, SmallSuiteList());
    struct stat info {};
    ASSERT_EQ(::lstat(tree.Path("version.lis").c_str(), &info), 0);
    EXPECT_TRUE(S_ISREG(info.st_mode));
}

// The disk fills up: the run reads and reports every suite file, says the list could not be
// written, once and last, and leaves the previous list as it was, with no temporary file.
class ListOnFullDiskTest : public testing::TestWithParam<int> {};

TEST_P(ListOnFullDiskTest, ReportsWriteErrorOnceAndLastAndKeepsThePreviousList) {
    TempTree tree;
    tree.MakeDir("suite");
    const std::string suite = tree.Path("suite");
    // Few markers: the list fails at its last flush; many: a flush fails mid-run.
    std::string image;
    for (int i = 0; i < GetParam(); ++i) {
        image += testing_support::ToolImage(
            {"X kplr marker " + std::to_string(i) + std::string(200, 'm')});
    }
    const auto run = testing_support::RunIsolated(
        [&] {
            std::string why = testing_support::EnterPrivateMounts();
            return why.empty() ? testing_support::MountSmallTmpfs(suite, 256 * 1024) : why;
        },
        [&] {
            testing_support::WriteFileBytes(suite + "/version.lis", "the previous list");
            std::filesystem::create_directories(suite + "/bin");
            std::filesystem::create_directories(suite + "/gen");
            testing_support::WriteFileBytes(suite + "/bin/kplr.exe", image);
            testing_support::MakeFifo(suite + "/gen/lkd1.kpd");
            FillUp(suite + "/filler");
            const auto result = testing_support::RunOver(suite);
            std::string reply = std::to_string(static_cast<int>(result.outcome)) + "\n";
            for (const auto& message : result.messages) {
                reply += message;
            }
            reply += "list=" + result.list + "\nentries=" + std::to_string(EntriesBeside(suite));
            return reply;
        });
    if (!run.available) {
        GTEST_SKIP() << "no small file system here (" << run.why
                     << "); ListFileSeam.DiskFillingMidwayKeepsThePreviousList covers the seam";
    }
    EXPECT_EQ(run.reply, std::to_string(static_cast<int>(RunOutcome::kWriteFailed)) + "\n" +
                             testing_support::DefinitionOpenError(suite + "/gen/lkd1.kpd") +
                             testing_support::ListWriteError(suite + "/version.lis") +
                             "list=the previous list\nentries=4");
}

INSTANTIATE_TEST_SUITE_P(SmallAndLargeLists, ListOnFullDiskTest, testing::Values(1, 200));

TEST(ListFileReal, ReadOnlyMountGivesCreateError) {
    TempTree tree;
    WriteSmallSuite(tree);

    const std::string root = tree.Root();
    const auto run = testing_support::RunIsolated(
        [&] {
            std::string why = testing_support::EnterPrivateMounts();
            return why.empty() ? testing_support::MountReadOnly(root) : why;
        },
        [&] {
            const auto result = testing_support::RunOver(root);
            std::string reply = std::to_string(static_cast<int>(result.outcome)) + "\n";
            for (const auto& message : result.messages) {
                reply += message;
            }
            return reply;
        });
    if (!run.available) {
        GTEST_SKIP() << "no mount namespace here (" << run.why
                     << "); ListFileSeam.UnwritableInstallDirGivesCreateError covers the message";
    }
    EXPECT_EQ(run.reply, std::to_string(static_cast<int>(RunOutcome::kCreateFailed)) + "\n" +
                             testing_support::ListCreateError(tree.Path("version.lis")));
    EXPECT_FALSE(tree.Exists("version.lis"));
}

// A loop block device over a scratch file, detached again at the end.
class LoopDevice {
public:
    explicit LoopDevice(const std::string& backing) {
        int control = ::open("/dev/loop-control", O_RDWR | O_CLOEXEC);
        if (control < 0) {
            why_ = std::string("/dev/loop-control: ") + std::strerror(errno);
            return;
        }
        int number = ::ioctl(control, LOOP_CTL_GET_FREE);
        ::close(control);
        if (number < 0) {
            why_ = std::string("LOOP_CTL_GET_FREE: ") + std::strerror(errno);
            return;
        }
        path_ = "/dev/loop" + std::to_string(number);
        int backingFd = ::open(backing.c_str(), O_RDWR | O_CLOEXEC);
        fd_ = ::open(path_.c_str(), O_RDWR | O_CLOEXEC);
        if (fd_ < 0 || ::ioctl(fd_, LOOP_SET_FD, backingFd) != 0) {
            why_ = path_ + ": " + std::strerror(errno);
            if (fd_ >= 0) {
                ::close(fd_);
            }
            fd_ = -1;
        }
        ::close(backingFd);
    }
    ~LoopDevice() {
        if (fd_ >= 0) {
            ::ioctl(fd_, LOOP_CLR_FD, 0);
            ::close(fd_);
        }
    }
    LoopDevice(const LoopDevice&) = delete;
    LoopDevice& operator=(const LoopDevice&) = delete;

    bool Ready() const { return fd_ >= 0; }
    const std::string& Why() const { return why_; }
    const std::string& Path() const { return path_; }
    // Pushes whatever was written to the device through to the scratch file.
    void Flush() const { ::fsync(fd_); }

private:
    int fd_ = -1;
    std::string path_;
    std::string why_;
};

// Run as root, a version.lis linked to a block device must not have the list written over
// the device's first sectors: the link is replaced by the list.
TEST(ListFileReal, ListNameLinkedToBlockDeviceLeavesTheDeviceAlone) {
    TempTree tree;
    WriteSmallSuite(tree);
    const std::string blank(64 * 1024, '\0');
    tree.WriteFile("disk.img", blank);
    LoopDevice loop(tree.Path("disk.img"));
    if (!loop.Ready()) {
        GTEST_SKIP() << "no loop device here (" << loop.Why() << ")";
    }
    tree.Symlink(loop.Path(), "version.lis");

    auto result = testing_support::RunOver(tree.Root());

    loop.Flush();
    EXPECT_EQ(result.outcome, RunOutcome::kFound);
    EXPECT_TRUE(result.messages.empty());
    EXPECT_EQ(result.list, SmallSuiteList());
    EXPECT_TRUE(tree.ReadFile("disk.img") == blank) << "the list was written onto the device";
}

// As a user who may not write to the install directory: no list can be created there.
TEST(ListFileReal, InstallDirWithoutWritePermissionGivesCreateError) {
    TempTree tree;
    WriteSmallSuite(tree);
    ASSERT_EQ(::chmod(tree.Root().c_str(), 0555), 0);
    const auto run = testing_support::RunIsolated(testing_support::BecomeNobody, [&] {
        const auto result = testing_support::RunOver(tree.Root());
        return std::to_string(static_cast<int>(result.outcome)) + "\n" +
               (result.messages.empty() ? std::string() : result.messages.front());
    });
    ::chmod(tree.Root().c_str(), 0755);
    if (!run.available) {
        GTEST_SKIP() << "no unprivileged user here (" << run.why << ")";
    }
    EXPECT_EQ(run.reply, std::to_string(static_cast<int>(RunOutcome::kCreateFailed)) + "\n" +
                             testing_support::ListCreateError(tree.Path("version.lis")));
    EXPECT_FALSE(tree.Exists("version.lis"));
}

}  // namespace
