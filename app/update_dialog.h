// The "Update elements" dialog: the sources list to edit, "Update now" with its progress and
// Cancel, and what each source's fetch came to.
#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <functional>
#include <vector>

#include "tracking/update_sources.h"
#include "update/source_update.h"

namespace zen {

enum TSourceColumn { kSourceName, kSourceUrl, kSourceFile, kSourceLastFetch, kSourceColumns };

// The size the dialog opens with and the least it may be resized to; the list and the log take
// what the window gains.
inline constexpr int kUpdateDialogWidth = 660;
inline constexpr int kUpdateDialogHeight = 420;
inline constexpr int kUpdateMinimumWidth = 520;
inline constexpr int kUpdateMinimumHeight = 320;

class TUpdateDialog : public QDialog {
  Q_OBJECT

 public:
  TUpdateDialog(TSourceUpdate& update, QWidget* parent = nullptr);

  // Fills the table from the sources file. A file that is there and cannot be read, or is
  // empty, is said in the status line and leaves the list empty and closed to edits, so that
  // nothing written here replaces it; it opens again once the file reads.
  void ShowSources();
  // Why the sources file cannot be read, or an empty text.
  const QString& ListError() const { return listError_; }

  // "Load": the chosen source's file is handed on to be loaded.
  std::function<void(const QString& file)> loadFile;

  QTableWidget* sources;
  QPushButton* addButton;
  QPushButton* removeButton;
  QPushButton* loadButton;
  QCheckBox* insist;  // fetch sources fetched within two hours too
  QPushButton* updateButton;
  QPushButton* cancelButton;
  QPushButton* closeButton;
  QProgressBar* progress;
  QLabel* status;
  QPlainTextEdit* log;

 private:
  TSourceUpdate& update_;
  bool filling_ = false;
  bool listSound_ = true;
  QString listError_;
  int jobIndex_ = 0;
  int jobCount_ = 0;
  QString jobName_;
  // Sources of the run by how they ended: fetched, skipped, failed or cancelled.
  int fetched_ = 0;
  int skipped_ = 0;
  int failed_ = 0;
  int cancelled_ = 0;

  std::vector<TUpdateSource> FromTable() const;
  // Writes the table into the sources file when the list is sound; says why not otherwise.
  void SaveSources();
  void AddSource();
  void RemoveSource();
  void LoadChosen();
  void UpdateNow();
  void SetRunning(bool running);
  void onJobStarted(int index, int count, const QString& name);
  void onProgress(qint64 received, qint64 total);
  void onJobDone(const TDownloadOutcome& outcome);
  void onFinished();
};

}  // namespace zen
