// The help page: where it is installed, its topics, and handing it to the desktop's browser.
#include "shell/qt/help.hpp"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QShortcut>
#include <QWidget>

// The help page's path relative to the directory of the executable; the build passes the one
// that matches its install layout.
#ifndef PELKOR_HELP_FROM_BINDIR
#define PELKOR_HELP_FROM_BINDIR "../share/pelkor/help/pelkor.html"
#endif

namespace shell {
namespace {

class DesktopBrowser final : public HelpBrowser {
public:
    bool OpenUrl(const QUrl& url) override { return QDesktopServices::openUrl(url); }
};

}  // namespace

HelpBrowser& DesktopHelpBrowser() {
    static DesktopBrowser browser;
    return browser;
}

QString InstalledHelpFile() {
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                           QStringLiteral(PELKOR_HELP_FROM_BINDIR));
}

QString HelpAnchor(int topic) {
    const std::string_view anchor = HelpTopicAnchor(topic);
    return QString::fromLatin1(anchor.data(), static_cast<qsizetype>(anchor.size()));
}

QUrl HelpTopicUrl(const QString& helpFile, int topic) {
    QUrl url = QUrl::fromLocalFile(QFileInfo(helpFile).absoluteFilePath());
    if (const QString anchor = HelpAnchor(topic); !anchor.isEmpty()) {
        url.setFragment(anchor);
    }
    return url;
}

Help::Help(QString file, HelpBrowser& browser, platform::MessagePresenter& presenter)
    : file_(std::move(file)), browser_(browser), presenter_(presenter) {}

bool Help::Open(int topic) const {
    if (!QFileInfo(file_).isFile() || !browser_.OpenUrl(HelpTopicUrl(file_, topic))) {
        presenter_.ShowMessage(kHelpLaunchFailed);
        return false;
    }
    return true;
}

void Help::InstallKey(QWidget& dialog, int templateNumber) const {
    // A plain F1 only: Shift+F1 and the others are different key sequences.
    auto* key = new QShortcut(QKeySequence(Qt::Key_F1), &dialog);
    key->setContext(Qt::WindowShortcut);
    QObject::connect(key, &QShortcut::activated, &dialog,
                     [this, templateNumber] { Open(kHelpTopicBase + templateNumber); });
}

}  // namespace shell
