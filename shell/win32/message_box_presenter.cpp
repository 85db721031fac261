// The run's messages as modal warning boxes with an OK button.
#include "shell/win32/message_box_presenter.hpp"

#include "platform/win32/wide.hpp"
#include "shell/message_caption.hpp"

namespace shell {

std::string ProgramCaption() {
    const std::wstring path = platform::win32::GrowingBuffer([](wchar_t* buffer, DWORD size) {
        const DWORD n = ::GetModuleFileNameW(nullptr, buffer, size);
        return n == size ? size + 1 : n;  // a full buffer may have cut the name short
    });
    return MessageCaption(platform::win32::Narrow(path));
}

void MessageBoxPresenter::ShowMessage(std::string_view text) {
    const HWND owner = owner_ != nullptr && ::IsWindowVisible(owner_) ? owner_ : nullptr;
    ::MessageBoxW(owner, WideText(text).c_str(), WideText(ProgramCaption()).c_str(),
                  MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace shell
