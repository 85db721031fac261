// pelkor-screenshots: renders the main dialog, the About box, the directory picker and the
// viewer to PNG files, offscreen, for the README. The install directory is found as pelkor finds
// it.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <cstdio>
#include <string_view>

#include "platform/paths.hpp"
#include "shell/list_main.hpp"
#include "shell/list_run.hpp"
#include "shell/qt/about_box.hpp"
#include "shell/qt/byte_text.hpp"
#include "shell/qt/dialog_template.hpp"
#include "shell/qt/directory_picker.hpp"
#include "shell/qt/list_viewer.hpp"
#include "shell/qt/main_dialog.hpp"
#include "shell/qt/program_icon.hpp"

namespace {

// Messages of the run go to stderr: nobody is there to dismiss a box.
class StderrPresenter final : public platform::MessagePresenter {
public:
    void ShowMessage(std::string_view text) override {
        std::fprintf(stderr, "pelkor-screenshots: %.*s\n", static_cast<int>(text.size()),
                     text.data());
    }
};

// The dialog with a plain caption bar above it, since offscreen windows have no frame.
QImage Framed(QWidget& dialog) {
    dialog.show();
    dialog.activateWindow();  // so the focused control shows its focus
    QApplication::processEvents();
    const QPixmap body = dialog.grab();
    const QFontMetrics metrics(dialog.font());
    const int border = 1;
    const int caption = std::max(metrics.height() + 8, 20);
    QImage image(body.width() + 2 * border, body.height() + caption + 2 * border,
                 QImage::Format_ARGB32);
    image.fill(QColor(0x40, 0x40, 0x40));
    QPainter painter(&image);
    painter.fillRect(border, border, body.width(), caption, QColor(0x1f, 0x3a, 0x6e));
    const int iconSize = 16;
    painter.drawPixmap(border + 4, border + (caption - iconSize) / 2,
                       dialog.windowIcon().pixmap(iconSize, iconSize));
    painter.setPen(Qt::white);
    painter.setFont(dialog.font());
    painter.drawText(QRect(border + 8 + iconSize, border, body.width(), caption),
                     Qt::AlignVCenter | Qt::AlignLeft, dialog.windowTitle());
    painter.drawPixmap(border, border + caption, body);
    return image;
}

bool Save(const QImage& image, const QDir& dir, const char* name) {
    const QString path = dir.filePath(QString::fromLatin1(name));
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "pelkor-screenshots: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: pelkor-screenshots OUTPUT_DIR\n");
        return 2;
    }
    // Absolute, since the picker moves the process into the install directory.
    const QDir dir(QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath());
    if (!QDir().mkpath(dir.path())) {
        std::fprintf(stderr, "pelkor-screenshots: cannot create %s\n", argv[1]);
        return 1;
    }
    QApplication::setFont(shell::DialogFont());
    QApplication::setWindowIcon(shell::ProgramIcon());

    StderrPresenter presenter;
    shell::CListMainDlg main("", &presenter);
    main.OnInitDialog();
    bool ok = Save(Framed(main), dir, "main.png");

    shell::CAboutDlg about(&main);
    ok = Save(Framed(about), dir, "about.png") && ok;
    about.hide();

    // The picker as 参照 opens it: in the field's directory, the label showing the field.
    const std::string field = shell::BytesFromText(main.InstallDirField()->text());
    const std::string start = shell::BrowseStartText(field);
    platform::SetCurrentDirectory(start);
    shell::CSpecFileDialog picker(shell::TextFromBytes(start), &main);
    ok = Save(Framed(picker), dir, "picker.png") && ok;
    picker.hide();

    const shell::ListRun run =
        shell::RunVersionList(field, presenter, platform::SystemFileSystem());
    if (run.outcome != shell::RunOutcome::kFound) {
        std::fprintf(stderr, "pelkor-screenshots: no suite found in %s\n", field.c_str());
        return 1;
    }
    shell::CListViewDlg viewer(run.listPath, presenter, platform::SystemFileSystem(), &main);
    viewer.OnInitDialog();
    ok = Save(Framed(viewer), dir, "viewer.png") && ok;
    return ok ? 0 : 1;
}
