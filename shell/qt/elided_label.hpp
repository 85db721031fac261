// A one-line label that shows the end of a text too long for it, keeping the text whole.
#pragma once

#include <QLabel>
#include <QString>

namespace shell {

// A plain-text label whose text, when wider than the label, is drawn with its beginning left
// out behind an ellipsis, so the end stays in view. text() stays whole.
class ElidedLabel : public QLabel {
    Q_OBJECT

public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    // The text as it is drawn.
    QString ShownText() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace shell
