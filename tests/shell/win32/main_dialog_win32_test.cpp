// The main dialog on Windows, driven through its messages: the proposal at start, focus and
// Tab, Display and the viewer, Browse and the picker (Select, Cancel, the separator rule),
// About through the system menu, F1 help, and batch mode.
#include <windows.h>
// After windows.h, which it needs.
#include <dlgs.h>
// windows.h makes a macro of the name of the platform's own function.
#undef SetCurrentDirectory

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/cp932.hpp"
#include "platform/dir_search.hpp"
#include "platform/paths.hpp"
#include "resources/win32/resource.h"
#include "shell/help_topic.hpp"
#include "shell/win32/dialog_script.hpp"
#include "shell/win32/directory_picker.hpp"
#include "shell/win32/shell_win32_test_support.hpp"
#include "support/list_rules.hpp"
#include "support/settings_file.hpp"
#include "support/suite_files.hpp"
#include "support/temp_tree.hpp"

namespace {

using shell_test::Click;
using shell_test::DialogScript;
using shell_test::DialogWithCaption;
using shell_test::RecordedMainDialog;
using shell_test::Text;
using testing_support::ScopedSettingsFile;
using testing_support::TempTree;
using Strings = std::vector<std::string>;

const std::string kMainCaption = "KOMA-R ﾊﾞｰｼﾞｮﾝ表示";
const std::string kViewerCaption = "ﾊﾞｰｼﾞｮﾝ表示";
const std::string kAboutCaption = "ﾊﾞｰｼﾞｮﾝ情報 pelkor";

HWND MainDialog() {
    return DialogWithCaption(kMainCaption);
}

// The main dialog once it is up and has the keyboard.
HWND ActiveMainDialog() {
    const HWND main = MainDialog();
    return main != nullptr && ::GetActiveWindow() == main ? main : nullptr;
}

// The process goes back where it was: Browse moves it.
class CurrentDirectoryGuard {
public:
    CurrentDirectoryGuard() : saved_(platform::CurrentDirectory()) {}
    ~CurrentDirectoryGuard() { platform::SetCurrentDirectory(saved_); }

private:
    std::string saved_;
};

class MainDialogWin32 : public ::testing::Test {
protected:
    void SetUp() override {
        if (!::GetEnvironmentVariableW(L"DISPLAY", nullptr, 0)) {
            GTEST_SKIP() << "no display: run in a Wine session with PELKOR_WINE_DISPLAY";
        }
    }

    // The suite's settings file proposing home.
    void Propose(const std::string& home) {
        settings_.reset();
        settings_ = std::make_unique<ScopedSettingsFile>(tree_, "[SYSTEM]\nHOME=" + home + "\n");
    }

    CurrentDirectoryGuard guard_;
    TempTree tree_;
    std::unique_ptr<ScopedSettingsFile> settings_;
};

TEST_F(MainDialogWin32, StartsWithTheProposalCentredAndBrowseFocused) {
    Propose(tree_.Path("suite"));
    RecordedMainDialog main;
    DialogScript script;
    script.Then("the main dialog", ActiveMainDialog, [&](HWND dialog) {
        EXPECT_EQ(Text(dialog, IDC_INSTALL_DIR), tree_.Path("suite"));
        EXPECT_EQ(::GetFocus(), ::GetDlgItem(dialog, IDC_BROWSE));
        EXPECT_TRUE(shell_test::CentredOver(dialog, shell_test::WorkArea(dialog)));
        // Tab moves between Browse and Display only; Enter in the field is Exit.
        EXPECT_EQ(::GetNextDlgTabItem(dialog, ::GetDlgItem(dialog, IDC_BROWSE), FALSE),
                  ::GetDlgItem(dialog, IDC_SHOW));
        EXPECT_EQ(::GetNextDlgTabItem(dialog, ::GetDlgItem(dialog, IDC_SHOW), FALSE),
                  ::GetDlgItem(dialog, IDC_BROWSE));
        EXPECT_EQ(LOWORD(::SendMessageW(dialog, DM_GETDEFID, 0, 0)), IDOK);
        // The About item after a separator, at the end of the system menu.
        const HMENU menu = ::GetSystemMenu(dialog, FALSE);
        const int count = ::GetMenuItemCount(menu);
        ASSERT_GE(count, 2);
        EXPECT_EQ(::GetMenuItemID(menu, count - 1), static_cast<UINT>(IDM_ABOUTBOX));
        wchar_t item[64] = {};
        ::GetMenuStringW(menu, IDM_ABOUTBOX, item, 64, MF_BYCOMMAND);
        EXPECT_EQ(std::wstring(item), shell::WideText("ﾊﾞｰｼﾞｮﾝ情報(pelkor) (&A)..."));
        MENUITEMINFOW separator{};
        separator.cbSize = sizeof separator;
        separator.fMask = MIIM_FTYPE;
        ::GetMenuItemInfoW(menu, count - 2, TRUE, &separator);
        EXPECT_TRUE(separator.fType & MFT_SEPARATOR);
        EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageW(dialog, WM_GETICON, ICON_BIG, 0)),
                  main.dialog.MainIcon);
        EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageW(dialog, WM_GETICON, ICON_SMALL, 0)),
                  main.dialog.MainIcon);
        EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageW(dialog, WM_QUERYDRAGICON, 0, 0)),
                  main.dialog.MainIcon);
        EXPECT_NE(main.dialog.MainIcon, nullptr);
        Click(dialog, IDOK);
    });
    EXPECT_EQ(main.dialog.DoModal(), IDOK);
    EXPECT_TRUE(script.Finished());
    EXPECT_FALSE(main.dialog.BatchMode());
    EXPECT_FALSE(tree_.Exists("suite/version.lis"));
    EXPECT_TRUE(main.presenter.messages.empty());
}

// Enter on the focused Browse opens the picker; Enter in the field ends the program.
TEST_F(MainDialogWin32, EnterOpensThePickerFromBrowseAndEndsFromTheField) {
    tree_.MakeDir("suite");
    Propose(tree_.Path("suite"));
    RecordedMainDialog main;
    DialogScript script;
    script.Then("the main dialog", ActiveMainDialog, [](HWND) { shell_test::PressKey(VK_RETURN); })
        .Then("the picker", shell_test::Picker, [](HWND picker) { Click(picker, IDCANCEL); })
        .Then("the main dialog again", ActiveMainDialog, [](HWND dialog) {
            // The focus is back on Browse.
            EXPECT_EQ(::GetFocus(), ::GetDlgItem(dialog, IDC_BROWSE));
            ::SetFocus(::GetDlgItem(dialog, IDC_INSTALL_DIR));
            shell_test::PressKey(VK_RETURN);
        });
    EXPECT_EQ(main.dialog.DoModal(), IDOK);
    EXPECT_TRUE(script.Finished());
}

// A list of more lines than the viewer shows, read back from the file: one field line per
// stored line, scrolled to the end, the focus on 閉じる, the main dialog disabled meanwhile.
TEST_F(MainDialogWin32, DisplayShowsTheListInTheViewerScrolledToItsEnd) {
    tree_.WriteFile("suite/bin/kplr.exe", testing_support::ToolImage({"XKPL-R V2.10"}));
    for (std::size_t n = 1; n <= 40; ++n) {
        tree_.WriteFile("suite/gen/" + testing_support::NumberedDefinitionName(0, n),
                        testing_support::NumberedDefinition(0, n, 16));
    }
    Propose(tree_.Path("suite"));
    RecordedMainDialog main;
    HWND mainWindow = nullptr;
    DialogScript script;
    script
        .Then("the main dialog", ActiveMainDialog,
              [&](HWND dialog) {
                  mainWindow = dialog;
                  Click(dialog, IDC_SHOW);
              })
        .Then(
            "the viewer", [] { return DialogWithCaption(kViewerCaption); },
            [&](HWND viewer) {
                EXPECT_FALSE(::IsWindowEnabled(mainWindow));
                RECT over{};
                ::GetWindowRect(mainWindow, &over);
                EXPECT_TRUE(shell_test::CentredOver(viewer, over));
                EXPECT_EQ(::GetFocus(), ::GetDlgItem(viewer, IDOK));
                // The stored CR CR LF is one line break; the text is the list's, in UTF-8.
                const std::string stored = tree_.ReadFile("suite/version.lis");
                std::string expected;
                std::size_t lines = 0;
                for (std::size_t i = 0; i < stored.size(); ++i) {
                    if (stored.compare(i, 3, "\r\r\n") == 0) {
                        expected += "\r\n";
                        ++lines;
                        i += 2;
                    } else {
                        expected += stored[i];
                    }
                }
                EXPECT_EQ(Text(viewer, IDC_LIST_TEXT), platform::Cp932ToUtf8(expected));
                const HWND field = ::GetDlgItem(viewer, IDC_LIST_TEXT);
                const auto count =
                    static_cast<std::size_t>(::SendMessageW(field, EM_GETLINECOUNT, 0, 0));
                EXPECT_EQ(count, lines + 1);  // and the empty line after the last break
                EXPECT_GT(lines, 40u);
                // The caret at the end, and the end in view.
                DWORD start = 0;
                ::SendMessageW(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
                EXPECT_EQ(start, static_cast<DWORD>(::GetWindowTextLengthW(field)));
                const auto first =
                    static_cast<std::size_t>(::SendMessageW(field, EM_GETFIRSTVISIBLELINE, 0, 0));
                EXPECT_GT(first, 0u);
                RECT client{};
                ::GetClientRect(field, &client);
                const LRESULT top = ::SendMessageW(
                    field, EM_POSFROMCHAR,
                    static_cast<WPARAM>(::SendMessageW(field, EM_LINEINDEX, count - 1, 0)), 0);
                EXPECT_LT(static_cast<short>(HIWORD(top)), client.bottom);
                Click(viewer, IDOK);
            })
        .Then("the main dialog again", ActiveMainDialog, [](HWND dialog) { Click(dialog, IDOK); });
    EXPECT_EQ(main.dialog.DoModal(), IDOK);
    EXPECT_TRUE(script.Finished());
    EXPECT_TRUE(main.presenter.messages.empty());
}

TEST_F(MainDialogWin32, DisplayWithNothingFoundShowsTheMessageAndNoViewer) {
    tree_.MakeDir("empty");
    Propose(tree_.Path("empty"));
    RecordedMainDialog main;
    DialogScript script;
    script.Then("the main dialog", ActiveMainDialog, [&](HWND dialog) {
        ::SendMessageW(::GetDlgItem(dialog, IDC_SHOW), BM_CLICK, 0, 0);
        EXPECT_EQ(main.presenter.messages, Strings{std::string(testing_support::kNothingFound)});
        EXPECT_EQ(DialogWithCaption(kViewerCaption), nullptr);
        // A field naming no directory: the create error with the list's path.
        ::SetDlgItemTextW(dialog, IDC_INSTALL_DIR, shell::WideText(tree_.Path("gone")).c_str());
        ::SendMessageW(::GetDlgItem(dialog, IDC_SHOW), BM_CLICK, 0, 0);
        Click(dialog, IDOK);
    });
    EXPECT_EQ(main.dialog.DoModal(), IDOK);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(main.presenter.messages,
              (Strings{std::string(testing_support::kNothingFound),
                       testing_support::ListCreateError(tree_.Path("gone/version.lis"))}));
}

// Select takes the label's text, which starts as the field's with a separator unless it ends in
// one; the picker runs the classic dialog over template 1536 with exactly its flags.
TEST_F(MainDialogWin32, BrowseSelectTakesTheLabelsText) {
    tree_.MakeDir("komar/sub");
    Propose(tree_.Path("komar"));
    RecordedMainDialog main;
    HWND mainWindow = nullptr;
    std::string shown;
    DialogScript script;
    script
        .Then("the main dialog", ActiveMainDialog,
              [&](HWND dialog) {
                  mainWindow = dialog;
                  Click(dialog, IDC_BROWSE);
              })
        .Then("the picker", shell_test::Picker,
              [&](HWND picker) {
                  const shell::CSpecFileDialog* object = shell::CSpecFileDialog::FromHandle(picker);
                  ASSERT_NE(object, nullptr);
                  EXPECT_EQ(object->parameters.Flags, 0x00200064u);
                  EXPECT_EQ(object->parameters.lpTemplateName, MAKEINTRESOURCEW(1536));
                  EXPECT_EQ(object->parameters.hInstance, ::GetModuleHandleW(nullptr));
                  EXPECT_EQ(object->parameters.hwndOwner, mainWindow);
                  EXPECT_FALSE(::IsWindowEnabled(mainWindow));
                  EXPECT_EQ(Text(picker, stc1), tree_.Path("komar") + "\\");
                  // Help and Read only are hidden by the system.
                  EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(picker, pshHelp)));
                  EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(picker, chx1)));
                  // The picker opened in the field's directory: "sub" is in its list.
                  EXPECT_TRUE(platform::EqualsIgnoreAsciiCase(platform::CurrentDirectory(),
                                                              tree_.Path("komar")));
                  const HWND list = ::GetDlgItem(picker, lst2);
                  const LRESULT entry = ::SendMessageW(list, LB_FINDSTRING, static_cast<WPARAM>(-1),
                                                       reinterpret_cast<LPARAM>(L"[sub]"));
                  ASSERT_NE(entry, LB_ERR);
                  // Opening "sub" makes it current and puts its path into the label.
                  ::SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(entry), 0);
                  ::SendMessageW(picker, WM_COMMAND, MAKEWPARAM(lst2, LBN_DBLCLK),
                                 reinterpret_cast<LPARAM>(list));
                  shown = Text(picker, stc1);
                  EXPECT_TRUE(platform::EqualsIgnoreAsciiCase(shown, tree_.Path("komar/sub")))
                      << shown;
                  // Select takes the label's text, not the highlighted entry.
                  ::SendMessageW(list, LB_SETCURSEL, 0, 0);
                  Click(picker, IDOK);
              })
        .Then("the main dialog again", ActiveMainDialog, [&](HWND dialog) {
            EXPECT_EQ(Text(dialog, IDC_INSTALL_DIR), shown);
            EXPECT_EQ(::GetFocus(), ::GetDlgItem(dialog, IDC_BROWSE));
            Click(dialog, IDOK);
        });
    EXPECT_EQ(main.dialog.DoModal(), IDOK);
    EXPECT_TRUE(script.Finished());
    // The process stays where the picker last was.
    EXPECT_TRUE(
        platform::EqualsIgnoreAsciiCase(platform::CurrentDirectory(), tree_.Path("komar/sub")));
}

// The separator rule, Select at once and Cancel. A field ending in "ソ" (Shift-JIS 0x83 0x5C)
// gets its separator: the program holds the text as UTF-8, whose last byte is no backslash.
TEST_F(MainDialogWin32, BrowseAppendsOneSeparatorAndCancelKeepsTheField) {
    tree_.MakeDir("komar");
    Propose(tree_.Path("komar"));
    struct Case {
        std::string field;
        std::string label;
        bool select;
    };
    const std::vector<Case> cases = {
        {tree_.Path("komar"), tree_.Path("komar") + "\\", true},
        {tree_.Path("komar") + "\\", tree_.Path("komar") + "\\", true},
        {tree_.Path("\u30BD"), tree_.Path("\u30BD") + "\\", true},
        {"", "\\", true},
        {tree_.Path("gone"), tree_.Path("gone") + "\\", false},
    };
    RecordedMainDialog main;
    DialogScript script;
    for (const Case& c : cases) {
        script
            .Then("the main dialog for \"" + c.field + "\"", ActiveMainDialog,
                  [&](HWND dialog) {
                      ::SetDlgItemTextW(dialog, IDC_INSTALL_DIR, shell::WideText(c.field).c_str());
                      Click(dialog, IDC_BROWSE);
                  })
            .Then("the picker for \"" + c.field + "\"", shell_test::Picker,
                  [&](HWND picker) {
                      EXPECT_EQ(Text(picker, stc1), c.label);
                      Click(picker, c.select ? IDOK : IDCANCEL);
                  })
            .Then("the field after \"" + c.field + "\"", ActiveMainDialog, [&](HWND dialog) {
                EXPECT_EQ(Text(dialog, IDC_INSTALL_DIR), c.select ? c.label : c.field);
            });
    }
    // Esc: the main dialog has no Cancel button of its own.
    script.Then("the end", ActiveMainDialog, [](HWND dialog) { shell_test::Cancel(dialog); });
    EXPECT_EQ(main.dialog.DoModal(), IDCANCEL);
    EXPECT_TRUE(script.Finished());
}

TEST_F(MainDialogWin32, SystemMenuCommandsOfTheAboutItemOpenTheAboutBox) {
    Propose(tree_.Path("suite"));
    RecordedMainDialog main;
    HWND mainWindow = nullptr;
    const auto about = [] { return DialogWithCaption(kAboutCaption); };
    DialogScript script;
    script
        .Then("the main dialog", ActiveMainDialog,
              [&](HWND dialog) {
                  mainWindow = dialog;
                  ::PostMessageW(dialog, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
              })
        .Then(
            "the About box", about,
            [&](HWND box) {
                EXPECT_FALSE(::IsWindowEnabled(mainWindow));
                RECT over{};
                ::GetWindowRect(mainWindow, &over);
                EXPECT_TRUE(shell_test::CentredOver(box, over));
                EXPECT_EQ(::GetFocus(), ::GetDlgItem(box, IDOK));
                std::vector<std::string> texts;
                for (HWND child = ::GetWindow(box, GW_CHILD); child != nullptr;
                     child = ::GetWindow(child, GW_HWNDNEXT)) {
                    texts.push_back(shell::WindowText(child));
                }
                EXPECT_NE(std::find(texts.begin(), texts.end(), "pelkor Version 1.1"), texts.end());
                EXPECT_NE(
                    std::find(texts.begin(), texts.end(), "Copyright (C) 2026 The PELKOR authors"),
                    texts.end());
                Click(box, IDOK);
            })
        .Then("the main dialog again", ActiveMainDialog,
              [](HWND dialog) { ::PostMessageW(dialog, WM_SYSCOMMAND, IDM_ABOUTBOX + 0xF, 0); })
        // Esc: the About box has no Cancel button of its own.
        .Then("the About box again", about, [](HWND box) { shell_test::Cancel(box); })
        .Then("the end", ActiveMainDialog, [](HWND dialog) { Click(dialog, IDOK); });
    EXPECT_EQ(main.dialog.DoModal(), IDOK);
    EXPECT_TRUE(script.Finished());
}

// F1 opens the help page at the topic of the dialog in front; Shift+F1 does nothing.
TEST_F(MainDialogWin32, F1OpensTheHelpPageAtTheDialogsTopic) {
    Propose(tree_.Path("suite"));
    RecordedMainDialog main;
    const std::string page = shell::FileUrl(shell::InstalledHelpFile());
    DialogScript script;
    script
        .Then("the main dialog", ActiveMainDialog,
              [](HWND) {
                  shell_test::PressKey(VK_F1, true);
                  shell_test::PressKey(VK_F1);
              })
        .Then(
            "the main dialog's help",
            [&] { return main.browser.urls.empty() ? nullptr : MainDialog(); },
            [](HWND dialog) { ::PostMessageW(dialog, WM_SYSCOMMAND, IDM_ABOUTBOX, 0); })
        .Then(
            "the About box, active",
            [] {
                const HWND box = DialogWithCaption(kAboutCaption);
                return box != nullptr && ::GetActiveWindow() == box ? box : nullptr;
            },
            [&](HWND box) {
                EXPECT_EQ(main.browser.urls, Strings{page + "#main-dialog"});
                EXPECT_EQ(::GetFocus(), ::GetDlgItem(box, IDOK));
                shell_test::PressKey(VK_F1);
            })
        .Then(
            "the About box's help",
            [&] {
                return main.browser.urls.size() < 2 ? nullptr : DialogWithCaption(kAboutCaption);
            },
            [](HWND box) { Click(box, IDOK); })
        .Then("the end", ActiveMainDialog, [](HWND dialog) { Click(dialog, IDOK); });
    EXPECT_EQ(main.dialog.DoModal(), IDOK);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(main.browser.urls, (Strings{page + "#main-dialog", page + "#about-box"}));
    EXPECT_TRUE(main.presenter.messages.empty());
}

// The switch writes the list and starts the editor on it while the dialog is initialised; the
// process is then told to end with 0, and the dialog never shows.
TEST_F(MainDialogWin32, BatchModeWritesTheListStartsTheEditorAndEndsUnseen) {
    tree_.WriteFile("KOMA R/bin/kplr.exe", testing_support::ToolImage({"XKPL-R V2.10"}));
    Propose(tree_.Path("KOMA R"));
    RecordedMainDialog main("-maruhi anything");
    shell_test::LastExit() = {};
    EXPECT_EQ(main.dialog.DoModal(), IDOK);
    EXPECT_EQ(shell_test::LastExit().calls, 1);
    EXPECT_EQ(shell_test::LastExit().code, 0u);
    EXPECT_FALSE(shell_test::LastExit().dialogVisible);
    EXPECT_TRUE(main.dialog.BatchMode());
    EXPECT_EQ(main.editor.paths, Strings{tree_.Path("KOMA R/version.lis")});
    EXPECT_TRUE(main.presenter.messages.empty());
    EXPECT_EQ(
        tree_.ReadFile("KOMA R/version.lis").substr(0, testing_support::ExpectedBanner().size()),
        testing_support::ExpectedBanner());
}

TEST_F(MainDialogWin32, BatchModeWithNothingFoundShowsTheMessageAndNoEditor) {
    tree_.MakeDir("empty");
    Propose(tree_.Path("empty"));
    RecordedMainDialog main("-maruhi");
    shell_test::LastExit() = {};
    EXPECT_EQ(main.dialog.DoModal(), IDOK);
    EXPECT_EQ(shell_test::LastExit().calls, 1);
    EXPECT_EQ(main.presenter.messages, Strings{std::string(testing_support::kNothingFound)});
    EXPECT_TRUE(main.editor.paths.empty());
}

}  // namespace
