// What the dialogs share: the dialog font, dialog units, fitting texts, placement, the icon.
#pragma once

#include <QFont>
#include <QIcon>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QStringList>

class QDialog;
class QWidget;

namespace shell {

// The families the dialog font is looked for in, best first: ＭＳ Ｐゴシック, then its
// metric-compatible stand-in IPAPGothic, then the installed Japanese Gothic faces.
QStringList DialogFontFamilies();

// ＭＳ Ｐゴシック at 9 points, or the first of DialogFontFamilies installed.
QFont DialogFont();

// The dialog base units of a font: the mean width of the Latin letters and the line height.
struct BaseUnits {
    int x = 0;
    int y = 0;
};
BaseUnits DialogBaseUnits(const QFont& font);

// A rectangle in dialog units converted to pixels: x in quarters of the base width, y in
// eighths of the base height, each rounded to the nearest pixel.
QRect DialogUnitsToPixels(const QRect& units, BaseUnits base);

// Lays out a dialog built from a template (.ui): the dialog and every child carrying a
// "dialogUnits" rectangle get their pixel geometry for the dialog's font. A text that would
// still be clipped in that font grows its control, and what lies below or beside moves along.
void LayOutTemplate(QDialog& dialog);

// The object names of the dialog's labels and buttons whose text does not fit its control.
QStringList ClippedTexts(const QWidget& dialog);

// The top-left corner that centres a window of size over the rectangle over, moved inside
// workArea where it would stick out (its top-left corner kept inside first).
QPoint CentredOver(QSize size, const QRect& over, const QRect& workArea);

// Places a dialog centred over owner (or, without one, in the work area of its screen).
void PlaceDialog(QWidget& dialog, const QWidget* owner);

// The program icon, IDR_MAINFRAME.
QIcon ProgramIcon();

}  // namespace shell
