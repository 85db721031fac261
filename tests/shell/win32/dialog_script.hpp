// Driving the program's modal dialogs from inside the test, as a person would, never waiting on
// one: steps run from a thread timer in whichever modal loop the thread sits in, each once the
// window it waits for is up; past the time limit every dialog of the thread is ended.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace shell_test {

class DialogScript {
public:
    // Finds the window a step waits for; null while it is not there.
    using Find = std::function<HWND()>;
    using Act = std::function<void(HWND)>;

    // The timer starts at once; the steps run as the code under test runs its dialogs.
    explicit DialogScript(std::chrono::seconds limit = std::chrono::seconds(20));
    ~DialogScript();
    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;

    // Adds a step: once find gives a window, act on it. An act may open a modal dialog; the
    // next steps then run inside it.
    DialogScript& Then(std::string name, Find find, Act act);

    // True when every step ran in time; otherwise the test has failed naming the step that
    // never came.
    bool Finished() const { return next_ == steps_.size() && !timedOut_; }

private:
    struct Step {
        std::string name;
        Find find;
        Act act;
    };
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    void OnTick();

    std::vector<Step> steps_;
    std::size_t next_ = 0;
    std::chrono::steady_clock::time_point deadline_;
    bool timedOut_ = false;
    UINT_PTR timer_ = 0;
};

// A visible, enabled dialog of this thread with the caption given (UTF-8), else null.
HWND DialogWithCaption(const std::string& caption);
// The visible, enabled directory picker of this thread, else null.
HWND Picker();
// The visible message box of this thread (captioned with the test program's name), else null.
HWND MessageBoxWindow();

// The text of a control of a dialog, as UTF-8.
std::string Text(HWND dialog, int id);
// Presses a button by posting its click, so that a modal dialog it opens runs in the loop the
// script runs in, not inside the step.
void Click(HWND dialog, int id);
// The Cancel command, as Esc or the close box give it.
void Cancel(HWND dialog);
// Presses and releases a key (with Shift when shift is set) through the system's input, as
// the keyboard would.
void PressKey(WORD key, bool shift = false);

// True when window's centre lies within a pixel of the centre of area.
bool CentredOver(HWND window, const RECT& area);
// The work area of the monitor that shows window.
RECT WorkArea(HWND window);

}  // namespace shell_test
