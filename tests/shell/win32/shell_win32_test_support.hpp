// What the tests of the Windows program share: recorders for the editor, the help browser and
// the process's end, and a main dialog with every outside service replaced.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/editor.hpp"
#include "platform/files.hpp"
#include "shell/win32/help.hpp"
#include "shell/win32/main_dialog.hpp"
#include "support/temp_tree.hpp"

namespace shell_test {

class RecordingEditor final : public platform::EditorLauncher {
public:
    bool StartEditor(const std::string& path) override {
        paths.push_back(path);
        return true;
    }
    std::vector<std::string> paths;
};

class RecordingBrowser final : public shell::HelpBrowser {
public:
    bool OpenPage(const std::string&, const std::string& url) override {
        urls.push_back(url);
        return true;
    }
    std::vector<std::string> urls;
};

// What the process's end was asked for, in place of ending it.
struct ExitRecord {
    int calls = 0;
    UINT code = 0;
    // Whether any window of the main dialog was visible when the end was asked for.
    bool dialogVisible = false;
};
ExitRecord& LastExit();
void RecordExit(UINT code);

// The main dialog with recorders in place of the message boxes, Notepad, the browser and
// ExitProcess.
struct RecordedMainDialog {
    explicit RecordedMainDialog(std::string argumentsText = {})
        : dialog(std::move(argumentsText), &presenter, &editor, nullptr, &browser, RecordExit) {}
    testing_support::RecordingPresenter presenter;
    RecordingEditor editor;
    RecordingBrowser browser;
    shell::CListMainDlg dialog;
};

}  // namespace shell_test
