// Paths: whole paths only, made absolute without resolving, and the current directory.
#include "platform/paths.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/system.hpp"
#include "support/temp_tree.hpp"

namespace {

using testing_support::TempTree;

const std::string kSeparator(1, platform::kPathSeparator);

// Enters a directory for the test's duration.
class ScopedCurrentDirectory {
public:
    explicit ScopedCurrentDirectory(const std::string& path)
        : old_(std::filesystem::current_path()) {
        std::filesystem::current_path(testing_support::FsPath(path));
    }
    ~ScopedCurrentDirectory() { std::filesystem::current_path(old_); }

private:
    std::filesystem::path old_;
};

TEST(Paths, ANulByteMakesAPathNoWholePath) {
    EXPECT_TRUE(platform::IsWholePath("/opt/koma"));
    EXPECT_FALSE(platform::IsWholePath(std::string("/tmp/victim.txt\0/x", 18)));
    EXPECT_FALSE(platform::SetCurrentDirectory(std::string("/\0/nowhere", 10)));
}

TEST(Paths, SeparatorsAreTheSystems) {
    EXPECT_TRUE(platform::IsPathSeparator(platform::kPathSeparator));
    EXPECT_TRUE(platform::IsPathSeparator('/'));  // on Windows as well as "\"
    EXPECT_FALSE(platform::IsPathSeparator(':'));
    EXPECT_FALSE(platform::IsPathSeparator('.'));
}

// A relative install directory named like an option must never reach an editor as one.
TEST(Paths, AbsolutePathPrefixesTheCurrentDirectoryWithoutResolvingAnything) {
    TempTree tree;
    ScopedCurrentDirectory here(tree.Root());
    const std::string cwd = platform::CurrentDirectory();
    EXPECT_EQ(platform::AbsolutePath("-x/version.lis"), cwd + kSeparator + "-x/version.lis");
    EXPECT_EQ(platform::AbsolutePath("+cmd/../version.lis"),
              cwd + kSeparator + "+cmd/../version.lis");
    EXPECT_EQ(platform::AbsolutePath(tree.Path("koma/version.lis")), tree.Path("koma/version.lis"));
    EXPECT_EQ(platform::AbsolutePath(""), cwd);
}

TEST(Paths, SetCurrentDirectoryEntersOrFails) {
    TempTree tree;
    tree.MakeDir("a b");
    const auto old = std::filesystem::current_path();
    EXPECT_TRUE(platform::SetCurrentDirectory(tree.Path("a b")));
    EXPECT_EQ(platform::CurrentDirectory(), tree.Path("a b"));
    EXPECT_FALSE(platform::SetCurrentDirectory(tree.Path("missing")));
    EXPECT_EQ(platform::CurrentDirectory(), tree.Path("a b"));
    std::filesystem::current_path(old);
}

TEST(CurrentDirectory, IsReadWhole) {
    TempTree tree;
    std::string relative;
    for (int i = 0; i < 12; ++i) {
        relative += std::string(i == 0 ? "" : "/") + std::string(40, static_cast<char>('a' + i));
    }
    tree.MakeDir(relative);
    std::string cwd;
    {
        ScopedCurrentDirectory deep(tree.Path(relative));
        cwd = platform::CurrentDirectory();
    }
    EXPECT_GT(cwd.size(), 400u);
    EXPECT_EQ(cwd, tree.Path(relative));
}

}  // namespace
