// Scratch trees, a recording presenter and scoped environment variables.
#include "support/temp_tree.hpp"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace testing_support {

TempTree::TempTree() {
    std::string templ = (fs::temp_directory_path() / "pelkor-test-XXXXXX").string();
    if (::mkdtemp(templ.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    root_ = templ;
}

TempTree::~TempTree() {
    std::error_code ec;
    // Restore permissions that a test may have taken away, so the tree can be removed.
    for (auto it = fs::recursive_directory_iterator(root_, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (it->is_directory(ec) && !it->is_symlink(ec)) {
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
        }
    }
    fs::remove_all(root_, ec);
}

std::string TempTree::Path(std::string_view relative) const {
    return root_ + "/" + std::string(relative);
}

void TempTree::WriteFile(std::string_view relative, std::string_view bytes) const {
    fs::path path = Path(relative);
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

void TempTree::MakeDir(std::string_view relative) const {
    fs::create_directories(Path(relative));
}

void TempTree::Symlink(std::string_view target, std::string_view relative) const {
    fs::path path = Path(relative);
    fs::create_directories(path.parent_path());
    fs::create_symlink(std::string(target), path);
}

std::string TempTree::ReadFile(std::string_view relative) const {
    std::ifstream in(Path(relative), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool TempTree::Exists(std::string_view relative) const {
    std::error_code ec;
    return fs::exists(fs::symlink_status(Path(relative), ec));
}

ScopedEnv::ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) {
        had_ = true;
        old_ = old;
    }
    if (value != nullptr) {
        ::setenv(name, value, 1);
    } else {
        ::unsetenv(name);
    }
}

ScopedEnv::~ScopedEnv() {
    if (had_) {
        ::setenv(name_.c_str(), old_.c_str(), 1);
    } else {
        ::unsetenv(name_.c_str());
    }
}

}  // namespace testing_support
