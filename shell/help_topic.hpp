// The help page's topics and its address: which anchor F1 opens for which dialog, as a file URL.
#pragma once

#include <string>
#include <string_view>

namespace shell {

// Shown when the help page cannot be opened.
inline constexpr std::string_view kHelpLaunchFailed = "ﾍﾙﾌﾟの起動に失敗しました。";

// A help topic is this plus the template number of the dialog it describes.
inline constexpr int kHelpTopicBase = 0x20000;

// The help page's file name, installed beside the Windows programs.
inline constexpr std::string_view kHelpFileName = "pelkor.html";

// The anchor of a topic in the help page ("main-dialog", "about-box"); empty for a topic the
// page does not have.
std::string_view HelpTopicAnchor(int topic);

// The file URL of an absolute path: every separator a "/", a Windows drive ("C:") or share
// ("\\server\share") as the URL's root, every byte outside the unreserved characters
// percent-encoded (so blanks, "#" and Japanese names survive any browser).
std::string FileUrl(std::string_view absolutePath);

// The help page's URL at the topic's anchor (none for a topic the page does not have).
std::string HelpTopicUrl(std::string_view absoluteHelpFile, int topic);

}  // namespace shell
