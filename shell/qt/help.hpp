// The program's help: a Japanese HTML page installed with the program, shown in the browser.
#pragma once

#include <QString>
#include <QUrl>
#include <functional>
#include <string_view>

#include "platform/message_presenter.hpp"

class QWidget;

namespace shell {

// Shown when the help page cannot be opened.
inline constexpr std::string_view kHelpLaunchFailed = "ﾍﾙﾌﾟの起動に失敗しました。";

// A help topic is this plus the template number of the dialog it describes.
inline constexpr int kHelpTopicBase = 0x20000;

// Hands a URL to the desktop's browser; false when it could not be handed over.
using HelpLauncher = std::function<bool(const QUrl&)>;

// Replaces how the help page is opened; an empty launcher restores the desktop's.
void SetHelpLauncher(HelpLauncher launcher);
// Replaces where the help page is looked for; an empty path restores the installed page.
void SetHelpFile(const QString& path);

// The help page: in the data directory that belongs to the directory of the executable, as
// installed (bin/../share/pelkor/help) and as laid out in the build tree.
QString HelpFile();

// The anchor of a topic in the help page; empty for a topic the page does not have.
QString HelpAnchor(int topic);

// The help page's URL, at the topic's anchor.
QUrl HelpTopicUrl(const QString& helpFile, int topic);

// Opens the help at topic. When the page is missing or the browser cannot be started, shows
// kHelpLaunchFailed through presenter. True when the page was handed to the browser.
bool OpenHelp(int topic, platform::MessagePresenter& presenter);

// Makes F1, with neither Shift, Ctrl nor Alt, open the help at the topic of dialog's template
// while dialog is the active window.
void InstallHelpKey(QWidget& dialog, int templateNumber, platform::MessagePresenter& presenter);

}  // namespace shell
