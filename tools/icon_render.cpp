// Build tool: renders the program's SVG icon to a square PNG of the given size, with the code
// the running program draws its icon with.
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <cstdio>
#include <cstdlib>

#include "shell/qt/program_icon.hpp"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s ICON.svg SIZE OUT.png\n", argv[0]);
        return 2;
    }
    const QImage image = shell::RenderIcon(QString::fromLocal8Bit(argv[1]), std::atoi(argv[2]));
    if (image.isNull()) {
        std::fprintf(stderr, "%s: cannot render %s at size %s\n", argv[0], argv[1], argv[2]);
        return 1;
    }
    const QString out = QString::fromLocal8Bit(argv[3]);
    if (!QDir().mkpath(QFileInfo(out).absolutePath()) || !image.save(out, "PNG")) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[3]);
        return 1;
    }
    return 0;
}
