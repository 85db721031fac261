// The list file in hostile places: taken by a directory, pipe or socket, a full disk, a
// read-only mount, an install directory nobody may write to. Each gives the create or write
// error, and no run passes off an incomplete list as complete.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/loop.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <functional>

#include "hostile/hostile_support.hpp"
#include "hostile/run.hpp"

namespace {

using testing_support::ExpectedBanner;
using testing_support::ExpectedMarkerLine;
using testing_support::ExpectedProductHeading;
using testing_support::TempTree;
using versionlist::RunOutcome;

void WriteSmallSuite(const TempTree& tree) {
    tree.WriteFile("bin/kplr.exe", testing_support::ToolImage({"X kplr 1.00"}));
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

const CreateCase kCreateCases[] = {
    {"ListNameIsDirectory", [](const TempTree& t) { t.MakeDir("version.lis"); }, ""},
    {"ListNameIsFifo", [](const TempTree& t) { hostile::MakeFifo(t.Path("version.lis")); }, ""},
    {"ListNameIsSocket", [](const TempTree& t) { hostile::MakeSocket(t.Path("version.lis")); }, ""},
    {"ListNameIsLinkIntoMissingDirectory",
     [](const TempTree& t) { t.Symlink(t.Path("absent/version.lis"), "version.lis"); }, ""},
    {"InstallDirMissing", [](const TempTree&) {}, "absent"},
    {"InstallDirIsRegularFile", [](const TempTree& t) { t.WriteFile("plain", "x"); }, "plain"},
};

class ListCreateTest : public testing::TestWithParam<CreateCase> {};

TEST_P(ListCreateTest, ReportsCreateErrorAndReadsNothing) {
    TempTree tree;
    WriteSmallSuite(tree);
    GetParam().make(tree);
    const std::string installDir =
        GetParam().installDir.empty() ? tree.Root() : tree.Path(GetParam().installDir);
    struct stat before {};
    bool existed = ::lstat((installDir + "/version.lis").c_str(), &before) == 0;
    hostile::HookedFileSystem files;

    auto result = hostile::RunOver(installDir, files);

    EXPECT_EQ(result.outcome, RunOutcome::kCreateFailed);
    EXPECT_EQ(result.messages,
              std::vector<std::string>{hostile::ListCreateError(installDir + "/version.lis")});
    EXPECT_TRUE(files.readLogs.empty()) << "no suite file is read when there is no list";
    // Whatever stood under the list's name is left as it was.
    struct stat after {};
    ASSERT_EQ(::lstat((installDir + "/version.lis").c_str(), &after) == 0, existed);
    if (existed) {
        EXPECT_EQ(after.st_mode & S_IFMT, before.st_mode & S_IFMT);
    }
}

INSTANTIATE_TEST_SUITE_P(HostilePlaces, ListCreateTest, testing::ValuesIn(kCreateCases),
                         [](const auto& info) { return std::string(info.param.label); });

// version.lis as a link to /dev/full: the disk is full, and the run says so instead of
// finishing as if the list had been written.
class ListOnFullDiskTest : public testing::TestWithParam<int> {};

TEST_P(ListOnFullDiskTest, ReportsWriteErrorOnceAndLast) {
    TempTree tree;
    // Few markers: the whole list fails at its last flush; many: the first flush fails mid-run.
    std::string image;
    for (int i = 0; i < GetParam(); ++i) {
        image += testing_support::ToolImage({"X kplr marker " + std::to_string(i)});
    }
    tree.WriteFile("bin/kplr.exe", image);
    tree.MakeDir("gen");
    hostile::MakeFifo(tree.Path("gen/lkd1.kpd"));
    tree.Symlink("/dev/full", "version.lis");

    auto result = hostile::RunOver(tree);

    EXPECT_EQ(result.outcome, RunOutcome::kWriteFailed);
    // Every suite file is still read and its failure shown; the write error comes last.
    EXPECT_EQ(result.messages,
              (std::vector<std::string>{hostile::DefinitionOpenError(tree.Path("gen/lkd1.kpd")),
                                        hostile::ListWriteError(tree.Path("version.lis"))}));
}

INSTANTIATE_TEST_SUITE_P(SmallAndLargeLists, ListOnFullDiskTest, testing::Values(1, 200));

// Failures root cannot provoke with permissions, made through the file system seam while
// every other operation stays real.
TEST(ListFileSeam, UnwritableInstallDirGivesCreateError) {
    TempTree tree;
    WriteSmallSuite(tree);
    hostile::HookedFileSystem files;
    files.failCreate = true;

    auto result = hostile::RunOver(tree, files);

    EXPECT_EQ(result.outcome, RunOutcome::kCreateFailed);
    EXPECT_EQ(result.messages,
              std::vector<std::string>{hostile::ListCreateError(tree.Path("version.lis"))});
    EXPECT_FALSE(tree.Exists("version.lis"));
}

TEST(ListFileSeam, DiskFillingMidwayLeavesPrefixAndGivesWriteError) {
    TempTree tree;
    WriteSmallSuite(tree);
    hostile::HookedFileSystem files;
    files.writeLimit = 100;

    auto result = hostile::RunOver(tree, files);

    EXPECT_EQ(result.outcome, RunOutcome::kWriteFailed);
    EXPECT_EQ(result.messages,
              std::vector<std::string>{hostile::ListWriteError(tree.Path("version.lis"))});
    EXPECT_EQ(result.list, SmallSuiteList().substr(0, 100));
}

TEST(ListFileSeam, FailedCloseGivesWriteErrorThoughEveryByteWasWritten) {
    TempTree tree;
    WriteSmallSuite(tree);
    hostile::HookedFileSystem files;
    files.failClose = true;

    auto result = hostile::RunOver(tree, files);

    EXPECT_EQ(result.outcome, RunOutcome::kWriteFailed);
    EXPECT_EQ(result.messages,
              std::vector<std::string>{hostile::ListWriteError(tree.Path("version.lis"))});
    EXPECT_EQ(result.list, SmallSuiteList());
}

// Runs body in a child process inside its own mount namespace where installDir is a
// read-only bind mount. Returns the child's report, or why the namespace was not available.
struct ReadOnlyRun {
    bool available = false;
    std::string why;
    int outcome = -1;
    std::string messages;
};

ReadOnlyRun RunOnReadOnlyMount(const std::string& installDir) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) {
        return {false, "pipe failed", -1, {}};
    }
    pid_t pid = ::fork();
    if (pid == 0) {
        ::close(pipeFds[0]);
        auto send = [&](const std::string& text) {
            (void)!::write(pipeFds[1], text.data(), text.size());
            ::_exit(0);
        };
        if (::unshare(CLONE_NEWNS) != 0) {
            send(std::string("N") + "unshare(CLONE_NEWNS): " + std::strerror(errno));
        }
        if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount(installDir.c_str(), installDir.c_str(), nullptr, MS_BIND, nullptr) != 0 ||
            ::mount(nullptr, installDir.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY,
                    nullptr) != 0) {
            send(std::string("N") + "read-only bind mount: " + std::strerror(errno));
        }
        auto result = hostile::RunOver(installDir);
        std::string text = "Y" + std::to_string(static_cast<int>(result.outcome)) + "\n";
        for (const auto& message : result.messages) {
            text += message;
        }
        send(text);
    }
    ::close(pipeFds[1]);
    std::string reply;
    char chunk[1024];
    ssize_t n;
    while ((n = ::read(pipeFds[0], chunk, sizeof chunk)) > 0) {
        reply.append(chunk, static_cast<std::size_t>(n));
    }
    ::close(pipeFds[0]);
    ::waitpid(pid, nullptr, 0);
    if (reply.empty() || reply[0] != 'Y') {
        return {false, reply.empty() ? "child died" : reply.substr(1), -1, {}};
    }
    auto eol = reply.find('\n');
    return {true, {}, std::stoi(reply.substr(1, eol - 1)), reply.substr(eol + 1)};
}

TEST(ListFileReal, ReadOnlyMountGivesCreateError) {
    TempTree tree;
    WriteSmallSuite(tree);

    auto run = RunOnReadOnlyMount(tree.Root());
    if (!run.available) {
        GTEST_SKIP() << "no mount namespace here (" << run.why
                     << "); ListFileSeam.UnwritableInstallDirGivesCreateError covers the message";
    }
    EXPECT_EQ(run.outcome, static_cast<int>(RunOutcome::kCreateFailed));
    EXPECT_EQ(run.messages, hostile::ListCreateError(tree.Path("version.lis")));
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
// the device's first sectors.
TEST(ListFileReal, ListNameLinkedToBlockDeviceGivesCreateErrorAndLeavesTheDeviceAlone) {
    TempTree tree;
    WriteSmallSuite(tree);
    const std::string blank(64 * 1024, '\0');
    tree.WriteFile("disk.img", blank);
    LoopDevice loop(tree.Path("disk.img"));
    if (!loop.Ready()) {
        GTEST_SKIP() << "no loop device here (" << loop.Why() << ")";
    }
    tree.Symlink(loop.Path(), "version.lis");

    auto result = hostile::RunOver(tree);

    loop.Flush();
    EXPECT_EQ(result.outcome, RunOutcome::kCreateFailed);
    EXPECT_EQ(result.messages,
              std::vector<std::string>{hostile::ListCreateError(tree.Path("version.lis"))});
    EXPECT_TRUE(tree.ReadFile("disk.img") == blank) << "the list was written onto the device";
}

TEST(ListFileReal, InstallDirWithoutWritePermissionGivesCreateErrorUnlessRoot) {
    TempTree tree;
    WriteSmallSuite(tree);
    ASSERT_EQ(::chmod(tree.Root().c_str(), 0555), 0);

    auto result = hostile::RunOver(tree);

    ::chmod(tree.Root().c_str(), 0755);
    if (::geteuid() == 0) {
        // Root writes anyway: the list is complete, and nothing claims otherwise.
        EXPECT_EQ(result.outcome, RunOutcome::kFound);
        EXPECT_EQ(result.list, SmallSuiteList());
    } else {
        EXPECT_EQ(result.outcome, RunOutcome::kCreateFailed);
        EXPECT_EQ(result.messages,
                  std::vector<std::string>{hostile::ListCreateError(tree.Path("version.lis"))});
    }
}

}  // namespace
