// The standard streams on POSIX: a terminal takes UTF-8 as it is.
#include "platform/console.hpp"

#include <unistd.h>

#include <cstdio>

namespace platform {
namespace {

std::FILE* StreamOf(StandardStream stream) {
    return stream == StandardStream::kOutput ? stdout : stderr;
}

}  // namespace

bool IsTerminal(StandardStream stream) {
    return ::isatty(::fileno(StreamOf(stream))) == 1;
}

bool WriteText(StandardStream stream, std::string_view utf8) {
    std::FILE* file = StreamOf(stream);
    return std::fwrite(utf8.data(), 1, utf8.size(), file) == utf8.size() && std::fflush(file) == 0;
}

}  // namespace platform
