// The help page's topics and its address.
#include "shell/help_topic.hpp"

#include "platform/paths.hpp"
#include "resources/resource.hpp"

namespace shell {
namespace {

bool IsUnreserved(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

bool IsDriveLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

std::string_view HelpTopicAnchor(int topic) {
    switch (topic - kHelpTopicBase) {
        case resources::IDD_MAIN:
            return "main-dialog";
        case resources::IDD_ABOUTBOX:
            return "about-box";
        default:
            return {};
    }
}

std::string FileUrl(std::string_view absolutePath) {
    std::string url = "file://";
    std::size_t i = 0;
    const bool share = absolutePath.size() >= 2 && platform::IsPathSeparator(absolutePath[0]) &&
                       platform::IsPathSeparator(absolutePath[1]);
    if (share) {
        i = 2;  // the server becomes the URL's host
    } else if (absolutePath.size() >= 2 && IsDriveLetter(absolutePath[0]) &&
               absolutePath[1] == ':') {
        url += '/';
        url += absolutePath.substr(0, 2);
        i = 2;
    }
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (; i < absolutePath.size(); ++i) {
        const char c = absolutePath[i];
        if (platform::IsPathSeparator(c)) {
            url += '/';
        } else if (IsUnreserved(c)) {
            url += c;
        } else {
            const auto byte = static_cast<unsigned char>(c);
            url += '%';
            url += kHex[byte >> 4];
            url += kHex[byte & 0x0F];
        }
    }
    return url;
}

std::string HelpTopicUrl(std::string_view absoluteHelpFile, int topic) {
    std::string url = FileUrl(absoluteHelpFile);
    if (const std::string_view anchor = HelpTopicAnchor(topic); !anchor.empty()) {
        url += '#';
        url += anchor;
    }
    return url;
}

}  // namespace shell
