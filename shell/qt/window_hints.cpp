// What a window manager is told about a dialog beyond what Qt's window flags say.
#include "shell/qt/window_hints.hpp"

#include <QGuiApplication>
#include <QWidget>

#ifdef PELKOR_WITH_XCB
#include <xcb/xcb.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#endif

namespace shell {

#ifdef PELKOR_WITH_XCB
namespace {

// The motif hints: which of functions and decorations are given, then the two sets.
constexpr std::uint32_t kHintsFunctions = 1;
constexpr std::uint32_t kHintsDecorations = 2;
constexpr std::uint32_t kFunctionMove = 0x04;
constexpr std::uint32_t kFunctionClose = 0x20;
constexpr std::uint32_t kDecorationBorder = 0x02;
constexpr std::uint32_t kDecorationTitle = 0x08;
constexpr std::uint32_t kDecorationMenu = 0x10;

xcb_atom_t InternAtom(xcb_connection_t* connection, const char* name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection,
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
        nullptr);
    const xcb_atom_t atom = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
}

}  // namespace

void AskForCloseBoxOnly(QWidget& dialog) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->connection() == nullptr) {
        return;
    }
    xcb_connection_t* connection = x11->connection();
    const auto window = static_cast<xcb_window_t>(dialog.winId());
    const xcb_atom_t type = InternAtom(connection, "_NET_WM_WINDOW_TYPE");
    const xcb_atom_t dialogType = InternAtom(connection, "_NET_WM_WINDOW_TYPE_DIALOG");
    const xcb_atom_t motif = InternAtom(connection, "_MOTIF_WM_HINTS");
    if (type == XCB_ATOM_NONE || dialogType == XCB_ATOM_NONE || motif == XCB_ATOM_NONE) {
        return;
    }
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, type, XCB_ATOM_ATOM, 32, 1,
                        &dialogType);
    const std::array<std::uint32_t, 5> hints = {
        kHintsFunctions | kHintsDecorations, kFunctionMove | kFunctionClose,
        kDecorationBorder | kDecorationTitle | kDecorationMenu, 0, 0};
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, motif, motif, 32,
                        static_cast<std::uint32_t>(hints.size()), hints.data());
    xcb_flush(connection);
}

#else

void AskForCloseBoxOnly(QWidget&) {}

#endif

}  // namespace shell
