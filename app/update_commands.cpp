// "Update elements...": the element update's dialog, and the loaded file read again when an
// update replaced it.
#include "app/update_commands.h"

#include <QFileInfo>
#include <filesystem>

#include "tracking/update_sources.h"

namespace zen {

TUpdateCommands::TUpdateCommands(TTrackingCommands& tracking, QWidget* window, QObject* parent)
    : QObject(parent), tracking_(tracking), window_(window) {
  updateElements = new QAction(QStringLiteral("Update elements..."), this);
  updateElements->setToolTip(QStringLiteral("Fetch new element sets from the network"));
  connect(updateElements, &QAction::triggered, this, &TUpdateCommands::ShowDialog);
}

bool TUpdateCommands::HasSources() const {
  try {
    return !ReadUpdateSources(std::filesystem::path(programFolder_.toStdString()) /
                              kUpdateSourcesFile)
                .empty();
  } catch (const std::exception&) {
    // A list that cannot be read is said when the dialog opens; there is nothing to offer.
    return false;
  }
}

void TUpdateCommands::ShowDialog() {
  if (update_ == nullptr) {
    update_ = new TSourceUpdate(programFolder_, this);
    connect(update_, &TSourceUpdate::JobDone, this, &TUpdateCommands::onJobDone);
  }
  if (dialog_ == nullptr) {
    dialog_ = new TUpdateDialog(*update_, window_);
    dialog_->loadFile = [this](const QString& file) { tracking_.LoadElementFile(file); };
  } else if (!update_->Running()) {
    dialog_->ShowSources();
  }
  dialog_->show();
  dialog_->raise();
  dialog_->activateWindow();
}

void TUpdateCommands::onJobDone(const TDownloadOutcome& outcome) {
  if (outcome.status != TDownloadStatus::Replaced) return;
  const QString loaded = tracking_.LoadedFile();
  if (loaded.isEmpty()) return;
  // The same file, however its name was written.
  const QString a = QFileInfo(loaded).canonicalFilePath();
  if (!a.isEmpty() && a == QFileInfo(outcome.target).canonicalFilePath()) {
    tracking_.ReloadKeepingTracked();
  }
}

}  // namespace zen
