// The "Prediction" page: the results of the last passes and flares searches, one table at a
// time, and the "Passes"/"Flares" toggle, "&Predict", "Go to" and "Save".
#pragma once

#include <QPushButton>
#include <QTableView>
#include <QWidget>

#include "app/pass_lines_model.h"
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
  // The pass line (in the commands' order) of the one-line view's selected row, -1 when none.
  int SelectedLine() const;
  QTableView* Table(TSearchKind kind) const;

  QTableView* resultz;   // passes
  QTableView* resultzF;  // flares
  QTableView* passLinesView;  // the passes one line each, sortable
  TPassLinesModel* passLinesModel;
  QPushButton* passLinesButton;
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

  // Each column as wide as its widest text, the name column what the table has left.
  void FitAllColumns();
  // The table of a kind shows the commands' rows from firstRow on.
  void ShowRows(TSearchKind kind, int firstRow);
  void ShowKind();
  // A row chosen by the user in one of the tables shows its details.
  void WatchChoices(QTableView* table);
  void ShowChosen(QTableView* table, int row);
};

}  // namespace zen
