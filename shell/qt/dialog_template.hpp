// What the dialogs share: the dialog font, dialog units, fitting texts, placement, the template.
#pragma once

#include <QDialog>
#include <QFont>
#include <QHash>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QStringList>
#include <memory>

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

// The object names of the dialog's labels and buttons whose text does not fit its control.
QStringList ClippedTexts(const QWidget& dialog);

// The top-left corner that centres a window of size over the rectangle over, moved inside
// workArea where it would stick out (its top-left corner kept inside first).
QPoint CentredOver(QSize size, const QRect& over, const QRect& workArea);

// Places a dialog centred over owner (or, without one, in the work area of its screen).
void PlaceDialog(QWidget& dialog, const QWidget* owner);

// A dialog built from its template, a form (.ui) whose geometries are in dialog units: the
// dialog font, a caption with a close box only, the program icon, and every control placed
// from its dialog units for the font the dialog gets. A text that would still be clipped in
// that font grows its control, and what lies below or beside moves along.
class TemplateDialog : public QDialog {
    Q_OBJECT

public:
    // A control's rectangle in the template, in dialog units.
    QRect TemplateUnits(const QWidget& control) const { return units_.value(&control); }
    // The dialog's size in the template, in dialog units.
    QSize TemplateSize() const { return size_; }

protected:
    // Sets the form up on the dialog and lays it out; the form lives as long as the dialog.
    template <class Form>
    TemplateDialog(std::unique_ptr<Form> form, QWidget* parent) : QDialog(parent) {
        setFont(DialogFont());
        form->setupUi(this);
        form_ = std::move(form);
        SetUpTemplate();
    }

    template <class Form>
    Form& FormOf() const {
        return *static_cast<Form*>(form_.get());
    }

    // Fits the dialog into its screen, places it (at its template position over its owner
    // where the template has one, else centred over its owner, or in the work area without
    // one) and runs it modally.
    int RunModal();

    void showEvent(QShowEvent* event) override;

    // Scales the dialog down, font and all, where its frame would not fit the screen's
    // available area as the template lays it out.
    void FitIntoScreen();

private:
    void SetUpTemplate();
    void LayOut();

    std::shared_ptr<void> form_;
    QSize size_;
    QPoint position_;
    bool hasPosition_ = false;
    QHash<const QWidget*, QRect> units_;
};

}  // namespace shell
