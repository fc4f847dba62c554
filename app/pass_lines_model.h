// The passes of the last search as one line each, sortable by any column.
#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "app/prediction_commands.h"

namespace zen {

class TPassLinesModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit TPassLinesModel(const TPredictionCommands& commands, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  // Orders the lines by a column; lines that tie keep the order they had.
  void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

  // The commands' pass lines changed: shown again in the order last chosen.
  void Refresh();
  // The pass line (0-based, in the commands' order) that a row of the view shows; -1: none.
  int LineOfRow(int row) const;

 private:
  const TPredictionCommands& commands_;
  std::vector<size_t> order_;  // row -> line
  int sortColumn_ = -1;        // -1: the order of the culminations
  Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
};

}  // namespace zen
