// The reader failures every system can show, as cases the hostile tests of each system share:
// a case builds its tree (and arms the seam where the real system cannot fail as root), and
// the run must show its one message, write no line for the failed file, and go on.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "support/list_rules.hpp"
#include "support/run_over.hpp"
#include "support/suite_files.hpp"
#include "support/temp_tree.hpp"
#include "support/test_file_system.hpp"

namespace reader_failures {

using testing_support::TempTree;

// A tool image larger than any single read: one marker at its start, one at its end.
inline std::string TwoEndedImage(std::size_t size) {
    std::string image = testing_support::ToolImage({"X first"});
    image.resize(size - 32, '.');
    image += "@(#) X last";
    image.push_back('\0');
    image.resize(size, '.');
    return image;
}

struct FailureCase {
    const char* label;
    // Builds the tree and arms the seam (if the real system cannot fail this way as root).
    std::function<void(const TempTree&, testing_support::TestFileSystem&)> make;
    // The list after the banner and the messages, given the tree.
    std::function<std::string(const TempTree&)> list;
    std::function<std::string(const TempTree&)> message;
};

// The case's message, its file's heading and no line for it, and a later file of the same run
// read as usual.
inline void CheckReaderFailure(const FailureCase& failure) {
    TempTree tree;
    testing_support::TestFileSystem files;
    failure.make(tree, files);
    tree.WriteFile("bin/komf1.exe", testing_support::ToolImage({"X komf1"}));

    auto result = testing_support::RunOver(tree.Root(), files);

    EXPECT_EQ(result.outcome, versionlist::RunOutcome::kFound);
    EXPECT_EQ(result.messages, std::vector<std::string>{failure.message(tree)});
    EXPECT_EQ(result.list, testing_support::ExpectedBanner() + failure.list(tree) +
                               testing_support::ExpectedConverterHeading() +
                               testing_support::ExpectedMarkerLine("X komf1"));
    EXPECT_TRUE(result.result.readFailures);
}

}  // namespace reader_failures
