// Windows paths: drive and UNC forms, "/" as a separator, Japanese directory names.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/paths.hpp"
#include "support/system.hpp"
#include "support/temp_tree.hpp"

namespace {

using testing_support::TempTree;

TEST(PathsWin32, AbsolutePathKnowsDrivesAndShares) {
    TempTree tree;
    const auto old = std::filesystem::current_path();
    std::filesystem::current_path(testing_support::FsPath(tree.Root()));
    const std::string cwd = platform::CurrentDirectory();
    const std::string drive = cwd.substr(0, 2);                 // "C:"
    const std::string sameDrive = drive + "koma\\version.lis";  // relative to that drive's cwd
    const std::string absoluteSameDrive = platform::AbsolutePath(sameDrive);
    std::filesystem::current_path(old);

    EXPECT_EQ(platform::AbsolutePath("C:\\koma\\version.lis"), "C:\\koma\\version.lis");
    EXPECT_EQ(platform::AbsolutePath("c:/koma/version.lis"), "c:/koma/version.lis");
    EXPECT_EQ(platform::AbsolutePath("\\\\server\\share\\version.lis"),
              "\\\\server\\share\\version.lis");
    EXPECT_EQ(absoluteSameDrive, cwd + "\\koma\\version.lis");
    // Rooted without a drive: the current directory's drive.
    EXPECT_EQ(platform::AbsolutePath("\\koma\\version.lis"),
              old.string().substr(0, 2) + "\\koma\\version.lis");
}

TEST(PathsWin32, EntersDirectoriesGivenWithSlashesAndJapaneseNames) {
    TempTree tree;
    tree.MakeDir("\u30B3\u30DE/bin");
    const auto old = std::filesystem::current_path();
    ASSERT_TRUE(platform::SetCurrentDirectory(tree.Root() + "/\u30B3\u30DE/bin"));
    const std::string cwd = platform::CurrentDirectory();
    std::filesystem::current_path(old);
    EXPECT_EQ(cwd, tree.Path("\u30B3\u30DE/bin"));
}

}  // namespace
