// What a window manager is told about a dialog beyond what Qt's window flags say.
#pragma once

class QWidget;

namespace shell {

// Asks the window manager for a dialog with a caption and a close box only: no minimize or
// maximize box and no resizing. Qt's flags alone still let an X window manager fall back to a
// normal window (_NET_WM_WINDOW_TYPE_NORMAL) and allow resizing in the motif hints, and some
// window managers then draw minimize and maximize boxes. Call once the window exists and
// before it is mapped; elsewhere than on X it does nothing.
void AskForCloseBoxOnly(QWidget& dialog);

}  // namespace shell
