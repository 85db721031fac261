// The run's messages as modal warning boxes with an OK button, captioned with the program's name.
#pragma once

#include "platform/message_presenter.hpp"
#include "shell/win32/template_dialog.hpp"

namespace shell {

class MessageBoxPresenter final : public platform::MessagePresenter {
public:
    // The box is owned by owner (disabled meanwhile) while owner is visible; before the main
    // dialog is shown, and in batch mode, it stands on its own.
    void SetOwner(HWND owner) { owner_ = owner; }
    void ShowMessage(std::string_view text) override;

private:
    HWND owner_ = nullptr;
};

// The caption of every message box: the running executable's name without its extension.
std::string ProgramCaption();

}  // namespace shell
