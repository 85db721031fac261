// The run's messages as modal warning boxes with an OK button.
#pragma once

#include <QString>
#include <string_view>

#include "platform/message_presenter.hpp"

class QWidget;

namespace shell {

class MessageBoxPresenter final : public platform::MessagePresenter {
public:
    explicit MessageBoxPresenter(QWidget* owner = nullptr) : owner_(owner) {}
    // Shows the text in a modal warning box, OK only, and returns when it is dismissed.
    void ShowMessage(std::string_view text) override;

private:
    QWidget* owner_;
};

}  // namespace shell
