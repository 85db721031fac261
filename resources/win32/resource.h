// Resource numbers of the Windows program's dialogs, controls, icon, command and string, shared
// by the resource script and the code over it.
#pragma once

// Dialog templates.
#define IDD_ABOUTBOX 100
#define IDD_MAIN 102
#define IDD_LISTVIEW 129
#define IDD_DIRPICK 1536

// The program icon (rendered from resources/icons/pelkor.svg by the build).
#define IDR_MAINFRAME 128

// Controls.
#define IDC_BROWSE 1000
#define IDC_SHOW 1001
#define IDC_INSTALL_DIR 1002
#define IDC_LIST_TEXT 1003
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// The About item of the system menu.
#define IDM_ABOUTBOX 0x0010

// String table.
#define IDS_ABOUTBOX 101
