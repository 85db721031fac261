// The Windows program's resources as they stand in its module (the dialog templates control by
// control, the string, the version resource), its message boxes, the viewer on its own, and
// help's browser command.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/dir_search.hpp"
#include "platform/win32/wide.hpp"
#include "resources/win32/resource.h"
#include "shell/win32/dialog_script.hpp"
#include "shell/win32/help.hpp"
#include "shell/win32/list_viewer.hpp"
#include "shell/win32/message_box_presenter.hpp"
#include "shell/win32/shell_win32_test_support.hpp"
#include "support/temp_tree.hpp"

namespace {

using shell_test::DialogScript;
using testing_support::RecordingPresenter;
using testing_support::TempTree;
using Strings = std::vector<std::string>;

// A dialog template or one of its controls, as the test reads it from the module.
struct Item {
    int id = 0;  // the dialog itself: 0
    std::string windowClass;
    std::string text;
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    bool operator==(const Item&) const = default;
    friend void PrintTo(const Item& item, std::ostream* os) {
        *os << "{" << item.id << " " << item.windowClass << " \"" << item.text << "\" style 0x"
            << std::hex << item.style << " ex 0x" << item.exStyle << std::dec << " " << item.x
            << "," << item.y << "," << item.cx << "," << item.cy << "}";
    }
};

struct Template {
    bool extended = false;
    Item dialog;
    int pointSize = 0;
    std::string typeface;
    int weight = 0;
    int charset = -1;
    std::vector<Item> controls;
};

// Reads a classic or extended dialog template word by word.
class TemplateReader {
public:
    explicit TemplateReader(const BYTE* data) : data_(data) {}

    Template Read() {
        Template t;
        t.extended = Word(2) == 0xFFFF && Word(0) == 1;
        if (t.extended) {
            Skip(4);
            Skip(4);  // help id
            t.dialog.exStyle = Dword();
            t.dialog.style = Dword();
        } else {
            t.dialog.style = Dword();
            t.dialog.exStyle = Dword();
        }
        const int count = NextWord();
        t.dialog.x = static_cast<short>(NextWord());
        t.dialog.y = static_cast<short>(NextWord());
        t.dialog.cx = static_cast<short>(NextWord());
        t.dialog.cy = static_cast<short>(NextWord());
        SizedOrOrdinal();  // menu
        SizedOrOrdinal();  // class
        t.dialog.text = String();
        if (t.dialog.style & DS_SETFONT) {
            t.pointSize = NextWord();
            if (t.extended) {
                t.weight = NextWord();
                Skip(1);  // italic
                t.charset = data_[offset_];
                Skip(1);
            }
            t.typeface = String();
        }
        for (int i = 0; i < count; ++i) {
            offset_ = (offset_ + 3) & ~std::size_t{3};
            Item item;
            if (t.extended) {
                Skip(4);  // help id
                item.exStyle = Dword();
                item.style = Dword();
            } else {
                item.style = Dword();
                item.exStyle = Dword();
            }
            item.x = static_cast<short>(NextWord());
            item.y = static_cast<short>(NextWord());
            item.cx = static_cast<short>(NextWord());
            item.cy = static_cast<short>(NextWord());
            item.id = t.extended ? static_cast<int>(Dword()) : static_cast<short>(NextWord());
            item.windowClass = ClassName(SizedOrOrdinal());
            item.text = SizedOrOrdinal();
            Skip(2 + NextWordAt(offset_ - 0));  // creation data
            t.controls.push_back(item);
        }
        return t;
    }

private:
    WORD Word(std::size_t at) const {
        WORD w;
        std::memcpy(&w, data_ + at, 2);
        return w;
    }
    WORD NextWordAt(std::size_t at) const { return Word(at); }
    WORD NextWord() {
        const WORD w = Word(offset_);
        offset_ += 2;
        return w;
    }
    DWORD Dword() {
        DWORD d;
        std::memcpy(&d, data_ + offset_, 4);
        offset_ += 4;
        return d;
    }
    void Skip(std::size_t n) { offset_ += n; }
    std::string String() {
        std::wstring text;
        for (WORD c; (c = NextWord()) != 0;) {
            text.push_back(static_cast<wchar_t>(c));
        }
        return platform::win32::Narrow(text);
    }
    // A string, or "#n" for an ordinal.
    std::string SizedOrOrdinal() {
        if (Word(offset_) == 0xFFFF) {
            offset_ += 2;
            return "#" + std::to_string(NextWord());
        }
        return String();
    }
    static std::string ClassName(const std::string& name) {
        static const std::pair<const char*, const char*> kAtoms[] = {{"#128", "Button"},
                                                                     {"#129", "Edit"},
                                                                     {"#130", "Static"},
                                                                     {"#131", "ListBox"},
                                                                     {"#133", "ComboBox"}};
        // Stored as an atom or by name, in any letter case.
        for (const auto& [atom, className] : kAtoms) {
            if (name == atom || platform::EqualsIgnoreAsciiCase(name, className)) {
                return className;
            }
        }
        return name;
    }

    const BYTE* data_;
    std::size_t offset_ = 0;
};

Template LoadTemplate(int number) {
    const HMODULE module = ::GetModuleHandleW(nullptr);
    const HRSRC found =
        ::FindResourceW(module, MAKEINTRESOURCEW(number), MAKEINTRESOURCEW(5));  // RT_DIALOG
    if (found == nullptr) {
        ADD_FAILURE() << "no template " << number;
        return {};
    }
    return TemplateReader(static_cast<const BYTE*>(::LockResource(::LoadResource(module, found))))
        .Read();
}

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
const std::string kFont = "ＭＳ Ｐゴシック";

TEST(TemplatesWin32, MainDialogIsTheExtendedTemplate102) {
    const Template t = LoadTemplate(IDD_MAIN);
    EXPECT_TRUE(t.extended);
    EXPECT_EQ(t.dialog,
              (Item{0, "", "KOMA-R ﾊﾞｰｼﾞｮﾝ表示",
                    DS_MODALFRAME | WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_SETFONT,
                    WS_EX_APPWINDOW, 0, 0, 185, 92}));
    EXPECT_EQ(t.pointSize, 9);
    EXPECT_EQ(t.typeface, kFont);
    EXPECT_EQ(t.weight, 400);
    EXPECT_EQ(t.charset, DEFAULT_CHARSET);
    EXPECT_EQ(
        t.controls,
        (std::vector<Item>{
            {IDOK, "Button", "終了", kChild | BS_DEFPUSHBUTTON, 0, 69, 63, 35, 14},
            {IDC_STATIC, "Static", "KOMA-R ｲﾝｽﾄｰﾙﾃﾞｨﾚｸﾄﾘ", kChild | SS_LEFT | WS_GROUP, 0, 15, 6,
             113, 8},
            {IDC_BROWSE, "Button", "参照", kChild | BS_PUSHBUTTON | WS_TABSTOP, 0, 130, 13, 34, 14},
            {IDC_SHOW, "Button", "表示", kChild | BS_PUSHBUTTON | WS_TABSTOP, 0, 131, 39, 34, 14},
            {IDC_INSTALL_DIR, "Edit", "", kChild | ES_LEFT | ES_AUTOHSCROLL | WS_BORDER, 0, 13, 15,
             107, 15},
            {IDC_STATIC, "Static", "KOMA-Rｲﾝｽﾄｰﾙﾃﾞｨﾚｸﾄﾘを確認し表示ﾎﾞﾀﾝをｸﾘｯｸしてください。",
             kChild | SS_LEFT | WS_GROUP, 0, 15, 37, 102, 21},
        }));
}

TEST(TemplatesWin32, AboutBoxIsTemplate100) {
    const Template t = LoadTemplate(IDD_ABOUTBOX);
    EXPECT_FALSE(t.extended);
    EXPECT_EQ(t.dialog, (Item{0, "", "ﾊﾞｰｼﾞｮﾝ情報 pelkor",
                              DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT, 0, 0,
                              0, 217, 55}));
    EXPECT_EQ(t.pointSize, 9);
    EXPECT_EQ(t.typeface, kFont);
    EXPECT_EQ(t.controls,
              (std::vector<Item>{
                  {IDC_STATIC, "Static", "#128", kChild | SS_ICON, 0, 11, 17, 0, 0},
                  {IDC_STATIC, "Static", "pelkor Version 1.1", kChild | SS_LEFT | WS_GROUP, 0, 39,
                   15, 119, 8},
                  {IDC_STATIC, "Static", "Copyright (C) 2026 The PELKOR authors",
                   kChild | SS_LEFT | WS_GROUP, 0, 37, 29, 152, 8},
                  {IDOK, "Button", "OK", kChild | BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 0, 178,
                   7, 32, 14},
              }));
}

TEST(TemplatesWin32, ViewerIsTemplate129) {
    const Template t = LoadTemplate(IDD_LISTVIEW);
    EXPECT_FALSE(t.extended);
    EXPECT_EQ(t.dialog, (Item{0, "", "ﾊﾞｰｼﾞｮﾝ表示",
                              WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, 0, 0,
                              0, 255, 275}));
    EXPECT_EQ(t.pointSize, 9);
    EXPECT_EQ(t.typeface, kFont);
    EXPECT_EQ(
        t.controls,
        (std::vector<Item>{
            {IDOK, "Button", "閉じる", kChild | BS_DEFPUSHBUTTON | WS_TABSTOP, 0, 195, 238, 41, 14},
            {IDC_LIST_TEXT, "Edit", "",
             kChild | ES_MULTILINE | ES_READONLY | ES_WANTRETURN | ES_AUTOHSCROLL | WS_BORDER |
                 WS_VSCROLL | WS_TABSTOP,
             0, 15, 24, 222, 204},
            {IDC_STATIC, "Static",
             "KOMA-R ｲﾝｽﾄｰﾙﾃﾞｨﾚｸﾄﾘ内に \"Version.lis\" ﾌｧｲﾙを作成しました。"
             "お問い合わせに際のFAXまたはEmailに一緒に添付して下さい。",
             kChild | SS_LEFT | WS_GROUP, 0, 16, 237, 169, 23},
            {IDC_STATIC, "Static", "ＫＯＭＡ－Ｒシリーズ", kChild | SS_LEFT | WS_GROUP, 0, 14, 13,
             138, 11},
        }));
}

TEST(TemplatesWin32, PickerIsTemplate1536WithTheFileDialogsControlNumbers) {
    const Template t = LoadTemplate(IDD_DIRPICK);
    EXPECT_FALSE(t.extended);
    EXPECT_EQ(t.dialog,
              (Item{0, "", "ﾃﾞｨﾚｸﾄﾘの選択",
                    WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_3DLOOK, 0,
                    36, 24, 209, 177}));
    EXPECT_EQ(t.pointSize, 9);
    EXPECT_EQ(t.typeface, kFont);
    const DWORD group = kChild | SS_LEFT | WS_GROUP;
    EXPECT_EQ(t.controls,
              (std::vector<Item>{
                  {IDC_STATIC, "Static", "ﾃﾞｨﾚｸﾄﾘ:", group, 0, 9, 8, 28, 9},
                  {1121, "ListBox", "",
                   kChild | LBS_NOTIFY | LBS_SORT | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS |
                       LBS_DISABLENOSCROLL | WS_BORDER | WS_VSCROLL | WS_TABSTOP,
                   0, 8, 43, 132, 94},
                  {1091, "Static", "ﾄﾞﾗｲﾌﾞ:", group, 0, 8, 143, 26, 9},
                  {1137, "ComboBox", "",
                   kChild | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | CBS_SORT |
                       CBS_AUTOHSCROLL | WS_BORDER | WS_VSCROLL | WS_TABSTOP,
                   0, 8, 153, 132, 68},
                  {IDCANCEL, "Button", "ｷｬﾝｾﾙ", kChild | BS_PUSHBUTTON | WS_GROUP | WS_TABSTOP, 0,
                   150, 27, 50, 14},
                  {1038, "Button", "&Help", kChild | BS_PUSHBUTTON | WS_GROUP | WS_TABSTOP, 0, 150,
                   45, 50, 14},
                  {1040, "Button", "&Read only", kChild | BS_AUTOCHECKBOX | WS_GROUP | WS_TABSTOP,
                   0, 150, 73, 50, 12},
                  {IDOK, "Button", "選択", kChild | BS_PUSHBUTTON | WS_TABSTOP, 0, 150, 7, 50, 14},
                  {1120, "Static", "", group, 0, 44, 131, 18, 8},
                  {1136, "Static", "", group, 0, 66, 136, 18, 8},
                  {1152, "Static", "", group, 0, 100, 134, 18, 8},
                  {1088, "Static", "", group, 0, 9, 21, 132, 11},
              }));
}

TEST(ResourcesWin32, StringAndIcon) {
    wchar_t* text = nullptr;
    const int length = ::LoadStringW(::GetModuleHandleW(nullptr), IDS_ABOUTBOX,
                                     reinterpret_cast<wchar_t*>(&text), 0);
    EXPECT_EQ(platform::win32::Narrow(std::wstring(text, static_cast<std::size_t>(length))),
              "ﾊﾞｰｼﾞｮﾝ情報(pelkor) (&A)...");
    // One image, 32 by 32 pixels in 16 colours.
    const HMODULE module = ::GetModuleHandleW(nullptr);
    const HRSRC group = ::FindResourceW(module, MAKEINTRESOURCEW(IDR_MAINFRAME),
                                        MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
    ASSERT_NE(group, nullptr);
    const auto* directory = static_cast<const BYTE*>(::LockResource(::LoadResource(module, group)));
    WORD count = 0;
    std::memcpy(&count, directory + 4, 2);
    ASSERT_EQ(count, 1);
    const BYTE* entry = directory + 6;  // width, height, colours, reserved, planes, bit count
    WORD bits = 0;
    std::memcpy(&bits, entry + 6, 2);
    EXPECT_EQ(entry[0], 32);
    EXPECT_EQ(entry[1], 32);
    EXPECT_EQ(entry[2], 16);
    EXPECT_EQ(bits, 4);
}

// The version resource of pelkor.exe itself, the file a user gets.
TEST(ResourcesWin32, VersionOfThePrograms) {
    const std::wstring exe = shell::WideText(PELKOR_EXE);
    DWORD handle = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(exe.c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> data(size);
    ASSERT_TRUE(::GetFileVersionInfoW(exe.c_str(), 0, size, data.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00000002u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00000002u);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
    EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS__WINDOWS32));
    EXPECT_EQ(fixed->dwFileFlags & fixed->dwFileFlagsMask, 0u);
    WORD* translation = nullptr;
    ASSERT_TRUE(::VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation",
                                 reinterpret_cast<void**>(&translation), &length));
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(translation[0], 0x0411);
    EXPECT_EQ(translation[1], 0x04B0);
    const std::pair<const wchar_t*, std::string> kStrings[] = {
        {L"CompanyName", ""},
        {L"FileDescription", "PELKOR ｱﾌﾟﾘｹｰｼｮﾝ"},
        {L"FileVersion", "1.2"},
        {L"InternalName", "PELKOR"},
        {L"LegalCopyright", "Copyright (C) 2026 The PELKOR authors"},
        {L"OriginalFilename", "PELKOR.EXE"},
        {L"ProductName", "PELKOR ｱﾌﾟﾘｹｰｼｮﾝ"},
        {L"ProductVersion", "1.2"},
    };
    for (const auto& [name, value] : kStrings) {
        wchar_t* text = nullptr;
        const std::wstring key = std::wstring(L"\\StringFileInfo\\041104B0\\") + name;
        ASSERT_TRUE(
            ::VerQueryValueW(data.data(), key.c_str(), reinterpret_cast<void**>(&text), &length))
            << platform::win32::Narrow(name);
        EXPECT_EQ(platform::win32::Narrow(std::wstring(text, length > 0 ? length - 1 : 0)), value)
            << platform::win32::Narrow(name);
    }
}

class DisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!::GetEnvironmentVariableW(L"DISPLAY", nullptr, 0)) {
            GTEST_SKIP() << "no display: run in a Wine session with PELKOR_WINE_DISPLAY";
        }
    }
};

using MessageBoxWin32 = DisplayTest;

// A warning box with OK only, captioned with the running program's name.
TEST_F(MessageBoxWin32, IsAWarningWithOkOnlyCaptionedWithTheProgramsName) {
    const std::string text = "List File[C:\\KOMA R\\version.lis] Create Error\n";
    DialogScript script;
    script.Then("the message box", shell_test::MessageBoxWindow, [&](HWND box) {
        Strings texts;
        bool icon = false;
        for (HWND child = ::GetWindow(box, GW_CHILD); child != nullptr;
             child = ::GetWindow(child, GW_HWNDNEXT)) {
            texts.push_back(shell::WindowText(child));
            icon = icon || (::GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
        }
        EXPECT_NE(std::find(texts.begin(), texts.end(), text), texts.end())
            << testing::PrintToString(texts);
        EXPECT_TRUE(icon);
        EXPECT_NE(::GetDlgItem(box, IDOK), nullptr);
        EXPECT_EQ(::GetDlgItem(box, IDCANCEL), nullptr);
        shell_test::Click(box, IDOK);
    });
    shell::MessageBoxPresenter presenter;
    presenter.ShowMessage(text);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(shell::ProgramCaption(), "pelkor_win32_shell_test");
}

using ViewerWin32 = DisplayTest;

// Text mode: CR CR LF is one break, Ctrl-Z ends the text; a long line stays one line.
TEST_F(ViewerWin32, ShowsTheFileAsTextModeReadsIt) {
    TempTree tree;
    const std::string longLine(300, 'x');
    tree.WriteFile("version.lis", "A\r\r\n" + longLine +
                                      "\r\r\nB\x1a"
                                      "C\r\r\n");
    RecordingPresenter presenter;
    shell::CListViewDlg viewer(nullptr, tree.Path("version.lis"), presenter,
                               platform::SystemFileSystem());
    DialogScript script;
    script.Then(
        "the viewer", [] { return shell_test::DialogWithCaption("ﾊﾞｰｼﾞｮﾝ表示"); },
        [&](HWND dialog) {
            EXPECT_EQ(shell_test::Text(dialog, IDC_LIST_TEXT), "A\r\n" + longLine + "\r\nB");
            // Enter in the field does not close the viewer.
            ::SetFocus(::GetDlgItem(dialog, IDC_LIST_TEXT));
            ::SendMessageW(::GetDlgItem(dialog, IDC_LIST_TEXT), WM_KEYDOWN, VK_RETURN, 0);
            EXPECT_TRUE(::IsWindowVisible(dialog));
            shell_test::Cancel(dialog);
        });
    EXPECT_EQ(viewer.DoModal(), IDCANCEL);
    EXPECT_TRUE(script.Finished());
    EXPECT_TRUE(presenter.messages.empty());
}

TEST_F(ViewerWin32, AListThatCannotBeReadIsReportedAndLeavesTheFieldEmpty) {
    TempTree tree;
    RecordingPresenter presenter;
    shell::CListViewDlg viewer(nullptr, tree.Path("gone/version.lis"), presenter,
                               platform::SystemFileSystem());
    DialogScript script;
    script.Then(
        "the viewer", [] { return shell_test::DialogWithCaption("ﾊﾞｰｼﾞｮﾝ表示"); },
        [&](HWND dialog) {
            EXPECT_EQ(presenter.messages,
                      Strings{"temp file[" + tree.Path("gone/version.lis") + "] Open Error\n"});
            EXPECT_EQ(shell_test::Text(dialog, IDC_LIST_TEXT), "");
            EXPECT_EQ(::GetFocus(), ::GetDlgItem(dialog, IDOK));
            shell_test::Click(dialog, IDOK);
        });
    EXPECT_EQ(viewer.DoModal(), IDOK);
    EXPECT_TRUE(script.Finished());
}

struct CommandCase {
    const char* name;
    std::wstring registered;
    std::wstring line;
    friend void PrintTo(const CommandCase& c, std::ostream* os) { *os << c.name; }
};

class BrowserCommandLineTest : public ::testing::TestWithParam<CommandCase> {};

TEST_P(BrowserCommandLineTest, PutsTheUrlWhereTheRegisteredCommandWantsIt) {
    EXPECT_EQ(shell::BrowserCommandLine(GetParam().registered, L"file:///C:/p.html#about-box"),
              GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BrowserCommandLineTest,
    ::testing::Values(
        CommandCase{"Quoted", L"\"C:\\b\\firefox.exe\" -osint -url \"%1\"",
                    L"\"C:\\b\\firefox.exe\" -osint -url \"file:///C:/p.html#about-box\""},
        CommandCase{"Bare", L"\"C:\\b\\msedge.exe\" --single-argument %1",
                    L"\"C:\\b\\msedge.exe\" --single-argument file:///C:/p.html#about-box"},
        CommandCase{"LongName", L"b.exe \"%L\"", L"b.exe \"file:///C:/p.html#about-box\""},
        CommandCase{"NoPlace", L"\"C:\\b\\b.exe\"",
                    L"\"C:\\b\\b.exe\" \"file:///C:/p.html#about-box\""},
        CommandCase{"OtherArguments", L"b.exe %1 %* %2 100%%",
                    L"b.exe file:///C:/p.html#about-box   100%"}),
    [](const auto& info) { return std::string(info.param.name); });

class FailingBrowser final : public shell::HelpBrowser {
public:
    bool OpenPage(const std::string&, const std::string&) override { return false; }
};

TEST(HelpWin32, AMissingPageOrNoBrowserIsReported) {
    TempTree tree;
    tree.WriteFile("pelkor.html", "<html></html>");
    RecordingPresenter presenter;
    shell_test::RecordingBrowser browser;
    FailingBrowser failing;
    EXPECT_FALSE(shell::Help(tree.Path("gone.html"), browser, presenter).Open(0x20000 + 102));
    EXPECT_FALSE(shell::Help(tree.Path("pelkor.html"), failing, presenter).Open(0x20000 + 102));
    EXPECT_TRUE(shell::Help(tree.Path("pelkor.html"), browser, presenter).Open(0x20000 + 100));
    EXPECT_EQ(presenter.messages,
              (Strings{"ﾍﾙﾌﾟの起動に失敗しました。", "ﾍﾙﾌﾟの起動に失敗しました。"}));
    EXPECT_EQ(browser.urls, Strings{shell::FileUrl(tree.Path("pelkor.html")) + "#about-box"});
}

// The help page the build puts beside the programs, where the program looks for it.
TEST(HelpWin32, ThePageIsBesideTheProgram) {
    const std::string file = shell::InstalledHelpFile();
    EXPECT_EQ(file.substr(file.size() - std::strlen("\\pelkor.html")), "\\pelkor.html");
    EXPECT_TRUE(platform::IsRegularFile(file)) << file;
}

}  // namespace
