// The caption of every message box the desktop programs show.
#include "shell/message_caption.hpp"

#include <filesystem>

namespace shell {

std::string MessageCaption(std::string_view executablePath) {
    return std::filesystem::path(executablePath).stem().string();
}

}  // namespace shell
