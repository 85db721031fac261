// The application object: sets up the look every dialog shares and runs the main dialog.
#pragma once

#include <string>

#include "platform/editor.hpp"
#include "platform/files.hpp"
#include "platform/message_presenter.hpp"
#include "shell/qt/help.hpp"

namespace shell {

// Loads Qt's own Japanese texts (context menus, standard buttons) into the application, whatever
// the system's locale, since the program's own texts are Japanese. False when Qt's catalogue
// is not installed; Qt's texts then stay English.
bool LoadQtJapanese();

class CListApp {
public:
    // presenter, editor, fileSystem and helpBrowser replace the message boxes, the system
    // editor, the real file system and the desktop's browser when given.
    explicit CListApp(std::string argumentsText, platform::MessagePresenter* presenter = nullptr,
                      platform::EditorLauncher* editor = nullptr,
                      platform::FileSystem* fileSystem = nullptr,
                      HelpBrowser* helpBrowser = nullptr);

    // Runs the main dialog until it closes (in batch mode: the batch run) and returns the
    // process's exit code, 0 in every case.
    int InitInstance();

private:
    std::string argumentsText_;
    platform::MessagePresenter* presenter_;
    platform::EditorLauncher* editor_;
    platform::FileSystem* fileSystem_;
    HelpBrowser* helpBrowser_;
};

}  // namespace shell
