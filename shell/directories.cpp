// The process's current directory and a directory's subdirectories, byte for byte.
#include "shell/directories.hpp"

#include <algorithm>
#include <system_error>

#include "platform/dir_search.hpp"
#include "platform/settings.hpp"

namespace shell {

bool EnterDirectory(const std::string& dir) {
    std::error_code error;
    std::filesystem::current_path(std::filesystem::path(dir), error);
    return !error;
}

std::string CurrentDirectory() {
    return platform::CurrentDirectory();
}

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
