// The dialogs as templates (font, texts, dialog units, nothing clipped, placement) and the
// About box, the message boxes and the list viewer on their own.
#include <QAbstractButton>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QtTest>
#include <string>

#include "platform/files.hpp"

#include "shell/qt/about_box.hpp"
#include "shell/qt/dialog_template.hpp"
#include "shell/qt/directory_picker.hpp"
#include "shell/qt/list_viewer.hpp"
#include "shell/qt/main_dialog.hpp"
#include "shell/qt/message_box_presenter.hpp"
#include "shell/qt/program_icon.hpp"
#include "shell_test_support.hpp"
#include "support/temp_tree.hpp"
#include "versionlist/list_file.hpp"

using shell::BaseUnits;
using shell::CAboutDlg;
using shell::CListMainDlg;
using shell::CListViewDlg;
using testing_support::RecordingPresenter;
using testing_support::TempTree;

namespace {

QPushButton* Button(QWidget& dialog, const char* name) {
    return dialog.findChild<QPushButton*>(QString::fromLatin1(name));
}
QLabel* Label(QWidget& dialog, const char* name) {
    return dialog.findChild<QLabel*>(QString::fromLatin1(name));
}

// Every text the dialog shows, its caption included.
QStringList Texts(QWidget& dialog) {
    QStringList texts = {dialog.windowTitle()};
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
        texts.append(label->text());
    }
    for (QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) {
        texts.append(button->text());
    }
    return texts;
}

QStringList Lines(const QPlainTextEdit& field) {
    return field.toPlainText().split(QLatin1Char('\n'));
}

// The viewer of a list file holding bytes, initialised and shown.
struct Viewer {
    explicit Viewer(const std::string& bytes, QWidget* owner = nullptr)
        : dialog((tree.WriteFile("version.lis", bytes), tree.Path("version.lis")), presenter,
                 platform::SystemFileSystem(), owner) {}
    TempTree tree;
    RecordingPresenter presenter;
    CListViewDlg dialog;
};

// For its lifetime, the application's style puts icons on dialog buttons.
class ButtonIconStyle {
public:
    ButtonIconStyle() : previous_(QApplication::style()->name()) {
        QApplication::setStyle(new Proxy(this));
    }
    ~ButtonIconStyle() { QApplication::setStyle(previous_); }
    bool asked = false;

private:
    class Proxy final : public QProxyStyle {
    public:
        explicit Proxy(ButtonIconStyle* owner) : QProxyStyle(owner->previous_), owner_(owner) {}
        int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                      QStyleHintReturn* data) const override {
            if (hint == SH_DialogButtonBox_ButtonsHaveIcons) {
                owner_->asked = true;
                return 1;
            }
            return QProxyStyle::styleHint(hint, option, widget, data);
        }

    private:
        ButtonIconStyle* owner_;
    };

    QString previous_;
};

}  // namespace

class DialogsTest : public QObject {
    Q_OBJECT

private slots:
    void dialogFontIsAJapaneseGothicAtNinePoints() {
        const QFont font = shell::DialogFont();
        QCOMPARE(font.pointSize(), 9);
        const QStringList installed = QFontDatabase::families();
        const QString used = QFontInfo(font).family();
        if (installed.contains(QStringLiteral("ＭＳ Ｐゴシック"))) {
            QCOMPARE(used, QStringLiteral("ＭＳ Ｐゴシック"));
        } else if (installed.contains(QStringLiteral("IPAPGothic"))) {
            QCOMPARE(used, QStringLiteral("IPAPGothic"));
        } else {
            QVERIFY2(shell::DialogFontFamilies().contains(used), qPrintable(used));
        }
    }

    // No text of any dialog may come out as boxes for lack of glyphs.
    void everyTextHasGlyphsInTheDialogFont() {
        RecordingPresenter presenter;
        CListMainDlg main("", &presenter);
        CAboutDlg about;
        CListViewDlg viewer("/nonexistent/version.lis", presenter);
        for (QWidget* dialog : {static_cast<QWidget*>(&main), static_cast<QWidget*>(&about),
                                static_cast<QWidget*>(&viewer)}) {
            const QFontMetrics metrics(dialog->font());
            for (const QString& text : Texts(*dialog)) {
                for (char32_t c : text.toUcs4()) {
                    QVERIFY2(c == U' ' || metrics.inFontUcs4(c),
                             qPrintable(
                                 QStringLiteral("%1 in \"%2\"").arg(QString::number(c, 16), text)));
                }
            }
        }
    }

    void dialogUnitsToPixels_data() {
        QTest::addColumn<QRect>("units");
        QTest::addColumn<int>("baseX");
        QTest::addColumn<int>("baseY");
        QTest::addColumn<QRect>("pixels");
        // x in quarters, y in eighths of the base units, rounded half away from zero.
        QTest::newRow("6x12") << QRect(15, 6, 113, 8) << 6 << 12 << QRect(23, 9, 170, 12);
        QTest::newRow("7x13") << QRect(15, 6, 113, 8) << 7 << 13 << QRect(26, 10, 198, 13);
        QTest::newRow("8x16 exact") << QRect(4, 8, 40, 16) << 8 << 16 << QRect(8, 16, 80, 32);
        QTest::newRow("zero") << QRect(0, 0, 0, 0) << 6 << 12 << QRect(0, 0, 0, 0);
        QTest::newRow("negative") << QRect(-3, -1, 2, 1) << 6 << 12 << QRect(-5, -2, 3, 2);
    }

    void dialogUnitsToPixels() {
        QFETCH(QRect, units);
        QFETCH(int, baseX);
        QFETCH(int, baseY);
        QFETCH(QRect, pixels);
        QCOMPARE(shell::DialogUnitsToPixels(units, BaseUnits{baseX, baseY}), pixels);
    }

    void mainDialogTemplate() {
        RecordingPresenter presenter;
        CListMainDlg main("", &presenter);
        QCOMPARE(main.windowTitle(), QStringLiteral("KOMA-R ﾊﾞｰｼﾞｮﾝ表示"));
        QCOMPARE(Button(main, "IDOK")->text(), QStringLiteral("終了"));
        QCOMPARE(Button(main, "IDC_BROWSE")->text(), QStringLiteral("参照"));
        QCOMPARE(Button(main, "IDC_SHOW")->text(), QStringLiteral("表示"));
        QCOMPARE(Label(main, "labelInstallDir")->text(), QStringLiteral("KOMA-R ｲﾝｽﾄｰﾙﾃﾞｨﾚｸﾄﾘ"));
        QCOMPARE(Label(main, "labelInstruction")->text(),
                 QStringLiteral("KOMA-Rｲﾝｽﾄｰﾙﾃﾞｨﾚｸﾄﾘを確認し表示ﾎﾞﾀﾝをｸﾘｯｸしてください。"));
        QVERIFY(Label(main, "labelInstruction")->wordWrap());
        QVERIFY(Button(main, "IDOK")->isDefault());
        QVERIFY(main.InstallDirField()->text().isEmpty());
        // No minimize or maximize box, no resizing.
        QVERIFY(!(main.windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(main.windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(main.minimumSize(), main.maximumSize());

        const BaseUnits base = shell::DialogBaseUnits(main.font());
        auto pixels = [&](int x, int y, int w, int h) {
            return shell::DialogUnitsToPixels(QRect(x, y, w, h), base);
        };
        // Controls above the instruction keep their template rectangles exactly.
        QCOMPARE(Button(main, "IDC_BROWSE")->geometry(), pixels(130, 13, 34, 14));
        QCOMPARE(Button(main, "IDC_SHOW")->geometry(), pixels(131, 39, 34, 14));
        QCOMPARE(main.InstallDirField()->geometry(), pixels(13, 15, 107, 15));
        // The rest may only have grown to fit their texts, never moved sideways or shrunk.
        const QRect exit = Button(main, "IDOK")->geometry();
        QCOMPARE(exit.x(), pixels(69, 63, 35, 14).x());
        QVERIFY(exit.y() >= pixels(69, 63, 35, 14).y());
        QVERIFY(main.width() >= pixels(0, 0, 185, 92).width());
        QVERIFY(main.height() >= pixels(0, 0, 185, 92).height());
        QCOMPARE(shell::ClippedTexts(main), QStringList());
    }

    // Every control of every template sits at its rectangle in dialog units, and the
    // picker's controls carry the numbers the platform's file dialog gives them.
    void templateRectangles_data() {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QRect>("units");
        QTest::addColumn<int>("controlId");  // 0: none
        auto row = [](const char* dialog, const char* control, QRect units, int id = 0) {
            QTest::addRow("%s %s", dialog, control)
                << QString::fromLatin1(dialog) << QString::fromLatin1(control) << units << id;
        };
        row("main", "IDOK", QRect(69, 63, 35, 14));
        row("main", "labelInstallDir", QRect(15, 6, 113, 8));
        row("main", "IDC_BROWSE", QRect(130, 13, 34, 14));
        row("main", "IDC_SHOW", QRect(131, 39, 34, 14));
        row("main", "IDC_INSTALL_DIR", QRect(13, 15, 107, 15));
        row("main", "labelInstruction", QRect(15, 37, 102, 21));
        row("about", "IDR_MAINFRAME", QRect(11, 17, 0, 0));
        row("about", "labelVersion", QRect(39, 15, 119, 8));
        row("about", "labelCopyright", QRect(37, 29, 152, 8));
        row("about", "IDOK", QRect(178, 7, 32, 14));
        row("viewer", "IDOK", QRect(195, 238, 41, 14));
        row("viewer", "IDC_LIST_TEXT", QRect(15, 24, 222, 204));
        row("viewer", "labelInstruction", QRect(16, 237, 169, 23));
        row("viewer", "labelTitle", QRect(14, 13, 138, 11));
        row("picker", "directoryCaption", QRect(9, 8, 28, 9));
        row("picker", "directoryList", QRect(8, 43, 132, 94), 1121);
        row("picker", "driveCaption", QRect(8, 143, 26, 9), 1091);
        row("picker", "driveList", QRect(8, 153, 132, 13), 1137);
        row("picker", "cancelButton", QRect(150, 27, 50, 14), 2);
        row("picker", "helpButton", QRect(150, 45, 50, 14), 1038);
        row("picker", "readOnlyCheck", QRect(150, 73, 50, 12), 1040);
        row("picker", "selectButton", QRect(150, 7, 50, 14), 1);
        row("picker", "pathLabel", QRect(9, 21, 132, 11), 1088);
    }

    void templateRectangles() {
        QFETCH(QString, dialog);
        QFETCH(QString, control);
        QFETCH(QRect, units);
        QFETCH(int, controlId);
        RecordingPresenter presenter;
        CListMainDlg main("", &presenter);
        CAboutDlg about;
        CListViewDlg viewer("/nonexistent/version.lis", presenter);
        shell::CSpecFileDialog picker(QStringLiteral("x/"), nullptr, {QStringLiteral("/")});
        const QHash<QString, shell::TemplateDialog*> dialogs = {
            {"main", &main}, {"about", &about}, {"viewer", &viewer}, {"picker", &picker}};
        shell::TemplateDialog* shown = dialogs.value(dialog);
        auto* widget = shown->findChild<QWidget*>(control);
        QVERIFY(widget != nullptr);
        QCOMPARE(shown->TemplateUnits(*widget), units);
        QCOMPARE(widget->property("controlId").toInt(), controlId);
    }

    void templateSizes() {
        RecordingPresenter presenter;
        CListMainDlg main("", &presenter);
        CAboutDlg about;
        CListViewDlg viewer("/nonexistent/version.lis", presenter);
        shell::CSpecFileDialog picker(QStringLiteral("x/"), nullptr, {QStringLiteral("/")});
        QCOMPARE(main.TemplateSize(), QSize(185, 92));
        QCOMPARE(about.TemplateSize(), QSize(217, 55));
        QCOMPARE(viewer.TemplateSize(), QSize(255, 275));
        QCOMPARE(picker.TemplateSize(), QSize(209, 177));
    }

    void aboutBoxTemplate() {
        CAboutDlg about;
        QCOMPARE(about.windowTitle(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報 pelkor"));
        QCOMPARE(Label(about, "labelVersion")->text(), QStringLiteral("pelkor Version 1.1"));
        QVERIFY(!Label(about, "labelCopyright")->text().isEmpty());
        QCOMPARE(Button(about, "IDOK")->text(), QStringLiteral("OK"));
        QVERIFY(Button(about, "IDOK")->isDefault());
        const QPixmap icon = Label(about, "IDR_MAINFRAME")->pixmap();
        QCOMPARE(icon.size(), QSize(32, 32));
        QVERIFY(!about.windowIcon().isNull());
        const BaseUnits base = shell::DialogBaseUnits(about.font());
        QCOMPARE(Label(about, "IDR_MAINFRAME")->pos(),
                 shell::DialogUnitsToPixels(QRect(11, 17, 0, 0), base).topLeft());
        QCOMPARE(shell::ClippedTexts(about), QStringList());
    }

    void viewerTemplate() {
        RecordingPresenter presenter;
        CListViewDlg viewer("/nonexistent/version.lis", presenter);
        QCOMPARE(viewer.windowTitle(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ表示"));
        QCOMPARE(Button(viewer, "IDOK")->text(), QStringLiteral("閉じる"));
        QVERIFY(Button(viewer, "IDOK")->isDefault());
        QCOMPARE(Label(viewer, "labelTitle")->text(), QStringLiteral("ＫＯＭＡ－Ｒシリーズ"));
        QCOMPARE(Label(viewer, "labelInstruction")->text(),
                 QStringLiteral("KOMA-R ｲﾝｽﾄｰﾙﾃﾞｨﾚｸﾄﾘ内に \"Version.lis\" ﾌｧｲﾙを作成しました。"
                                "お問い合わせに際のFAXまたはEmailに一緒に添付して下さい。"));
        QPlainTextEdit* text = viewer.ListText();
        QVERIFY(text->isReadOnly());
        QCOMPARE(text->lineWrapMode(), QPlainTextEdit::NoWrap);
        QCOMPARE(text->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(text->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        // Tab stops every 32 horizontal dialog units, eight mean character widths.
        const BaseUnits base = shell::DialogBaseUnits(viewer.font());
        QCOMPARE(text->tabStopDistance(), qreal(8 * base.x));
        QCOMPARE(text->geometry(), shell::DialogUnitsToPixels(QRect(15, 24, 222, 204), base));
        QCOMPARE(shell::ClippedTexts(viewer), QStringList());
    }

    // The check the template tests rely on does see a clipped text.
    void clippedTextsSeesAClippedLabel() {
        QDialog dialog;
        dialog.resize(200, 100);
        auto* label = new QLabel(QStringLiteral("ｲﾝｽﾄｰﾙﾃﾞｨﾚｸﾄﾘを確認してください"), &dialog);
        label->setObjectName(QStringLiteral("narrow"));
        label->setGeometry(0, 0, 30, 12);
        auto* button = new QPushButton(QStringLiteral("参照"), &dialog);
        button->setObjectName(QStringLiteral("wide"));
        button->setGeometry(0, 20, 120, 30);
        QCOMPARE(shell::ClippedTexts(dialog), QStringList{QStringLiteral("narrow")});
        button->setGeometry(190, 20, 120, 30);  // sticks out of the dialog
        QCOMPARE(shell::ClippedTexts(dialog),
                 (QStringList{QStringLiteral("narrow"), QStringLiteral("wide")}));
    }

    void centredOver_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QRect>("over");
        QTest::addColumn<QPoint>("topLeft");
        const QRect area(0, 0, 800, 600);
        Q_UNUSED(area);
        QTest::newRow("centred") << QSize(100, 50) << QRect(100, 100, 300, 200) << QPoint(200, 175);
        QTest::newRow("odd difference truncated")
            << QSize(101, 51) << QRect(0, 0, 200, 100) << QPoint(49, 24);
        QTest::newRow("kept inside right and bottom")
            << QSize(300, 300) << QRect(650, 450, 100, 100) << QPoint(500, 300);
        QTest::newRow("kept inside left and top")
            << QSize(300, 300) << QRect(-50, -80, 100, 100) << QPoint(0, 0);
        QTest::newRow("larger than the area keeps its top-left inside")
            << QSize(900, 700) << QRect(0, 0, 800, 600) << QPoint(0, 0);
    }

    void centredOver() {
        QFETCH(QSize, size);
        QFETCH(QRect, over);
        QFETCH(QPoint, topLeft);
        QCOMPARE(shell::CentredOver(size, over, QRect(0, 0, 800, 600)), topLeft);
    }

    void mainDialogIsCentredInTheWorkAreaAndAboutOverIt() {
        RecordingPresenter presenter;
        CListMainDlg main("", &presenter);
        shell::PlaceDialog(main, nullptr);
        main.show();
        const QRect area = main.screen()->availableGeometry();
        QVERIFY2((main.frameGeometry().center() - area.center()).manhattanLength() <= 2,
                 qPrintable(QStringLiteral("%1,%2 %3x%4 in %5,%6 %7x%8")
                                .arg(main.frameGeometry().x())
                                .arg(main.frameGeometry().y())
                                .arg(main.frameGeometry().width())
                                .arg(main.frameGeometry().height())
                                .arg(area.x())
                                .arg(area.y())
                                .arg(area.width())
                                .arg(area.height())));

        CAboutDlg about(&main);
        shell::PlaceDialog(about, &main);
        QVERIFY(
            (about.frameGeometry().center() - main.frameGeometry().center()).manhattanLength() <=
            2);
    }

    // A box is a modal warning with the exclamation icon and a plain OK button, even under a
    // style that puts icons on dialog buttons (as desktop styles do with a green arrow).
    void messageBoxIsAModalWarningWithOkOnly() {
        ButtonIconStyle style;
        QWidget owner;
        owner.show();
        shell::MessageBoxPresenter boxes(&owner);
        ModalDriver driver;
        QString title, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons buttons;
        bool modal = false;
        bool okHasIcon = true;
        bool exclamation = false;
        driver.Then([&](QWidget* window) {
            auto* box = qobject_cast<QMessageBox*>(window);
            QVERIFY(box != nullptr);
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            buttons = box->standardButtons();
            modal = box->isModal() && box->parentWidget() == &owner;
            okHasIcon = !box->button(QMessageBox::Ok)->icon().isNull();
            exclamation = box->iconPixmap().toImage() ==
                          box->style()
                              ->standardIcon(QStyle::SP_MessageBoxWarning, nullptr, box)
                              .pixmap(box->iconPixmap().deviceIndependentSize().toSize())
                              .toImage();
            box->button(QMessageBox::Ok)->click();
        });
        driver.Start();
        boxes.ShowMessage("List File[/x/<b>version.lis] Create Error\n");
        QVERIFY(driver.Done());
        // Named after the executable, here this test.
        QCOMPARE(title, QStringLiteral("shell_dialogs_test"));
        QCOMPARE(text, QStringLiteral("List File[/x/<b>version.lis] Create Error\n"));
        QCOMPARE(icon, QMessageBox::Warning);
        QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QVERIFY(modal);
        QVERIFY(style.asked);
        QVERIFY(!okHasIcon);
        QVERIFY(exclamation);
    }

    // The main dialog in batch mode is hidden; its boxes are then centred on the screen.
    void messageBoxOfAHiddenOwnerHasNoOwner() {
        QWidget hidden;
        shell::MessageBoxPresenter boxes(&hidden);
        QWidget* parent = &hidden;
        ModalDriver driver;
        driver.Then([&](QWidget* window) {
            parent = window->parentWidget();
            window->close();
        });
        driver.Start();
        boxes.ShowMessage("x");
        QVERIFY(driver.Done());
        QCOMPARE(parent, nullptr);
    }

    // The desktop's icon theme gets the very pictures the program draws for itself.
    void iconThemeHoldsTheProgramsOwnIcon() {
        for (int size : {32, 48, 64}) {
            const QString png =
                QStringLiteral(PELKOR_ICON_THEME_DIR "/%1x%1/apps/pelkor.png").arg(size);
            QImage themed(png);
            QVERIFY2(!themed.isNull(), qPrintable(png));
            QCOMPARE(themed.convertToFormat(QImage::Format_ARGB32),
                     shell::ProgramIcon()
                         .pixmap(size, size)
                         .toImage()
                         .convertToFormat(QImage::Format_ARGB32));
        }
    }

    // Every dialog carries the program's own icon, drawn from its SVG at each size.
    void everyDialogHasTheProgramIcon() {
        const QIcon icon = shell::ProgramIcon();
        for (int size : {16, 32, 48}) {
            const QImage image = icon.pixmap(size, size).toImage();
            QCOMPARE(image.size(), QSize(size, size));
            int opaque = 0;
            for (int y = 0; y < size; ++y) {
                for (int x = 0; x < size; ++x) {
                    opaque += qAlpha(image.pixel(x, y)) == 255;
                }
            }
            QVERIFY2(opaque > size * size / 3, qPrintable(QString::number(size)));
        }
        RecordingPresenter presenter;
        CListMainDlg main("", &presenter);
        main.OnInitDialog();
        CAboutDlg about;
        CListViewDlg viewer("/nonexistent/version.lis", presenter);
        const QImage expected = icon.pixmap(32, 32).toImage();
        for (QWidget* dialog : {static_cast<QWidget*>(&main), static_cast<QWidget*>(&about),
                                static_cast<QWidget*>(&viewer)}) {
            QCOMPARE(dialog->windowIcon().pixmap(32, 32).toImage(), expected);
        }
    }

    void aboutBoxClosesWithEnterAndEsc() {
        for (int key : {int(Qt::Key_Return), int(Qt::Key_Escape)}) {
            CAboutDlg about;
            ModalDriver driver;
            QWidget* focus = nullptr;
            driver.Then([&](QWidget* window) {
                focus = window->focusWidget();
                QTest::keyClick(window->focusWidget(), Qt::Key(key));
            });
            driver.Start();
            const int result = about.DoModal();
            QVERIFY(driver.Done());
            QCOMPARE(focus, Button(about, "IDOK"));
            QCOMPARE(result,
                     key == Qt::Key_Return ? int(QDialog::Accepted) : int(QDialog::Rejected));
        }
    }

    // The viewer shows the list as the core reads it for people; the rules themselves are
    // the core's. The file holds what the core's own cases leave out: a CR at the very end, a
    // lead byte cut off by a line end, bytes that are no CP932 at all.
    void viewerShowsTheListAsTheCoreReadsIt() {
        const std::string bytes =
            "a\r\r\n\r\r\n\tx\ty\r\r\nlone\rcr\r\r\n\x82\xa0\xb1\x95\x5c\r\r\n"
            "lead\x82\r\r\n\xa0x\xfd\r\r\nend\r";
        Viewer viewer(bytes);
        viewer.dialog.OnInitDialog();
        std::string textMode;
        QVERIFY(platform::ReadTextModeFile(platform::SystemFileSystem(),
                                           viewer.tree.Path("version.lis"), textMode));
        const std::string core = versionlist::ListDisplayText(textMode);
        QCOMPARE(viewer.dialog.ListText()->toPlainText(), QString::fromStdString(core));
        QCOMPARE(viewer.dialog.ListText()->toPlainText(),
                 QStringLiteral("a\n\n\tx\ty\nlone cr\nあｱ表\nlead\uFFFD\n\uFFFDx\uFFFD\nend "));
    }

    // A long list opens scrolled to its end, one line per stored line, focus on Close.
    void viewerShowsTheStoredLinesScrolledToTheEnd() {
        std::string bytes;
        for (int i = 1; i <= 80; ++i) {
            bytes += "line " + std::to_string(i) + "\t\x95\x5c\r\r\n";  // 表, second byte 0x5C
        }
        Viewer viewer(bytes);
        QVERIFY(viewer.dialog.OnInitDialog());
        viewer.dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&viewer.dialog));
        QVERIFY(viewer.presenter.messages.empty());
        const QStringList lines = Lines(*viewer.dialog.ListText());
        QCOMPARE(lines.size(), 81);  // the text ends with a line break
        QCOMPARE(lines.first(), QStringLiteral("line 1\t表"));
        QCOMPARE(lines.at(79), QStringLiteral("line 80\t表"));
        QCOMPARE(lines.last(), QString());
        QScrollBar* bar = viewer.dialog.ListText()->verticalScrollBar();
        QVERIFY(bar->maximum() > 0);
        QCOMPARE(bar->value(), bar->maximum());
        QVERIFY(viewer.dialog.ListText()->textCursor().atEnd());
        QCOMPARE(viewer.dialog.focusWidget(), Button(viewer.dialog, "IDOK"));
    }

    // No word wrap: a long line stays one line and scrolls sideways with the caret.
    void viewerScrollsLongLinesSideways() {
        Viewer viewer(std::string(400, 'x') + "\r\r\nend\r\r\n");
        viewer.dialog.OnInitDialog();
        viewer.dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&viewer.dialog));
        QPlainTextEdit* text = viewer.dialog.ListText();
        QCOMPARE(text->document()->blockCount(), 3);
        QCOMPARE(text->horizontalScrollBar()->value(), 0);  // the caret at the end, column 0
        QTextCursor cursor = text->textCursor();
        cursor.movePosition(QTextCursor::Start);
        cursor.movePosition(QTextCursor::EndOfLine);
        text->setTextCursor(cursor);
        QVERIFY(text->horizontalScrollBar()->value() > 0);
        QVERIFY(!text->horizontalScrollBar()->isVisible());
    }

    void viewerEndsTheTextAtCtrlZ() {
        Viewer viewer(
            "a\r\r\nb\x1a"
            "c\r\r\n");
        viewer.dialog.OnInitDialog();
        QCOMPARE(viewer.dialog.ListText()->toPlainText(), QStringLiteral("a\nb"));
    }

    void viewerOfAnEmptyFileIsEmptyWithoutMessage() {
        Viewer viewer("");
        viewer.dialog.OnInitDialog();
        QVERIFY(viewer.presenter.messages.empty());
        QVERIFY(viewer.dialog.ListText()->toPlainText().isEmpty());
    }

    void viewerOpenFailureIsReportedAndLeavesTheFieldEmpty() {
        TempTree tree;
        RecordingPresenter presenter;
        const std::string path = tree.Path("gone/version.lis");
        CListViewDlg viewer(path, presenter);
        QVERIFY(viewer.OnInitDialog());
        QCOMPARE(presenter.messages,
                 std::vector<std::string>{"temp file[" + path + "] Open Error\n"});
        QVERIFY(viewer.ListText()->toPlainText().isEmpty());
    }

    // Enter in the text field does nothing; Enter on Close, and Esc anywhere, close.
    void viewerKeys() {
        Viewer viewer("a\r\r\nb\r\r\n");
        ModalDriver driver;
        bool openAfterEnterInField = false;
        driver.Then([&](QWidget* window) {
            QPlainTextEdit* field = viewer.dialog.ListText();
            field->setFocus();
            QTest::keyClick(field, Qt::Key_Return);
            QTest::keyClick(field, Qt::Key_Enter);
            openAfterEnterInField = window->isVisible();
            QTest::keyClick(field, Qt::Key_Escape);
        });
        driver.Start();
        QCOMPARE(viewer.dialog.DoModal(), int(QDialog::Rejected));
        QVERIFY(driver.Done());
        QVERIFY(openAfterEnterInField);

        Viewer second("a\r\r\n");
        ModalDriver closer;
        closer.Then(
            [](QWidget* window) { QTest::keyClick(window->focusWidget(), Qt::Key_Return); });
        closer.Start();
        QCOMPARE(second.dialog.DoModal(), int(QDialog::Accepted));
        QVERIFY(closer.Done());
    }
};

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
