// The application object: sets up the look every dialog shares and runs the main dialog.
#include "shell/qt/list_app.hpp"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

#include "shell/qt/dialog_template.hpp"
#include "shell/qt/main_dialog.hpp"
#include "shell/qt/program_icon.hpp"

namespace shell {

CListApp::CListApp(std::string argumentsText, platform::MessagePresenter* presenter,
                   platform::EditorLauncher* editor, platform::FileSystem* fileSystem,
                   HelpBrowser* helpBrowser)
    : argumentsText_(std::move(argumentsText)),
      presenter_(presenter),
      editor_(editor),
      fileSystem_(fileSystem),
      helpBrowser_(helpBrowser) {}

bool LoadQtJapanese() {
    QCoreApplication* application = QCoreApplication::instance();
    const QString name = QStringLiteral("qtbaseJapanese");
    if (application->findChild<QTranslator*>(name, Qt::FindDirectChildrenOnly) != nullptr) {
        return true;
    }
    auto translator = std::make_unique<QTranslator>();
    translator->setObjectName(name);
    if (!translator->load(QStringLiteral("qtbase_ja"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator.get())) {
        return false;
    }
    translator.release()->setParent(application);  // lives as long as the application
    return true;
}

int CListApp::InitInstance() {
    LoadQtJapanese();
    // Message boxes and menus get the dialog font too, so Japanese never shows as boxes.
    QApplication::setFont(DialogFont());
    QApplication::setWindowIcon(ProgramIcon());
    CListMainDlg dialog(argumentsText_, presenter_, editor_, fileSystem_, helpBrowser_);
    dialog.DoModal();
    return 0;
}

}  // namespace shell
