// The file access of the run on Windows: regular files only, read while others hold them,
// never a device; a list that replaces the old one through the system's own replace and
// keeps it when the system refuses; long and Japanese paths.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/files.hpp"
#include "support/list_writing.hpp"
#include "support/temp_tree.hpp"
#include "support/win32/wide_text.hpp"

namespace {

using testing_support::Entries;
using testing_support::TempTree;
using testing_support::WideText;
using testing_support::WriteList;

DWORD Attributes(const std::string& path) {
    return ::GetFileAttributesW(WideText(path).c_str());
}

// A symbolic link, where the system makes them (Wine reports success and makes none).
bool MakeLink(const std::string& link, const std::string& target, DWORD flags) {
    return ::CreateSymbolicLinkW(WideText(link).c_str(), WideText(target).c_str(),
                                 flags | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE) &&
           Attributes(link) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadAll(platform::InputFile& file) {
    std::string bytes;
    char buffer[4096];
    long n;
    while ((n = file.Read(buffer, sizeof buffer)) > 0) {
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    return bytes;
}

// Tools on read-only media, or held open by a running program or one writing them, stay
// readable; and while the run reads a file, others may still write, rename or delete it.
TEST(SystemFileSystemWin32, ReadsFilesOthersHoldAndLocksNobodyOut) {
    TempTree tree;
    tree.WriteFile("readonly.exe", "read-only");
    ASSERT_TRUE(
        ::SetFileAttributesW(WideText(tree.Path("readonly.exe")).c_str(), FILE_ATTRIBUTE_READONLY));
    auto readOnly = platform::SystemFileSystem().OpenBinary(tree.Path("readonly.exe"));
    ASSERT_NE(readOnly, nullptr);
    EXPECT_EQ(ReadAll(*readOnly), "read-only");

    tree.WriteFile("held.exe", "held");
    HANDLE writer =
        ::CreateFileW(WideText(tree.Path("held.exe")).c_str(), GENERIC_WRITE,
                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    auto held = platform::SystemFileSystem().OpenBinary(tree.Path("held.exe"));
    auto heldText = platform::SystemFileSystem().OpenText(tree.Path("held.exe"));
    ::CloseHandle(writer);
    ASSERT_NE(held, nullptr);
    ASSERT_NE(heldText, nullptr);
    EXPECT_EQ(ReadAll(*held), "held");

    tree.WriteFile("open.exe", "open");
    auto open = platform::SystemFileSystem().OpenBinary(tree.Path("open.exe"));
    ASSERT_NE(open, nullptr);
    EXPECT_TRUE(::DeleteFileW(WideText(tree.Path("open.exe")).c_str()))
        << "a file being read could not be deleted (error " << ::GetLastError() << ")";
}

// Devices are never opened for reading: their names are no files.
TEST(SystemFileSystemWin32, NeverOpensDevicesOrDirectories) {
    TempTree tree;
    tree.MakeDir("dir.exe");
    for (const std::string& path : {std::string("NUL"), std::string("\\\\.\\NUL"),
                                    tree.Path("dir.exe"), tree.Path("missing.exe")}) {
        EXPECT_EQ(platform::SystemFileSystem().OpenBinary(path), nullptr) << path;
        EXPECT_EQ(platform::SystemFileSystem().OpenText(path), nullptr) << path;
    }
}

// A read-only list is neither replaced nor written by the system; the run says so at once and
// leaves it as it was.
TEST(SystemFileSystemCreateWin32, RefusesAReadOnlyListAndLeavesIt) {
    TempTree tree;
    tree.WriteFile("version.lis", "read-only list");
    ASSERT_TRUE(
        ::SetFileAttributesW(WideText(tree.Path("version.lis")).c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(platform::SystemFileSystem().Create(tree.Path("version.lis")), nullptr);
    EXPECT_EQ(tree.ReadFile("version.lis"), "read-only list");
    EXPECT_EQ(Entries(tree), std::set<std::string>{"version.lis"});
}

// A list another program holds open without letting it be deleted (an editor, a viewer)
// cannot be replaced: the new list fails at its close, the old one stays whole, and the new
// one is removed.
TEST(SystemFileSystemCreateWin32, AListHeldOpenStaysAndTheNewOneIsRemoved) {
    TempTree tree;
    tree.WriteFile("version.lis", "the last good list");
    HANDLE holder = ::CreateFileW(WideText(tree.Path("version.lis")).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    auto out = platform::SystemFileSystem().Create(tree.Path("version.lis"));
    const bool written = out != nullptr && out->Write("new list", 8);
    const bool closed = written && out->Close();
    out.reset();
    ::CloseHandle(holder);
    EXPECT_FALSE(closed) << "the list took the place of one held open";
    EXPECT_EQ(tree.ReadFile("version.lis"), "the last good list");
    EXPECT_EQ(Entries(tree), std::set<std::string>{"version.lis"});
}

// The old list's hidden and archive attributes stay with the new one.
TEST(SystemFileSystemCreateWin32, KeepsTheOldListsAttributes) {
    TempTree tree;
    tree.WriteFile("version.lis", "old");
    ASSERT_TRUE(::SetFileAttributesW(WideText(tree.Path("version.lis")).c_str(),
                                     FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    ASSERT_TRUE(WriteList(tree.Path("version.lis"), "new"));
    EXPECT_EQ(tree.ReadFile("version.lis"), "new");
    EXPECT_NE(Attributes(tree.Path("version.lis")) & FILE_ATTRIBUTE_HIDDEN, 0u);
}

TEST(SystemFileSystemCreateWin32, WritesUnderLongAndJapanesePaths) {
    TempTree tree;
    std::string deep = "\u30B3\u30DE/";
    for (int i = 0; i < 5; ++i) {
        deep += std::string(60, static_cast<char>('a' + i)) + "/";
    }
    tree.MakeDir(deep);
    const std::string list = tree.Path(deep + "version.lis");
    ASSERT_GT(list.size(), std::size_t{MAX_PATH});
    ASSERT_TRUE(WriteList(list, "first"));
    ASSERT_TRUE(WriteList(list, "second"));
    EXPECT_EQ(tree.ReadFile(deep + "version.lis"), "second");
    EXPECT_EQ(Entries(tree, deep), std::set<std::string>{"version.lis"});
    auto file = platform::SystemFileSystem().OpenText(list);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(ReadAll(*file), "second");
}

// Links, where the system lets the test make them: read through to a file, never to a
// directory; as the list's name, replaced and never written through.
TEST(SystemFileSystemWin32, ReadsThroughFileLinksAndReplacesALinkedList) {
    TempTree tree;
    tree.WriteFile("file.exe", "through the link");
    tree.WriteFile("elsewhere/victim", "must stay");
    tree.MakeDir("dir");
    tree.MakeDir("list");
    if (!MakeLink(tree.Path("link.exe"), tree.Path("file.exe"), 0)) {
        GTEST_SKIP() << "no symbolic links here";
    }
    ASSERT_TRUE(MakeLink(tree.Path("dirlink.exe"), tree.Path("dir"), SYMBOLIC_LINK_FLAG_DIRECTORY));
    ASSERT_TRUE(MakeLink(tree.Path("list/version.lis"), tree.Path("elsewhere/victim"), 0));
    auto linked = platform::SystemFileSystem().OpenBinary(tree.Path("link.exe"));
    ASSERT_NE(linked, nullptr);
    EXPECT_EQ(ReadAll(*linked), "through the link");
    EXPECT_EQ(platform::SystemFileSystem().OpenBinary(tree.Path("dirlink.exe")), nullptr);

    ASSERT_TRUE(WriteList(tree.Path("list/version.lis"), "new"));
    EXPECT_EQ(tree.ReadFile("elsewhere/victim"), "must stay");
    EXPECT_EQ(tree.ReadFile("list/version.lis"), "new");
    EXPECT_EQ(Attributes(tree.Path("list/version.lis")) & FILE_ATTRIBUTE_REPARSE_POINT, 0u);
}

}  // namespace
