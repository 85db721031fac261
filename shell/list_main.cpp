// What the main dialog does, whichever toolkit draws it.
#include "shell/list_main.hpp"

#include "platform/paths.hpp"
#include "shell/batch_switch.hpp"

namespace shell {

std::string BrowseStartText(std::string fieldText) {
    if (fieldText.empty() || !platform::IsPathSeparator(fieldText.back())) {
        fieldText.push_back(platform::kPathSeparator);
    }
    return fieldText;
}

AfterRun WhatFollowsRun(RunOutcome outcome, bool batchMode) {
    if (outcome != RunOutcome::kFound) {
        return AfterRun::kNothing;
    }
    return batchMode ? AfterRun::kEditor : AfterRun::kViewer;
}

bool StartEditorOnList(platform::EditorLauncher& editor, const std::string& listPath) {
    return editor.StartEditor(platform::AbsolutePath(listPath));
}

ListMain::ListMain(ListMainView& view, platform::MessagePresenter& presenter,
                   platform::EditorLauncher& editor, platform::FileSystem& fileSystem)
    : view_(view), presenter_(presenter), editor_(editor), fileSystem_(fileSystem) {}

bool ListMain::OnInitDialog(std::string_view argumentsText) {
    view_.SetInstallDirText(ProposedInstallDir());
    if (!IsBatchSwitch(argumentsText)) {
        return true;
    }
    BatchMode = true;
    WriteVersionList();
    return false;
}

void ListMain::WriteVersionList() {
    const ListRun run = RunVersionList(view_.InstallDirText(), presenter_, fileSystem_);
    switch (WhatFollowsRun(run.outcome, BatchMode)) {
        case AfterRun::kEditor:
            StartEditorOnList(editor_, run.listPath);  // its result does not matter
            break;
        case AfterRun::kViewer:
            view_.ShowListViewer(run.listPath);
            break;
        case AfterRun::kNothing:
            break;
    }
}

void ListMain::OnBrowse() {
    const std::string start = BrowseStartText(view_.InstallDirText());
    // A directory that cannot be entered leaves the picker where the process already is.
    platform::SetCurrentDirectory(start);
    if (const std::optional<std::string> selected = view_.RunDirectoryPicker(start)) {
        view_.SetInstallDirText(*selected);
    }
}

}  // namespace shell
