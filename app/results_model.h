// A search's results as a table model: each cell is formatted when a view shows it, so tens of
// thousands of passes fill the table at once and cost no memory beyond the results.
#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <string>
#include <vector>

#include "app/prediction_commands.h"

namespace zen {

class TResultsModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  TResultsModel(const TPredictionCommands& commands, TSearchKind kind, QStringList headings,
                QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

  // The commands' rows changed from firstRow on (0: all of them, a new search or an order).
  void ShowFrom(int firstRow);

 private:
  const TPredictionCommands& commands_;
  TSearchKind kind_;
  QStringList headings_;
  int rows_ = 0;  // the rows the views were last told of
  // The last row formatted: a view asks for its cells one after another.
  mutable int cachedRow_ = -1;
  mutable std::vector<std::string> cachedCells_;
};

}  // namespace zen
