// pelkor: the desktop program that writes and shows the KOMA-R version list.
#include <QApplication>

#include "shell/batch_switch.hpp"
#include "shell/qt/list_app.hpp"

int main(int argc, char** argv) {
    // The batch switch is judged on the command line as given, before Qt takes its options.
    std::string arguments = shell::ArgumentsText(argc, argv);
    QApplication application(argc, argv);
#ifdef PELKOR_APP_ID
    // The desktop matches the program's windows to its installed desktop entry by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral(PELKOR_APP_ID));
#endif
    shell::CListApp app(std::move(arguments));
    return app.InitInstance();
}
