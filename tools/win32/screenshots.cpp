// pelkor-screenshots.exe: the main dialog, the About box, the directory picker and the viewer as
// the system shows them, frame and caption included, each captured from the screen into a PNG
// file for the README. Runs on a display with the window manager drawing the captions (make
// windows-screenshots: Wine on a virtual display, Japanese fonts).
#include <windows.h>
// After windows.h, which they need.
#include <dlgs.h>
#include <objidl.h>
// After objidl.h, which windows.h leaves out here (WIN32_LEAN_AND_MEAN).
#include <gdiplus.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "platform/files.hpp"
#include "platform/win32/wide.hpp"
#include "resources/win32/resource.h"
#include "shell/win32/directory_picker.hpp"
#include "shell/win32/main_dialog.hpp"

namespace {

// Messages of a run go to stderr: nobody is there to dismiss a box.
class StderrPresenter final : public platform::MessagePresenter {
public:
    void ShowMessage(std::string_view text) override {
        std::fprintf(stderr, "pelkor-screenshots: %.*s\n", static_cast<int>(text.size()),
                     text.data());
        failed = true;
    }
    bool failed = false;
};

// The whole screen's pixels, top row first.
class ScreenImage {
public:
    ScreenImage() {
        const HDC screen = ::GetDC(nullptr);
        width_ = ::GetDeviceCaps(screen, HORZRES);
        height_ = ::GetDeviceCaps(screen, VERTRES);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width_;
        info.bmiHeader.biHeight = -height_;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        bitmap_ = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        const HDC memory = ::CreateCompatibleDC(screen);
        const HGDIOBJ old = ::SelectObject(memory, bitmap_);
        ::BitBlt(memory, 0, 0, width_, height_, screen, 0, 0, SRCCOPY | CAPTUREBLT);
        ::SelectObject(memory, old);
        ::DeleteDC(memory);
        ::ReleaseDC(nullptr, screen);
        pixels_ = static_cast<const DWORD*>(bits);
    }
    ~ScreenImage() { ::DeleteObject(bitmap_); }
    ScreenImage(const ScreenImage&) = delete;
    ScreenImage& operator=(const ScreenImage&) = delete;

    bool Contains(LONG x, LONG y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    DWORD At(LONG x, LONG y) const { return pixels_[y * width_ + x] & 0xFFFFFF; }
    HBITMAP Bitmap() const { return bitmap_; }

private:
    int width_ = 0;
    int height_ = 0;
    HBITMAP bitmap_ = nullptr;
    const DWORD* pixels_ = nullptr;
};

// The window as it stands on the screen: its client area and the frame the window manager drew
// around it, found as the runs of the frame's border colour that enclose the client area (the
// window manager's frame need not be where the system's window rectangle says).
RECT FrameOnScreen(const ScreenImage& screen, HWND window) {
    RECT client{};
    ::GetClientRect(window, &client);
    ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    RECT frame = client;
    const auto column = [&](LONG x, LONG top, LONG bottom, DWORD colour) {
        for (LONG y = top; y < bottom; ++y) {
            if (!screen.Contains(x, y) || screen.At(x, y) != colour) {
                return false;
            }
        }
        return true;
    };
    const auto row = [&](LONG y, LONG left, LONG right, DWORD colour) {
        for (LONG x = left; x < right; ++x) {
            if (!screen.Contains(x, y) || screen.At(x, y) != colour) {
                return false;
            }
        }
        return true;
    };
    const LONG middle = (client.top + client.bottom) / 2;
    if (!screen.Contains(client.left - 1, middle) || !screen.Contains(client.right, middle)) {
        return client;
    }
    const DWORD leftColour = screen.At(client.left - 1, middle);
    while (column(frame.left - 1, client.top, client.bottom, leftColour)) {
        --frame.left;
    }
    const DWORD rightColour = screen.At(client.right, middle);
    while (column(frame.right, client.top, client.bottom, rightColour)) {
        ++frame.right;
    }
    if (screen.Contains(client.left, client.bottom)) {
        const DWORD bottomColour = screen.At(client.left, client.bottom);
        while (row(frame.bottom, frame.left, frame.right, bottomColour)) {
            ++frame.bottom;
        }
    }
    // The caption: the frame's outer left edge runs up past it to the frame's top.
    while (screen.Contains(frame.left, frame.top - 1) &&
           screen.At(frame.left, frame.top - 1) == leftColour && client.top - frame.top < 64) {
        --frame.top;
    }
    return frame;
}

// The PNG encoder of the system's imaging library.
bool SavePng(HBITMAP bitmap, const RECT& area, const std::wstring& path) {
    using namespace Gdiplus;
    GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (GdiplusStartup(&token, &input, nullptr) != Ok) {
        return false;
    }
    bool ok = false;
    GpBitmap* whole = nullptr;
    GpBitmap* part = nullptr;
    CLSID png{};
    if (DllExports::GdipCreateBitmapFromHBITMAP(bitmap, nullptr, &whole) == Ok &&
        DllExports::GdipCloneBitmapAreaI(area.left, area.top, area.right - area.left,
                                         area.bottom - area.top, PixelFormat24bppRGB, whole,
                                         &part) == Ok &&
        SUCCEEDED(::CLSIDFromString(L"{557CF406-1A04-11D3-9A73-0000F81EF32E}", &png))) {
        ok = DllExports::GdipSaveImageToFile(part, path.c_str(), &png, nullptr) == Ok;
    }
    if (part != nullptr) {
        DllExports::GdipDisposeImage(part);
    }
    if (whole != nullptr) {
        DllExports::GdipDisposeImage(whole);
    }
    GdiplusShutdown(token);
    return ok;
}

// One window after another, from a thread timer inside the dialogs' own modal loops. A window
// is captured once it has stood still on the screen for a moment, so that it and the window
// manager's frame are drawn.
class Session {
public:
    using Find = std::function<HWND()>;
    using Act = std::function<void(HWND)>;

    void Then(Find find, Act act) { steps_.push_back({std::move(find), std::move(act)}); }

    void Start() {
        current_ = this;
        deadline_ = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        timer_ = ::SetTimer(nullptr, 0, 50, Tick);
    }
    void Stop() { ::KillTimer(nullptr, timer_); }
    bool Finished() const { return next_ == steps_.size(); }

private:
    struct Step {
        Find find;
        Act act;
    };
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) { current_->OnTick(); }

    void OnTick() {
        if (next_ == steps_.size()) {
            return;
        }
        if (std::chrono::steady_clock::now() > deadline_) {
            std::fprintf(stderr, "pelkor-screenshots: a dialog did not come; giving up\n");
            ::EnumThreadWindows(
                ::GetCurrentThreadId(),
                [](HWND window, LPARAM) -> BOOL {
                    ::EndDialog(window, IDCANCEL);
                    return TRUE;
                },
                0);
            next_ = steps_.size();
            return;
        }
        const HWND window = steps_[next_].find();
        if (window == nullptr || window != seen_) {
            seen_ = window;
            seenSince_ = std::chrono::steady_clock::now();
            return;
        }
        if (std::chrono::steady_clock::now() - seenSince_ < std::chrono::milliseconds(600)) {
            return;
        }
        seen_ = nullptr;
        const Act act = steps_[next_++].act;
        act(window);
    }

    static inline Session* current_ = nullptr;
    std::vector<Step> steps_;
    std::size_t next_ = 0;
    HWND seen_ = nullptr;
    std::chrono::steady_clock::time_point seenSince_;
    std::chrono::steady_clock::time_point deadline_;
    UINT_PTR timer_ = 0;
};

// The active dialog of this thread when its caption is the one given, else null.
HWND ActiveWith(const std::wstring& caption) {
    const HWND window = ::GetActiveWindow();
    wchar_t text[128] = {};
    ::GetWindowTextW(window, text, 128);
    return window != nullptr && ::IsWindowVisible(window) && caption == text ? window : nullptr;
}

HWND ActivePicker() {
    const HWND window = ::GetActiveWindow();
    return shell::CSpecFileDialog::FromHandle(window) != nullptr ? window : nullptr;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: pelkor-screenshots OUTPUT_DIR INSTALL_DIR\n");
        return 2;
    }
    // Absolute, since the picker moves the process into the install directory.
    wchar_t full[MAX_PATH] = {};
    ::GetFullPathNameW(argv[1], MAX_PATH, full, nullptr);
    const std::wstring out = std::wstring(full) + L"\\";
    ::CreateDirectoryW(full, nullptr);
    const std::string installDir = platform::win32::Narrow(argv[2]);

    bool ok = true;
    const auto capture = [&](HWND window, const wchar_t* name) {
        const ScreenImage screen;
        const RECT frame = FrameOnScreen(screen, window);
        const bool saved = SavePng(screen.Bitmap(), frame, out + name);
        std::printf("%s%s: %ld x %ld\n", platform::win32::Narrow(out + name).c_str(),
                    saved ? "" : " NOT WRITTEN", frame.right - frame.left,
                    frame.bottom - frame.top);
        ok = ok && saved;
    };

    StderrPresenter presenter;
    shell::CListMainDlg main("", &presenter);
    const std::wstring mainCaption = shell::WideText("KOMA-R ﾊﾞｰｼﾞｮﾝ表示");
    Session session;
    session.Then([&] { return ActiveWith(mainCaption); },
                 [&](HWND dialog) {
                     // The install directory as the proposal would have put it.
                     ::SetDlgItemTextW(dialog, IDC_INSTALL_DIR,
                                       shell::WideText(installDir).c_str());
                 });
    session.Then([&] { return ActiveWith(mainCaption); },
                 [&](HWND dialog) {
                     capture(dialog, L"main.png");
                     ::PostMessageW(dialog, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
                 });
    session.Then([] { return ActiveWith(shell::WideText("ﾊﾞｰｼﾞｮﾝ情報 pelkor")); },
                 [&](HWND box) {
                     capture(box, L"about.png");
                     ::PostMessageW(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
                 });
    session.Then(
        [&] { return ActiveWith(mainCaption); },
        [](HWND dialog) { ::PostMessageW(::GetDlgItem(dialog, IDC_BROWSE), BM_CLICK, 0, 0); });
    session.Then(ActivePicker, [&](HWND picker) {
        capture(picker, L"picker.png");
        ::PostMessageW(::GetDlgItem(picker, IDCANCEL), BM_CLICK, 0, 0);
    });
    session.Then(
        [&] { return ActiveWith(mainCaption); },
        [](HWND dialog) { ::PostMessageW(::GetDlgItem(dialog, IDC_SHOW), BM_CLICK, 0, 0); });
    session.Then([] { return ActiveWith(shell::WideText("ﾊﾞｰｼﾞｮﾝ表示")); },
                 [&](HWND viewer) {
                     capture(viewer, L"viewer.png");
                     ::PostMessageW(viewer, WM_COMMAND, IDCANCEL, 0);
                 });
    session.Then([&] { return ActiveWith(mainCaption); },
                 [](HWND dialog) { ::PostMessageW(::GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0); });
    session.Start();
    main.DoModal();
    session.Stop();
    return ok && session.Finished() && !presenter.failed ? 0 : 1;
}
