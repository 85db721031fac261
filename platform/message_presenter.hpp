// How a message of a run reaches the person: a modal box, a line on stderr, a test's recorder.
#pragma once

#include <string_view>

namespace platform {

class MessagePresenter {
public:
    virtual ~MessagePresenter() = default;
    // Shows one message (UTF-8) and returns once the person has taken note of it.
    virtual void ShowMessage(std::string_view text) = 0;
};

}  // namespace platform
