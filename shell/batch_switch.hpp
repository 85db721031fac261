// The command-line arguments text and the batch switch "-maruhi" found in it.
#pragma once

#include <string>
#include <string_view>

namespace shell {

inline constexpr std::string_view kBatchSwitch = "-maruhi";

// The arguments text: argv[1..] joined by single blanks, less the characters of code 0x01 to
// 0x20 that lead it. Taken before Qt removes its own options from argv.
std::string ArgumentsText(int argc, const char* const* argv);

// The arguments text of a whole command line as the system hands it to a program (Windows'
// GetCommandLine): the command line less the program name and less the characters of code
// 0x01 to 0x20 that follow it. A program name that begins with a double quotation mark runs to
// the next one, that mark included; any other runs up to the first character of code 0x20 or
// below. No other quoting is undone: the batch switch test sees the words as typed.
std::string ArgumentsFromCommandLine(std::string_view commandLine);

// True when the first word of the arguments text, which ends at the first blank (0x20) only,
// is the batch switch, byte for byte.
bool IsBatchSwitch(std::string_view argumentsText);

}  // namespace shell
