// Driving the program's modal dialogs from inside the test.
#include "shell/win32/dialog_script.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "shell/win32/directory_picker.hpp"
#include "shell/win32/message_box_presenter.hpp"
#include "shell/win32/template_dialog.hpp"

namespace shell_test {
namespace {

constexpr UINT kTickMilliseconds = 25;

// The one script running: thread timers carry no object of their own.
DialogScript* running = nullptr;

bool IsDialogClass(HWND window) {
    wchar_t name[16] = {};
    ::GetClassNameW(window, name, 16);
    return std::wstring_view(name) == L"#32770";
}

template <typename Match>
HWND FindThreadDialog(Match match) {
    struct Search {
        Match match;
        HWND found = nullptr;
    } search{match};
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            if (IsDialogClass(window) && ::IsWindowVisible(window) && s->match(window)) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Ends every dialog of the thread, message boxes and the picker included.
void EndEveryDialog() {
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM) -> BOOL {
            if (IsDialogClass(window)) {
                ::EndDialog(window, IDCANCEL);
            }
            return TRUE;
        },
        0);
}

}  // namespace

DialogScript::DialogScript(std::chrono::seconds limit)
    : deadline_(std::chrono::steady_clock::now() + limit) {
    running = this;
    timer_ = ::SetTimer(nullptr, 0, kTickMilliseconds, Tick);
}

DialogScript::~DialogScript() {
    ::KillTimer(nullptr, timer_);
    running = nullptr;
}

DialogScript& DialogScript::Then(std::string name, Find find, Act act) {
    steps_.push_back(Step{std::move(name), std::move(find), std::move(act)});
    return *this;
}

void CALLBACK DialogScript::Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (running != nullptr) {
        running->OnTick();
    }
}

void DialogScript::OnTick() {
    if (timedOut_) {
        EndEveryDialog();
        return;
    }
    if (std::chrono::steady_clock::now() > deadline_) {
        timedOut_ = true;
        if (next_ < steps_.size()) {
            ADD_FAILURE() << "step \"" << steps_[next_].name << "\" never came";
        } else {
            ADD_FAILURE() << "the dialogs were still open after the last step";
        }
        EndEveryDialog();
        return;
    }
    if (next_ == steps_.size()) {
        return;
    }
    const Step& step = steps_[next_];
    if (const HWND window = step.find()) {
        // Taken before it acts: an act that opens a modal dialog leaves the next steps to the
        // ticks inside it. Each step is named, so a test that hangs shows where.
        ++next_;
        std::fprintf(stderr, "step: %s\n", step.name.c_str());
        std::fflush(stderr);
        step.act(window);
    }
}

HWND DialogWithCaption(const std::string& caption) {
    const std::wstring wanted = shell::WideText(caption);
    return FindThreadDialog([&](HWND window) {
        wchar_t text[256] = {};
        ::GetWindowTextW(window, text, 256);
        return ::IsWindowEnabled(window) && wanted == text;
    });
}

HWND Picker() {
    return FindThreadDialog([](HWND window) {
        return ::IsWindowEnabled(window) && shell::CSpecFileDialog::FromHandle(window) != nullptr;
    });
}

HWND MessageBoxWindow() {
    const std::wstring caption = shell::WideText(shell::ProgramCaption());
    return FindThreadDialog([&](HWND window) {
        wchar_t text[256] = {};
        ::GetWindowTextW(window, text, 256);
        return caption == text && shell::TemplateDialog::FromHandle(window) == nullptr;
    });
}

std::string Text(HWND dialog, int id) {
    return shell::WindowText(::GetDlgItem(dialog, id));
}

void Click(HWND dialog, int id) {
    ::PostMessageW(::GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

void Cancel(HWND dialog) {
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

void PressKey(WORD key, bool shift) {
    std::vector<INPUT> inputs;
    const auto add = [&](WORD vk, bool up) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(input);
    };
    if (shift) {
        add(VK_SHIFT, false);
    }
    add(key, false);
    add(key, true);
    if (shift) {
        add(VK_SHIFT, true);
    }
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

bool CentredOver(HWND window, const RECT& area) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return std::abs((rect.left + rect.right) - (area.left + area.right)) <= 2 &&
           std::abs((rect.top + rect.bottom) - (area.top + area.bottom)) <= 2;
}

RECT WorkArea(HWND window) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    ::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &info);
    return info.rcWork;
}

}  // namespace shell_test
