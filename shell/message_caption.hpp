// The caption of every message box the desktop programs show.
#pragma once

#include <string>
#include <string_view>

namespace shell {

// The executable's file name without its extension; the application is named after it.
std::string MessageCaption(std::string_view executablePath);

}  // namespace shell
