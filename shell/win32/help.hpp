// The program's help: the Japanese HTML page installed beside the program, opened in the
// browser at the topic of the dialog in front.
#pragma once

#include <string>
#include <string_view>

#include "platform/message_presenter.hpp"
#include "shell/help_topic.hpp"

namespace shell {

// Hands the help page to a browser; tests put a recorder in its place.
class HelpBrowser {
public:
    virtual ~HelpBrowser() = default;
    // Opens url, the page file's URL with its anchor; false when no browser took it.
    virtual bool OpenPage(const std::string& file, const std::string& url) = 0;
};

// The system's browser. A file URL given to the shell goes through the .html association,
// which drops the anchor; the browser registered for http URLs is given the URL itself, anchor
// and all. Without one, the page is opened through its association, at its top.
HelpBrowser& SystemHelpBrowser();

// The command line that starts a browser on url, from the command the system registers for
// it ("...\browser.exe" -osint -url "%1"): %1 and %L become the URL, %* and the other
// arguments nothing, %% a percent sign; a command without a place for the URL gets it
// appended, quoted.
std::wstring BrowserCommandLine(std::wstring_view registered, std::wstring_view url);

// The help page beside the running executable.
std::string InstalledHelpFile();

class Help {
public:
    Help(std::string file, HelpBrowser& browser, platform::MessagePresenter& presenter);

    // Opens the page at topic. When the page is missing or no browser takes it, shows
    // kHelpLaunchFailed. True when the page was handed to a browser.
    bool Open(int topic) const;

private:
    std::string file_;
    HelpBrowser& browser_;
    platform::MessagePresenter& presenter_;
};

}  // namespace shell
