// Text from the suite's files and names made safe for a terminal: nothing in a file name or a
// marker can move the cursor, change colours or retitle the window.
#pragma once

#include <string>
#include <string_view>

namespace cli {

// The UTF-8 text with every control character but TAB and LF written as an escape: C0 bytes
// and DEL as \xNN, C1 characters (U+0080 to U+009F) as \uNNNN. Everything else is kept.
std::string EscapeControls(std::string_view utf8);

// One message as a single stderr line: trailing line feeds and blanks dropped, a line feed
// inside shown as \n, every other control character escaped as EscapeControls does.
std::string MessageLine(std::string_view program, std::string_view message);

}  // namespace cli
