// The program icon, drawn from its one SVG source.
#include "shell/qt/program_icon.hpp"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

#include "resources/resource.hpp"

static void InitProgramResources() {
    Q_INIT_RESOURCE(pelkor);
}

namespace shell {

QImage RenderIcon(const QString& svgPath, int size) {
    // Drawn here rather than through Qt's SVG plugins, so the icon never depends on a plugin
    // being installed next to the library.
    QSvgRenderer renderer(svgPath);
    if (!renderer.isValid() || size <= 0) {
        return QImage();
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(0, 0, size, size));
    return image;
}

QIcon ProgramIcon() {
    static const bool registered = (InitProgramResources(), true);
    (void)registered;
    const QString path = QString::fromUtf8(resources::kIconPath.data(),
                                           static_cast<qsizetype>(resources::kIconPath.size()));
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64}) {
        icon.addPixmap(QPixmap::fromImage(RenderIcon(path, size)));
    }
    return icon;
}

}  // namespace shell
