// Paths: whole paths only, made absolute without resolving, and the current directory.
#include "platform/paths.hpp"

#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "support/temp_tree.hpp"

namespace {

using testing_support::TempTree;

// Enters a directory for the test's duration.
class ScopedCurrentDirectory {
public:
    explicit ScopedCurrentDirectory(const std::string& path) : old_(::getcwd(nullptr, 0)) {
        EXPECT_EQ(::chdir(path.c_str()), 0);
    }
    ~ScopedCurrentDirectory() {
        EXPECT_EQ(::chdir(old_), 0);
        std::free(old_);
    }

private:
    char* old_;
};

TEST(Paths, ANulByteMakesAPathNoWholePath) {
    EXPECT_TRUE(platform::IsWholePath("/opt/koma"));
    EXPECT_FALSE(platform::IsWholePath(std::string("/tmp/victim.txt\0/x", 18)));
    EXPECT_FALSE(platform::SetCurrentDirectory(std::string("/\0/nowhere", 10)));
}

// A relative install directory named like an option must never reach an editor as one.
TEST(Paths, AbsolutePathPrefixesTheCurrentDirectoryWithoutResolvingAnything) {
    TempTree tree;
    ScopedCurrentDirectory here(tree.Root());
    const std::string cwd = platform::CurrentDirectory();
    EXPECT_EQ(platform::AbsolutePath("-x/version.lis"), cwd + "/-x/version.lis");
    EXPECT_EQ(platform::AbsolutePath("+cmd/../version.lis"), cwd + "/+cmd/../version.lis");
    EXPECT_EQ(platform::AbsolutePath("/opt/koma/version.lis"), "/opt/koma/version.lis");
    EXPECT_EQ(platform::AbsolutePath(""), cwd);
}

TEST(Paths, SetCurrentDirectoryEntersOrFails) {
    TempTree tree;
    tree.MakeDir("a b");
    char* old = ::getcwd(nullptr, 0);
    EXPECT_TRUE(platform::SetCurrentDirectory(tree.Path("a b")));
    EXPECT_EQ(platform::CurrentDirectory(), tree.Path("a b"));
    EXPECT_FALSE(platform::SetCurrentDirectory(tree.Path("missing")));
    EXPECT_EQ(platform::CurrentDirectory(), tree.Path("a b"));
    ASSERT_EQ(::chdir(old), 0);
    std::free(old);
}

TEST(CurrentDirectory, IsReadWhole) {
    TempTree tree;
    std::string deep = tree.Root();
    std::string relative;
    for (int i = 0; i < 12; ++i) {
        relative += std::string(i == 0 ? "" : "/") + std::string(40, static_cast<char>('a' + i));
    }
    tree.MakeDir(relative);
    char* old = ::getcwd(nullptr, 0);
    ASSERT_EQ(::chdir(tree.Path(relative).c_str()), 0);
    std::string cwd = platform::CurrentDirectory();
    ASSERT_EQ(::chdir(old), 0);
    std::free(old);
    EXPECT_GT(cwd.size(), 400u);
    EXPECT_EQ(cwd, tree.Path(relative));
}
}  // namespace
