// For tests of the list file: the entries of a scratch directory, and a list written whole.
#pragma once

#include <set>
#include <string>
#include <string_view>

#include "platform/files.hpp"
#include "support/system.hpp"
#include "support/temp_tree.hpp"

namespace testing_support {

// The names in a directory of the tree ("" for its root).
inline std::set<std::string> Entries(const TempTree& tree, const std::string& dir = "") {
    const auto names = DirectoryEntries(tree.Path(dir));
    return std::set<std::string>(names.begin(), names.end());
}

// Creates, writes and closes the list; true only when every step succeeded.
inline bool WriteList(const std::string& path, std::string_view bytes) {
    auto out = platform::SystemFileSystem().Create(path);
    return out != nullptr && out->Write(bytes.data(), bytes.size()) && out->Close();
}

}  // namespace testing_support
