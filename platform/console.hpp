// Text for a person on the standard streams.
#pragma once

#include <string_view>

namespace platform {

enum class StandardStream { kOutput, kError };

// True when the stream is a terminal (on Windows, a console).
bool IsTerminal(StandardStream stream);

// Writes UTF-8 text to the stream and flushes it: to a Windows console as UTF-16, so Japanese
// shows whatever the console's code page; everywhere else the bytes as they are. False when
// not all of it could be written.
bool WriteText(StandardStream stream, std::string_view utf8);

}  // namespace platform
