// The program icon, drawn from its one SVG source for the running program and for the build's
// icon theme alike.
#pragma once

#include <QIcon>
#include <QImage>
#include <QString>

namespace shell {

// The SVG image at svgPath drawn into a transparent square of size pixels; a null image when
// the file cannot be read as SVG or size is not positive.
QImage RenderIcon(const QString& svgPath, int size);

// The program icon, IDR_MAINFRAME, in the sizes dialogs and message boxes use.
QIcon ProgramIcon();

}  // namespace shell
