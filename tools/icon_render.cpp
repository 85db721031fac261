// Build tool: renders the program's SVG icon to a square PNG of the given size, with the code
// the running program draws its own icon with. With --16-colours every pixel becomes one of the
// 16 colours of the classic Windows palette, or fully transparent, as a 16-colour icon holds it.
#include <QColor>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "shell/qt/program_icon.hpp"

namespace {

// The classic 16-colour palette (the VGA colours) the icon is drawn in.
constexpr std::array<QRgb, 16> kPalette = {
    0xFF000000, 0xFF800000, 0xFF008000, 0xFF808000, 0xFF000080, 0xFF800080, 0xFF008080, 0xFFC0C0C0,
    0xFF808080, 0xFFFF0000, 0xFF00FF00, 0xFFFFFF00, 0xFF0000FF, 0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF,
};

QRgb Nearest(QRgb pixel) {
    QRgb best = kPalette[0];
    long bestDistance = -1;
    for (QRgb colour : kPalette) {
        const long dr = qRed(pixel) - qRed(colour);
        const long dg = qGreen(pixel) - qGreen(colour);
        const long db = qBlue(pixel) - qBlue(colour);
        const long distance = dr * dr + dg * dg + db * db;
        if (bestDistance < 0 || distance < bestDistance) {
            best = colour;
            bestDistance = distance;
        }
    }
    return best;
}

// Half-covered edge pixels become opaque, the rest transparent: a 16-colour icon has a 1-bit
// mask.
QImage To16Colours(const QImage& image) {
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            line[x] = qAlpha(line[x]) < 128 ? 0 : Nearest(line[x]);
        }
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    const bool sixteen = argc == 5 && std::strcmp(argv[4], "--16-colours") == 0;
    if (argc != 4 && !sixteen) {
        std::fprintf(stderr, "usage: %s ICON.svg SIZE OUT.png [--16-colours]\n", argv[0]);
        return 2;
    }
    QImage image = shell::RenderIcon(QString::fromLocal8Bit(argv[1]), std::atoi(argv[2]));
    if (image.isNull()) {
        std::fprintf(stderr, "%s: cannot render %s at size %s\n", argv[0], argv[1], argv[2]);
        return 1;
    }
    if (sixteen) {
        // Unpremultiplied before the colours are matched, so edges keep their true colour.
        image = To16Colours(image.convertToFormat(QImage::Format_ARGB32));
    }
    const QString out = QString::fromLocal8Bit(argv[3]);
    if (!QDir().mkpath(QFileInfo(out).absolutePath()) || !image.save(out, "PNG")) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[3]);
        return 1;
    }
    return 0;
}
