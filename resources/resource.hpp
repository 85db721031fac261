// Resource numbers of the program's dialogs, controls, icon and string table.
#pragma once

#include <string_view>

namespace resources {

// Dialog templates (resources/qt/*.ui for the Qt program).
inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDD_MAIN = 102;
inline constexpr int IDD_LISTVIEW = 129;

// The program icon (resources/icons/pelkor.svg).
inline constexpr int IDR_MAINFRAME = 128;

// Controls.
inline constexpr int IDC_BROWSE = 1000;
inline constexpr int IDC_SHOW = 1001;
inline constexpr int IDC_INSTALL_DIR = 1002;
inline constexpr int IDC_LIST_TEXT = 1003;

// Commands.
inline constexpr int IDM_ABOUTBOX = 0x10;

// String table.
inline constexpr int IDS_ABOUTBOX = 101;
inline constexpr std::string_view kStringAboutBox = "ﾊﾞｰｼﾞｮﾝ情報(pelkor) (&A)...";

// The text of string id (UTF-8); empty for a number the table does not hold.
constexpr std::string_view LoadString(int id) {
    return id == IDS_ABOUTBOX ? kStringAboutBox : std::string_view();
}

// The program's resource file, resources/pelkor.qrc, and the icon's path in it.
inline constexpr std::string_view kIconPath = ":/icons/pelkor.svg";

}  // namespace resources
