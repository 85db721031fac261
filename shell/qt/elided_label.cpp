// A one-line label that shows the end of a text too long for it, keeping the text whole.
#include "shell/qt/elided_label.hpp"

#include <QFontMetrics>
#include <QPainter>
#include <QStyle>

namespace shell {
namespace {

QRect TextArea(const QLabel& label) {
    const int margin = label.margin();
    return label.contentsRect().adjusted(margin, margin, -margin, -margin);
}

}  // namespace

ElidedLabel::ElidedLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
}

QString ElidedLabel::ShownText() const {
    return fontMetrics().elidedText(text(), Qt::ElideLeft, TextArea(*this).width());
}

void ElidedLabel::paintEvent(QPaintEvent*) {
    // Drawn as QLabel draws plain text, only with the shown text in place of the whole.
    QPainter painter(this);
    drawFrame(&painter);
    const int flags =
        QStyle::visualAlignment(layoutDirection(), alignment()) | Qt::TextForceLeftToRight;
    style()->drawItemText(&painter, TextArea(*this), flags, palette(), isEnabled(), ShownText(),
                          foregroundRole());
}

}  // namespace shell
