// A directory's subdirectories, by the file system's bytes, whatever they are.
#pragma once

#include <string>
#include <vector>

namespace shell {

// The names of dir's subdirectories (hidden ones included, "." and ".." never) in the
// directory search's order; none when dir cannot be read.
std::vector<std::string> Subdirectories(const std::string& dir);

}  // namespace shell
