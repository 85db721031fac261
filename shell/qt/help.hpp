// The program's help: a Japanese HTML page installed with the program, shown in a browser.
#pragma once

#include <QString>
#include <QUrl>
#include <string_view>

#include "platform/message_presenter.hpp"
#include "shell/help_topic.hpp"

class QWidget;

namespace shell {

// Hands the help page's URL to a browser; tests put a recorder in its place.
class HelpBrowser {
public:
    virtual ~HelpBrowser() = default;
    // False when the URL could not be handed over.
    virtual bool OpenUrl(const QUrl& url) = 0;
};

// The desktop's browser.
HelpBrowser& DesktopHelpBrowser();

// The help page as installed: in the data directory that belongs to the directory of the
// executable (bin/../share/pelkor/help), in the install tree and in the build tree alike.
QString InstalledHelpFile();

// The anchor of a topic in the help page; empty for a topic the page does not have.
QString HelpAnchor(int topic);

// The help page's URL, at the topic's anchor.
QUrl HelpTopicUrl(const QString& helpFile, int topic);

// The help of the program: its page, opened at a topic through a browser, with failures
// shown through a presenter.
class Help {
public:
    Help(QString file, HelpBrowser& browser, platform::MessagePresenter& presenter);

    // Opens the page at topic. When the page is missing or the browser cannot be started,
    // shows kHelpLaunchFailed. True when the page was handed to the browser.
    bool Open(int topic) const;

    // Makes F1, with neither Shift, Ctrl nor Alt, open the topic of dialog's template while
    // dialog is the active window. The help must outlive the dialog.
    void InstallKey(QWidget& dialog, int templateNumber) const;

private:
    QString file_;
    HelpBrowser& browser_;
    platform::MessagePresenter& presenter_;
};

}  // namespace shell
