// What the main dialog does, whichever toolkit draws it: the proposal and the batch switch at
// start, Display with what follows the run, and Browse.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/editor.hpp"
#include "platform/files.hpp"
#include "platform/message_presenter.hpp"
#include "shell/list_run.hpp"

namespace shell {

// The Browse rule: the field's text as a directory, with the system's separator appended
// unless its last byte already is a separator (only the last byte is looked at, so a
// double-byte character whose second byte equals the separator counts as one).
std::string BrowseStartText(std::string fieldText);

enum class AfterRun { kNothing, kViewer, kEditor };

// What follows a run: the viewer after a good interactive run, the editor after a good batch
// run, nothing after a failed one (the run has said why).
AfterRun WhatFollowsRun(RunOutcome outcome, bool batchMode);

// Starts the editor on the list file without waiting for it. The path is made absolute first,
// so a list under a directory named like an option ("-x") is never taken for one.
bool StartEditorOnList(platform::EditorLauncher& editor, const std::string& listPath);

// The main dialog as a toolkit shows it. Texts are the file system's bytes.
class ListMainView {
public:
    virtual ~ListMainView() = default;
    virtual std::string InstallDirText() const = 0;
    // Replaces the directory field's whole text.
    virtual void SetInstallDirText(const std::string& text) = 0;
    // Runs the list viewer on the list file until the user closes it.
    virtual void ShowListViewer(const std::string& listPath) = 0;
    // Runs the directory picker with labelText in its path label; the label's text when it
    // ended with Select, nothing when it was cancelled.
    virtual std::optional<std::string> RunDirectoryPicker(const std::string& labelText) = 0;
};

// The main dialog's work over its view.
class ListMain {
public:
    ListMain(ListMainView& view, platform::MessagePresenter& presenter,
             platform::EditorLauncher& editor, platform::FileSystem& fileSystem);

    // Proposes the install directory in the field, then tests the batch switch; in batch mode
    // it sets BatchMode and writes the list. False when the program is then to end.
    bool OnInitDialog(std::string_view argumentsText);
    // Display: writes the list for the field's text, then shows it (batch mode: starts the
    // editor on it).
    void WriteVersionList();
    // Browse: the picker, started where the field points; Select rewrites the field. The
    // current directory is left where the picker last was.
    void OnBrowse();

    bool BatchMode = false;

private:
    ListMainView& view_;
    platform::MessagePresenter& presenter_;
    platform::EditorLauncher& editor_;
    platform::FileSystem& fileSystem_;
};

}  // namespace shell
