// Scratch directory trees for tests, removed when the test ends.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/message_presenter.hpp"

namespace testing_support {

class TempTree {
public:
    TempTree();
    ~TempTree();
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    // The tree's root, without a trailing separator.
    const std::string& Root() const { return root_; }
    // The path of relative ("bin/kplr.exe") in the tree, as the system spells it: every "/"
    // of relative becomes the system's separator, so expectations name paths as the run
    // builds them.
    std::string Path(std::string_view relative) const;

    // Creates the file (and its parent directories) holding exactly bytes.
    void WriteFile(std::string_view relative, std::string_view bytes) const;
    void MakeDir(std::string_view relative) const;
    void Symlink(std::string_view target, std::string_view relative) const;
    std::string ReadFile(std::string_view relative) const;
    bool Exists(std::string_view relative) const;

private:
    std::string root_;
};

// Waits, ten seconds at most, until a file that another process writes exists in the tree
// and ends with ending (its last line, so a file still being written is not taken); returns
// its bytes, or empty when it did not come.
std::string WaitForFile(const TempTree& tree, std::string_view relative, std::string_view ending);

// Records every message instead of showing it.
class RecordingPresenter final : public platform::MessagePresenter {
public:
    void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
    std::vector<std::string> messages;
};

// Sets an environment variable for the lifetime of the object, then restores it.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    bool had_ = false;
    std::string old_;
};

}  // namespace testing_support
