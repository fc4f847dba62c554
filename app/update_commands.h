// "Update elements...": the element update's dialog, and the loaded file read again when an
// update replaced it.
#pragma once

#include <QAction>
#include <QObject>
#include <QPointer>
#include <QString>

#include "app/tracking_commands.h"
#include "app/update_dialog.h"
#include "update/source_update.h"

namespace zen {

class TUpdateCommands : public QObject {
  Q_OBJECT

 public:
  // window is the dialog's parent.
  TUpdateCommands(TTrackingCommands& tracking, QWidget* window, QObject* parent = nullptr);

  void SetProgramFolder(const QString& folder) { programFolder_ = folder; }

  QAction* updateElements;  // "Update elements..." in the quick menu and on the "Main" page

  // Whether any source is listed to update from (the shipped list when none was saved).
  bool HasSources() const;

  // The dialog, made with the update on first use, shown and brought to the front.
  void ShowDialog();
  TUpdateDialog* Dialog() const { return dialog_; }
  TSourceUpdate* Update() const { return update_; }

 private:
  void onJobDone(const TDownloadOutcome& outcome);

  TTrackingCommands& tracking_;
  QWidget* window_;
  QString programFolder_;
  TSourceUpdate* update_ = nullptr;
  QPointer<TUpdateDialog> dialog_;
};

}  // namespace zen
