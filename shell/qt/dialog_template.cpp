// What the dialogs share: the dialog font, dialog units, fitting texts, placement, the icon.
#include "shell/qt/dialog_template.hpp"

#include <QAbstractButton>
#include <QDialog>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionButton>
#include <QVariant>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <optional>

#include "shell/qt/elided_label.hpp"
#include "shell/qt/program_icon.hpp"
#include "shell/qt/window_hints.hpp"

namespace shell {
namespace {

constexpr int kFontPoints = 9;

int MulDiv(int value, int numerator, int denominator) {
    long long product = static_cast<long long>(value) * numerator;
    long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator
                                         : (product - half) / denominator);
}

bool IsJapaneseGothic(const QString& family) {
    return family.contains(QLatin1String("Gothic"), Qt::CaseInsensitive) ||
           family.contains(QStringLiteral("ゴシック")) ||
           family.contains(QLatin1String("Sans"), Qt::CaseInsensitive);
}

// The size a control's text needs inside the control, or none for a control without text.
std::optional<QSize> NeededSize(const QWidget& widget) {
    if (qobject_cast<const ElidedLabel*>(&widget) != nullptr) {
        return std::nullopt;  // shows what fits of its text by design
    }
    const QFontMetrics metrics(widget.font());
    if (const auto* label = qobject_cast<const QLabel*>(&widget)) {
        if (label->text().isEmpty()) {
            return std::nullopt;
        }
        const QRect contents = label->contentsRect();
        const int margin = 2 * label->margin();
        if (label->wordWrap()) {
            QRect bounds =
                metrics.boundingRect(QRect(0, 0, contents.width() - margin, 1 << 20),
                                     Qt::TextWordWrap | int(label->alignment()), label->text());
            return QSize(bounds.width() + margin + (label->width() - contents.width()),
                         bounds.height() + margin + (label->height() - contents.height()));
        }
        QRect bounds = metrics.boundingRect(QRect(), Qt::TextSingleLine, label->text());
        return QSize(bounds.width() + margin + (label->width() - contents.width()),
                     metrics.height() + margin + (label->height() - contents.height()));
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(&widget)) {
        if (button->text().isEmpty()) {
            return std::nullopt;
        }
        // The label is drawn inside the frame and the default-button ring.
        QStyleOptionButton option;
        option.initFrom(button);
        const QStyle* style = button->style();
        const int inset =
            2 * (style->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, button) +
                 style->pixelMetric(QStyle::PM_ButtonDefaultIndicator, &option, button));
        QSize text = metrics.size(Qt::TextShowMnemonic, button->text());
        return QSize(text.width() + inset, text.height() + inset);
    }
    return std::nullopt;
}

// A list box is as tall as the whole rows that fit its rectangle (at least one), so no row is
// ever shown cut off at the bottom.
void FitWholeRows(QListWidget& list) {
    list.setUniformItemSizes(true);
    int row = list.count() > 0 ? list.sizeHintForRow(0) : 0;
    if (row <= 0) {
        // An empty list measures a row of its own font.
        list.addItem(QStringLiteral("Ag"));
        row = list.sizeHintForRow(0);
        delete list.takeItem(0);
    }
    if (row <= 0) {
        return;
    }
    const int frame = list.height() - list.maximumViewportSize().height();
    const int rows = std::max(1, (list.height() - frame) / row);
    list.resize(list.width(), frame + rows * row);
}

QList<QWidget*> TemplateControls(QDialog& dialog) {
    return dialog.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
}

// A dialog template's position, where it has one of its own.
constexpr const char* kTemplatePositionProperty = "templatePosition";

// The screen a dialog is shown on: its owner's, else its own, else the primary one.
QScreen* ScreenOf(const QWidget& dialog, const QWidget* owner) {
    QScreen* screen = owner != nullptr ? owner->screen() : dialog.screen();
    return screen != nullptr ? screen : QGuiApplication::primaryScreen();
}

// The frame the platform puts around the dialog, where it knows it before the dialog shows.
QMargins FrameOf(QWidget& dialog) {
    dialog.winId();
    return dialog.windowHandle() != nullptr ? dialog.windowHandle()->frameMargins() : QMargins();
}

}  // namespace

QStringList DialogFontFamilies() {
    QStringList families = {QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                            QStringLiteral("IPAPGothic"), QStringLiteral("IPA Pゴシック")};
    const QStringList japanese = QFontDatabase::families(QFontDatabase::Japanese);
    for (const QString& family : japanese) {
        if (IsJapaneseGothic(family) && !families.contains(family)) {
            families.append(family);
        }
    }
    for (const QString& family : japanese) {
        if (!families.contains(family)) {
            families.append(family);
        }
    }
    return families;
}

QFont DialogFont() {
    const QStringList installed = QFontDatabase::families();
    QStringList families;
    for (const QString& family : DialogFontFamilies()) {
        if (installed.contains(family)) {
            families.append(family);
        }
    }
    QFont font;
    if (!families.isEmpty()) {
        font.setFamilies(families);
    }
    font.setPointSize(kFontPoints);
    font.setWeight(QFont::Normal);
    return font;
}

BaseUnits DialogBaseUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return BaseUnits{(letters / 26 + 1) / 2, metrics.height()};
}

QRect DialogUnitsToPixels(const QRect& units, BaseUnits base) {
    return QRect(MulDiv(units.x(), base.x, 4), MulDiv(units.y(), base.y, 8),
                 MulDiv(units.width(), base.x, 4), MulDiv(units.height(), base.y, 8));
}

QStringList ClippedTexts(const QWidget& dialog) {
    QStringList clipped;
    for (const QWidget* control :
         dialog.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        const std::optional<QSize> needed = NeededSize(*control);
        if (!needed) {
            continue;
        }
        // A control reaching past the dialog's edge is clipped there.
        const QRect inside = control->geometry() & dialog.rect();
        if (needed->width() > inside.width() || needed->height() > inside.height()) {
            clipped.append(control->objectName());
        }
    }
    return clipped;
}

QPoint CentredOver(QSize size, const QRect& over, const QRect& workArea) {
    int x = over.x() + (over.width() - size.width()) / 2;
    int y = over.y() + (over.height() - size.height()) / 2;
    x = std::max(std::min(x, workArea.x() + workArea.width() - size.width()), workArea.x());
    y = std::max(std::min(y, workArea.y() + workArea.height() - size.height()), workArea.y());
    return QPoint(x, y);
}

void PlaceDialog(QWidget& dialog, const QWidget* owner) {
    const QScreen* screen = ScreenOf(dialog, owner);
    if (screen == nullptr) {
        return;
    }
    const QRect workArea = screen->availableGeometry();
    const QRect over = owner != nullptr ? owner->frameGeometry() : workArea;
    // move() places the frame's top-left corner, so the frame counts.
    dialog.move(CentredOver(dialog.size().grownBy(FrameOf(dialog)), over, workArea));
}

void TemplateDialog::SetUpTemplate() {
    // A modal frame with a close box: no minimize or maximize box, no resizing.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowIcon(ProgramIcon());
    // The form gave every geometry in dialog units; they are kept before any turns to pixels.
    size_ = size();
    const QVariant position = property(kTemplatePositionProperty);
    hasPosition_ = position.isValid();
    position_ = position.toPoint();
    for (const QWidget* control : TemplateControls(*this)) {
        units_.insert(control, control->geometry());
    }
    LayOut();
}

void TemplateDialog::LayOut() {
    const BaseUnits base = DialogBaseUnits(font());
    QSize client = DialogUnitsToPixels(QRect(QPoint(), size_), base).size();
    const QList<QWidget*> controls = TemplateControls(*this);
    for (QWidget* control : controls) {
        const auto units = units_.constFind(control);
        if (units == units_.constEnd()) {
            continue;
        }
        const QRect pixels = DialogUnitsToPixels(*units, base);
        if (pixels.size().isEmpty()) {
            control->move(pixels.topLeft());  // a picture keeps its own size
        } else {
            control->setGeometry(pixels);
        }
    }
    for (QWidget* control : controls) {
        if (auto* list = qobject_cast<QListWidget*>(control)) {
            FitWholeRows(*list);
        }
    }
    // Grow what would clip its text: taller pushes down what starts below it, wider widens
    // the dialog where the control would stick out.
    for (QWidget* control : controls) {
        const std::optional<QSize> needed = NeededSize(*control);
        if (!needed) {
            continue;
        }
        const QRect old = control->geometry();
        if (needed->width() > old.width()) {
            control->resize(needed->width(), control->height());
            const int margin = client.width() - (old.x() + old.width());
            client.setWidth(
                std::max(client.width(), control->x() + control->width() + std::max(margin, 0)));
        }
        if (needed->height() > old.height()) {
            const int grow = needed->height() - old.height();
            control->resize(control->width(), needed->height());
            for (QWidget* other : controls) {
                if (other != control && other->y() >= old.y() + old.height()) {
                    other->move(other->x(), other->y() + grow);
                }
            }
            client.setHeight(client.height() + grow);
        }
    }
    setFixedSize(client);
}

void TemplateDialog::showEvent(QShowEvent* event) {
    // The window exists by now and is not yet mapped, when a window manager reads its hints.
    AskForCloseBoxOnly(*this);
    QDialog::showEvent(event);
}

void TemplateDialog::FitIntoScreen() {
    const QScreen* screen = ScreenOf(*this, parentWidget());
    if (screen == nullptr) {
        return;
    }
    const QSize area = screen->availableGeometry().size();
    const QMargins frame = FrameOf(*this);
    // A smaller font makes smaller dialog units; texts are grown to fit again, so a few
    // rounds may be needed until the whole frame fits.
    for (int round = 0; round < 8; ++round) {
        const QSize outer = size().grownBy(frame);
        if (outer.width() <= area.width() && outer.height() <= area.height()) {
            return;
        }
        const qreal scale =
            std::min(qreal(area.width()) / outer.width(), qreal(area.height()) / outer.height());
        QFont smaller = font();
        const qreal points = smaller.pointSizeF() * std::min(scale, qreal(0.98));
        if (points < 4) {
            return;  // nothing would be legible any more
        }
        smaller.setPointSizeF(points);
        setFont(smaller);
        LayOut();
    }
}

int TemplateDialog::RunModal() {
    FitIntoScreen();
    const QWidget* owner = parentWidget();
    if (hasPosition_ && owner != nullptr && owner->screen() != nullptr) {
        // The template's position counts from the owner's top-left corner; the dialog is
        // kept inside the owner's screen.
        const QPoint at = owner->mapToGlobal(
            DialogUnitsToPixels(QRect(position_, QSize()), DialogBaseUnits(font())).topLeft());
        const QSize outer = size().grownBy(FrameOf(*this));
        move(CentredOver(outer, QRect(at, outer), owner->screen()->availableGeometry()));
    } else {
        PlaceDialog(*this, owner);
    }
    return exec();
}

}  // namespace shell
