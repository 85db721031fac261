// A directory's subdirectories, by the file system's bytes, whatever they are.
#include "shell/directories.hpp"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/dir_search.hpp"

namespace shell {

std::vector<std::string> Subdirectories(const std::string& dir) {
    std::vector<std::string> names;
    std::error_code error;
    std::filesystem::directory_iterator it(std::filesystem::path(dir), error);
    for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
        std::error_code typeError;
        // A link to a directory is opened like one.
        if (it->is_directory(typeError)) {
            names.push_back(it->path().filename().string());
        }
    }
    std::sort(names.begin(), names.end(), platform::SearchOrderLess);
    return names;
}

}  // namespace shell
