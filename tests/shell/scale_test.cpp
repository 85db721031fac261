// At a scale factor of 2 on a laptop screen 900 pixels high, every dialog stays within the
// area the screen leaves it, scaled down where it would not fit as its template says.
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

#include "resources/resource.hpp"
#include "shell/qt/dialog_template.hpp"
#include "shell/qt/list_viewer.hpp"
#include "shell/qt/main_dialog.hpp"
#include "shell_test_support.hpp"
#include "support/temp_tree.hpp"

using testing_support::RecordingPresenter;

namespace {

// What a dialog looked like when it came up.
struct Shown {
    QString title;
    QRect frame;
    QRect area;
    QStringList clipped;
    qreal points = 0;
    qreal tabStop = 0;         // of the viewer's text field
    qreal tabStopInUnits = 0;  // 32 dialog units in the font it got
};

ModalDriver::Step Record(Shown& shown) {
    return [&shown](QWidget* window) {
        shown.title = window->windowTitle();
        shown.frame = window->frameGeometry();
        shown.area = window->screen()->availableGeometry();
        shown.clipped = shell::ClippedTexts(*window);
        shown.points = window->font().pointSizeF();
        if (auto* viewer = qobject_cast<shell::CListViewDlg*>(window)) {
            shown.tabStop = viewer->ListText()->tabStopDistance();
            shown.tabStopInUnits =
                shell::DialogUnitsToPixels(QRect(0, 0, 32, 0),
                                           shell::DialogBaseUnits(viewer->ListText()->font()))
                    .width();
        }
        window->close();
    };
}

}  // namespace

class ScaleTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir scratch_;
    QString suite_;

private slots:
    void initTestCase() {
        QVERIFY(scratch_.isValid());
        suite_ = scratch_.filePath(QStringLiteral("suite"));
        QVERIFY(CopyTree(QStringLiteral(PELKOR_DEMO_SUITE), suite_));
        QApplication::setFont(shell::DialogFont());
        const QScreen* screen = QGuiApplication::primaryScreen();
        QCOMPARE(screen->devicePixelRatio(), 2.0);
        QCOMPARE(screen->availableGeometry().height() * 2, 860);  // 900 less a panel
    }

    void everyDialogStaysWithinTheScreen_data() {
        QTest::addColumn<QString>("dialog");
        QTest::newRow("main dialog") << "main";
        QTest::newRow("About box") << "about";
        QTest::newRow("viewer") << "viewer";
        QTest::newRow("picker") << "picker";
    }

    void everyDialogStaysWithinTheScreen() {
        QFETCH(QString, dialog);
        RecordingPresenter presenter;
        RecordingEditor editor;
        shell::CListMainDlg main("", &presenter, &editor);
        Shown shown;
        ModalDriver driver;
        if (dialog == QStringLiteral("main")) {
            driver.Then(Record(shown));
            driver.Start();
            main.DoModal();
        } else {
            main.OnInitDialog();
            shell::PlaceDialog(main, nullptr);
            main.show();
            main.InstallDirField()->setText(suite_);
            driver.Then(Record(shown));
            driver.Start();
            if (dialog == QStringLiteral("about")) {
                main.OnSysCommand(resources::IDM_ABOUTBOX);
            } else if (dialog == QStringLiteral("viewer")) {
                main.ShowButton()->click();
            } else {
                main.BrowseButton()->click();
            }
        }
        QVERIFY(driver.Done());
        QVERIFY(presenter.messages.empty());
        QVERIFY2(shown.area.contains(shown.frame),
                 qPrintable(QStringLiteral("%1: %2,%3 %4x%5 in %6x%7")
                                .arg(shown.title)
                                .arg(shown.frame.x())
                                .arg(shown.frame.y())
                                .arg(shown.frame.width())
                                .arg(shown.frame.height())
                                .arg(shown.area.width())
                                .arg(shown.area.height())));
        QCOMPARE(shown.clipped, QStringList());
        // The viewer is too tall for this screen at the dialog font; the rest keep it.
        const bool scaled = shown.points < shell::DialogFont().pointSizeF();
        QCOMPARE(scaled, dialog == QStringLiteral("viewer"));
        QCOMPARE(shown.tabStop, shown.tabStopInUnits);  // the tab stops scaled along
    }
};

QTEST_MAIN(ScaleTest)
#include "scale_test.moc"
