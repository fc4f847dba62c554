// Questions, messages and file choices put to the user, behind an interface tests can answer.
#include "app/user_dialogs.h"

#include "app/save_settings_dialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QWidget>

namespace zen {

namespace {

const QString kTitle = QStringLiteral("Zenarith");

// "ics" of "iCalendar (*.ics)"; empty for a filter of several patterns or of every file.
QString SuffixOfFilter(const QString& filter) {
  const qsizetype open = filter.lastIndexOf(QStringLiteral("(*."));
  if (open < 0 || !filter.endsWith(QLatin1Char(')'))) return {};
  const QString suffix = filter.mid(open + 3, filter.size() - open - 4);
  return suffix.contains(QLatin1Char(' ')) || suffix.contains(QLatin1Char('*')) ? QString()
                                                                                : suffix;
}

}  // namespace

QString CompleteFileToSave(UserDialogs& dialogs, QString file, const QString& suffix) {
  if (!QFileInfo(file).suffix().isEmpty()) return file;
  file += QLatin1Char('.') + suffix;
  if (QFileInfo::exists(file) &&
      !dialogs.Ask(file + QStringLiteral(" already exists.\nDo you want to replace it?"))) {
    return {};
  }
  return file;
}

QWidget* TQtUserDialogs::VisibleParent() const {
  return parent_ != nullptr && parent_->isVisible() ? parent_ : nullptr;
}

bool TQtUserDialogs::Ask(const QString& question) {
  return QMessageBox::question(VisibleParent(), kTitle, question,
                               QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::Yes) == QMessageBox::Yes;
}

bool TQtUserDialogs::AskDefaultNo(const QString& question) {
  return QMessageBox::question(VisibleParent(), kTitle, question,
                               QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::No) == QMessageBox::Yes;
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
  QFileDialog dialog(VisibleParent(), caption, proposal, filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  QStringList suffixes;
  for (const QString& one : dialog.nameFilters()) {
    if (!SuffixOfFilter(one).isEmpty()) suffixes << SuffixOfFilter(one);
  }
  // Choosing another file type gives the name typed that type's extension, when it had the
  // extension of one of the types offered or none.
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, suffixes](
                                                                        const QString& chosen) {
    const QString suffix = SuffixOfFilter(chosen);
    const QStringList typed = dialog.selectedFiles();
    if (suffix.isEmpty() || typed.isEmpty()) return;
    const QFileInfo name(typed.front());
    if (name.fileName().isEmpty() ||
        (!name.suffix().isEmpty() && !suffixes.contains(name.suffix(), Qt::CaseInsensitive))) {
      return;
    }
    const QString base = name.suffix().isEmpty() ? name.fileName() : name.completeBaseName();
    dialog.selectFile(base + QLatin1Char('.') + suffix);
  });
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  if (chosenFilter != nullptr) *chosenFilter = dialog.selectedNameFilter();
  return dialog.selectedFiles().front();
}

int TQtUserDialogs::ChooseSaveContent(int current) {
  TForm2 dialog(VisibleParent());
  dialog.SetChoice(current);
  return dialog.exec() == QDialog::Accepted ? dialog.Choice() : -1;
}

}  // namespace zen
