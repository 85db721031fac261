// The run's messages as modal warning boxes with an OK button.
#include "shell/qt/message_box_presenter.hpp"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMessageBox>

#include "shell/qt/dialog_template.hpp"

namespace shell {

QString MessageCaption() {
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

void MessageBoxPresenter::ShowMessage(std::string_view text) {
    // A box owned by a hidden window (the main dialog in batch mode) would be placed over
    // where that window is not; without an owner it is centred on the screen.
    QWidget* owner = owner_ != nullptr && owner_->isVisible() ? owner_ : nullptr;
    QMessageBox box(QMessageBox::Warning, MessageCaption(),
                    QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                    QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);  // paths may hold anything, markup included
    box.setWindowIcon(ProgramIcon());
    box.exec();
}

}  // namespace shell
