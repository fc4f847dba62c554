// Questions, messages and file choices put to the user, behind an interface tests can answer.
#include "app/user_dialogs.h"

#include "app/save_settings_dialog.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QWidget>

namespace zen {

namespace {

const QString kTitle = QStringLiteral("Zenarith");

}  // namespace

QWidget* TQtUserDialogs::VisibleParent() const {
  return parent_ != nullptr && parent_->isVisible() ? parent_ : nullptr;
}

bool TQtUserDialogs::Ask(const QString& question) {
  return QMessageBox::question(VisibleParent(), kTitle, question,
                               QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::Yes) == QMessageBox::Yes;
}

TAnswer TQtUserDialogs::AskYesNoCancel(const QString& question) {
  switch (QMessageBox::question(VisibleParent(), kTitle, question,
                                QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                QMessageBox::Yes)) {
    case QMessageBox::Yes:
      return TAnswer::Yes;
    case QMessageBox::No:
      return TAnswer::No;
    default:
      return TAnswer::Cancel;
  }
}

void TQtUserDialogs::Inform(const QString& message) {
  QMessageBox::information(VisibleParent(), kTitle, message);
}

void TQtUserDialogs::ShowError(const QString& message) {
  QMessageBox::critical(VisibleParent(), kTitle, message);
}

QString TQtUserDialogs::ChooseFileToOpen(const QString& caption, const QString& folder,
                                         const QString& filter) {
  return QFileDialog::getOpenFileName(VisibleParent(), caption, folder, filter);
}

QString TQtUserDialogs::ChooseFileToSave(const QString& caption, const QString& proposal,
                                         const QString& filter, QString* chosenFilter) {
  return QFileDialog::getSaveFileName(VisibleParent(), caption, proposal, filter, chosenFilter);
}

int TQtUserDialogs::ChooseSaveContent(int current) {
  TForm2 dialog(VisibleParent());
  dialog.SetChoice(current);
  return dialog.exec() == QDialog::Accepted ? dialog.Choice() : -1;
}

}  // namespace zen
