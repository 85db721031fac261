// The run's messages as modal warning boxes with an OK button.
#include "shell/qt/message_box_presenter.hpp"

#include <QCoreApplication>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>

#include "shell/message_caption.hpp"
#include "shell/qt/byte_text.hpp"
#include "shell/qt/program_icon.hpp"

namespace shell {

void MessageBoxPresenter::ShowMessage(std::string_view text) {
    // A box owned by a hidden window (the main dialog in batch mode) would be placed over
    // where that window is not; without an owner it is centred on the screen.
    QWidget* owner = owner_ != nullptr && owner_->isVisible() ? owner_ : nullptr;
    const QByteArray executable = QFile::encodeName(QCoreApplication::applicationFilePath());
    QMessageBox box(
        QMessageBox::Warning,
        TextFromBytes(MessageCaption(std::string_view(executable.constData(), executable.size()))),
        QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), QMessageBox::Ok,
        owner);
    box.setTextFormat(Qt::PlainText);  // paths may hold anything, markup included
    box.setWindowIcon(ProgramIcon());
    // The exclamation mark is the box's only picture: some styles put one on the OK button
    // too (a green arrow), which a plain OK box does not have.
    box.button(QMessageBox::Ok)->setIcon(QIcon());
    box.exec();
}

}  // namespace shell
