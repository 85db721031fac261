// Scratch trees, a recording presenter and scoped environment variables.
#include "support/temp_tree.hpp"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "platform/paths.hpp"
#include "support/system.hpp"

namespace fs = std::filesystem;

namespace testing_support {

TempTree::TempTree() : root_(MakeScratchDirectory()) {}

TempTree::~TempTree() {
    RemoveTree(root_);
}

std::string TempTree::Path(std::string_view relative) const {
    std::string path = root_ + platform::kPathSeparator + std::string(relative);
    std::replace(path.begin() + static_cast<std::ptrdiff_t>(root_.size()), path.end(), '/',
                 platform::kPathSeparator);
    return path;
}

void TempTree::WriteFile(std::string_view relative, std::string_view bytes) const {
    fs::path path = FsPath(Path(relative));
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + Path(relative));
    }
}

void TempTree::MakeDir(std::string_view relative) const {
    fs::create_directories(FsPath(Path(relative)));
}

void TempTree::Symlink(std::string_view target, std::string_view relative) const {
    fs::path path = FsPath(Path(relative));
    fs::create_directories(path.parent_path());
    fs::create_symlink(FsPath(target), path);
}

std::string TempTree::ReadFile(std::string_view relative) const {
    std::ifstream in(FsPath(Path(relative)), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool TempTree::Exists(std::string_view relative) const {
    std::error_code ec;
    return fs::exists(fs::symlink_status(FsPath(Path(relative)), ec));
}

std::string WaitForFile(const TempTree& tree, std::string_view relative, std::string_view ending) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        if (tree.Exists(relative)) {
            const std::string bytes = tree.ReadFile(relative);
            if (bytes.size() >= ending.size() &&
                bytes.compare(bytes.size() - ending.size(), ending.size(), ending) == 0) {
                return bytes;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return {};
}

ScopedEnv::ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const auto old = EnvironmentValue(name_)) {
        had_ = true;
        old_ = *old;
    }
    SetEnvironmentValue(name_, value != nullptr ? std::optional<std::string>(value) : std::nullopt);
}

ScopedEnv::~ScopedEnv() {
    SetEnvironmentValue(name_, had_ ? std::optional<std::string>(old_) : std::nullopt);
}

}  // namespace testing_support
