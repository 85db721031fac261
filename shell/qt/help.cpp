// The help page: where it is installed, its topics, and handing it to the desktop's browser.
#include "shell/qt/help.hpp"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QShortcut>
#include <QWidget>

#include "resources/resource.hpp"

// The help page's path relative to the directory of the executable; the build passes the one
// that matches its install layout.
#ifndef PELKOR_HELP_FROM_BINDIR
#define PELKOR_HELP_FROM_BINDIR "../share/pelkor/help/pelkor.html"
#endif

namespace shell {
namespace {

HelpLauncher& Launcher() {
    static HelpLauncher launcher;
    return launcher;
}

QString& HelpFileOverride() {
    static QString path;
    return path;
}

bool OpenInDesktopBrowser(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

}  // namespace

void SetHelpLauncher(HelpLauncher launcher) {
    Launcher() = std::move(launcher);
}

void SetHelpFile(const QString& path) {
    HelpFileOverride() = path;
}

QString HelpFile() {
    if (!HelpFileOverride().isEmpty()) {
        return HelpFileOverride();
    }
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                           QStringLiteral(PELKOR_HELP_FROM_BINDIR));
}

QString HelpAnchor(int topic) {
    switch (topic - kHelpTopicBase) {
        case resources::IDD_MAIN:
            return QStringLiteral("main-dialog");
        case resources::IDD_ABOUTBOX:
            return QStringLiteral("about-box");
        default:
            return QString();
    }
}

QUrl HelpTopicUrl(const QString& helpFile, int topic) {
    QUrl url = QUrl::fromLocalFile(QFileInfo(helpFile).absoluteFilePath());
    if (const QString anchor = HelpAnchor(topic); !anchor.isEmpty()) {
        url.setFragment(anchor);
    }
    return url;
}

bool OpenHelp(int topic, platform::MessagePresenter& presenter) {
    const QString file = HelpFile();
    const HelpLauncher& launch = Launcher() ? Launcher() : HelpLauncher(OpenInDesktopBrowser);
    if (!QFileInfo(file).isFile() || !launch(HelpTopicUrl(file, topic))) {
        presenter.ShowMessage(kHelpLaunchFailed);
        return false;
    }
    return true;
}

void InstallHelpKey(QWidget& dialog, int templateNumber, platform::MessagePresenter& presenter) {
    // A plain F1 only: Shift+F1 and the others are different key sequences.
    auto* key = new QShortcut(QKeySequence(Qt::Key_F1), &dialog);
    key->setContext(Qt::WindowShortcut);
    QObject::connect(key, &QShortcut::activated, &dialog, [templateNumber, &presenter] {
        OpenHelp(kHelpTopicBase + templateNumber, presenter);
    });
}

}  // namespace shell
