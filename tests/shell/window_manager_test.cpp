// What an X window manager reads of each dialog: a dialog window with a close box only, no
// minimize or maximize box and no resizing. Runs on the xcb platform under a virtual X server.
#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QPushButton>
#include <QtTest>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "resources/resource.hpp"
#include "shell/qt/list_viewer.hpp"
#include "shell/qt/main_dialog.hpp"
#include "shell_test_support.hpp"
#include "support/temp_tree.hpp"

using testing_support::RecordingPresenter;

namespace {

// The motif hints' flags, functions and decorations a window manager honours (the functions
// not wanted: resize 0x02, minimize 0x08, maximize 0x10; the decorations: resize handles 0x04,
// minimize 0x20, maximize 0x40).
constexpr std::uint32_t kHintsFunctions = 1;
constexpr std::uint32_t kHintsDecorations = 2;
constexpr std::uint32_t kFunctionMove = 0x04;
constexpr std::uint32_t kFunctionClose = 0x20;
constexpr std::uint32_t kDecorationBorder = 0x02;
constexpr std::uint32_t kDecorationTitle = 0x08;
constexpr std::uint32_t kDecorationMenu = 0x10;

xcb_connection_t* Connection() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->connection() : nullptr;
}

xcb_atom_t Atom(const char* name) {
    xcb_connection_t* c = Connection();
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
}

// The 32-bit items of a window property; none when it is not set.
std::vector<std::uint32_t> Property(const QWidget& window, const char* name) {
    xcb_connection_t* c = Connection();
    xcb_get_property_reply_t* reply =
        xcb_get_property_reply(c,
                               xcb_get_property(c, 0, static_cast<xcb_window_t>(window.winId()),
                                                Atom(name), XCB_GET_PROPERTY_TYPE_ANY, 0, 64),
                               nullptr);
    std::vector<std::uint32_t> items;
    if (reply != nullptr && reply->format == 32) {
        const auto* data = static_cast<const std::uint32_t*>(xcb_get_property_value(reply));
        items.assign(data, data + xcb_get_property_value_length(reply) / 4);
    }
    std::free(reply);
    return items;
}

// What a window manager read of a dialog when it came up.
struct Hints {
    QString title;
    std::vector<std::uint32_t> types;
    std::vector<std::uint32_t> motif;
};

ModalDriver::Step Read(Hints& hints) {
    return [&hints](QWidget* window) {
        hints.title = window->windowTitle();
        hints.types = Property(*window, "_NET_WM_WINDOW_TYPE");
        hints.motif = Property(*window, "_MOTIF_WM_HINTS");
        window->close();
    };
}

}  // namespace

class WindowManagerTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        if (QGuiApplication::platformName() != QStringLiteral("xcb")) {
            QSKIP(
                "needs an X server: the window manager's hints exist only on the xcb "
                "platform, and xvfb-run was not found when the build was configured");
        }
    }

    void everyDialogAsksForACloseBoxOnly_data() {
        QTest::addColumn<QString>("dialog");
        QTest::newRow("main dialog") << "main";
        QTest::newRow("About box") << "about";
        QTest::newRow("picker") << "picker";
        QTest::newRow("viewer") << "viewer";
    }

    void everyDialogAsksForACloseBoxOnly() {
        QFETCH(QString, dialog);
        RecordingPresenter presenter;
        shell::CListMainDlg main("", &presenter);
        Hints hints;
        ModalDriver driver;
        driver.Then(Read(hints));
        if (dialog == QStringLiteral("main")) {
            driver.Start();
            main.DoModal();
        } else if (dialog == QStringLiteral("viewer")) {
            shell::CListViewDlg viewer("/nonexistent/version.lis", presenter);
            driver.Start();
            viewer.DoModal();
        } else {
            main.show();
            driver.Start();
            if (dialog == QStringLiteral("about")) {
                main.OnSysCommand(resources::IDM_ABOUTBOX);
            } else {
                main.BrowseButton()->click();
            }
        }
        QVERIFY(driver.Done());
        // A dialog and nothing else, so no window manager falls back to a normal window.
        QCOMPARE(hints.types, std::vector<std::uint32_t>{Atom("_NET_WM_WINDOW_TYPE_DIALOG")});
        QVERIFY2(hints.motif.size() >= 3, qPrintable(hints.title));
        QCOMPARE(hints.motif[0] & (kHintsFunctions | kHintsDecorations),
                 kHintsFunctions | kHintsDecorations);
        QCOMPARE(hints.motif[1], kFunctionMove | kFunctionClose);
        QCOMPARE(hints.motif[2], kDecorationBorder | kDecorationTitle | kDecorationMenu);
    }
};

QTEST_MAIN(WindowManagerTest)
#include "window_manager_test.moc"
