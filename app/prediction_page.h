// The "Prediction" page: the results of the last passes and flares searches, one table at a
// time, and the "Passes"/"Flares" toggle, "&Predict", "Go to" and "Save".
#pragma once

#include <QPushButton>
#include <QTableView>
#include <QWidget>

#include "app/prediction_commands.h"
#include "app/results_model.h"

namespace zen {

class TPredictionPage : public QWidget {
  Q_OBJECT

 public:
  TPredictionPage(TPredictionCommands& commands, QWidget* parent = nullptr);
  ~TPredictionPage() override;

  // The selected data row of a kind's table (0-based), -1 when none.
  int SelectedRow(TSearchKind kind) const;
  QTableView* Table(TSearchKind kind) const;

  QTableView* resultz;   // passes
  QTableView* resultzF;  // flares
  QPushButton* passes;
  QPushButton* flares;
  QPushButton* predictButton;
  QPushButton* goToButton;
  QPushButton* saveButton;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  // A taller page (a larger window) gives the tables more rows.
  void resizeEvent(QResizeEvent* event) override;

 private:
  TPredictionCommands& commands_;

  // The table of a kind shows the commands' rows from firstRow on.
  void ShowRows(TSearchKind kind, int firstRow);
  void ShowKind();
};

}  // namespace zen
