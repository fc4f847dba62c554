// "Searching...": the progress of a prediction search, its counters and bars, and the one
// button that first asks the search to stop and then closes the dialog.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QString>
#include <memory>

#include "prediction/search.h"

namespace zen {

class TForm3 : public QDialog {
  Q_OBJECT

 public:
  explicit TForm3(QWidget* parent = nullptr);

  // Before a search: every text as at the start, the counters named for the kind, the button
  // "Cancel" set to ask for a stop. flags are those of the search about to run.
  void Prepare(TSearchKind kind, const QString& beginText, const QString& endText,
               const QString& siteText, const QString& timeZoneText,
               std::shared_ptr<TSearchFlags> flags);

  // The satellite line and that satellite's count of events so far.
  void SatelliteStarted(const QString& line, int satelliteCount);
  void ShowProgress(int satellitePercent, int globalPercent, const QString& estimate);
  void ShowCounts(int satelliteCount, int totalCount);
  // The search sorts: from now on the button closes the dialog.
  void SortStarted(bool interruptedByCancel);
  void ShowSortProgress(int percent);
  // The search has ended: "Finished!", and "Ok" closes the dialog.
  void Finished(bool sortStopped);

  // A close by any other way than the button is granted only while the search has been asked
  // to stop (or has ended).
  bool CloseAllowed() const;

  QLabel* beginText;
  QLabel* endText;
  QLabel* siteText;
  QLabel* timeZoneText;
  QLabel* totalLabel;  // "Total passes:" or "Total flares:"
  QLabel* totalCount;
  QLabel* satelliteLine;   // "Tracked sat K/N: NAME"
  QLabel* satelliteCount;  // "Passes: N" or "Flares: N"
  QProgressBar* satelliteBar;
  QLabel* estimate;  // "Estimate time: 3:07"
  QProgressBar* globalBar;
  QLabel* sortStatus;
  QProgressBar* sortBar;
  QPushButton* button;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // What the next press of the button does.
  enum class TButtonRole { AsksToStop, ClosesCancelled, ClosesOk };
  TButtonRole role_ = TButtonRole::AsksToStop;
  std::shared_ptr<TSearchFlags> flags_;
  QString countName_ = QStringLiteral("Passes: ");

  void onButton();
};

}  // namespace zen
