// A search's results as a table model.
#include "app/results_model.h"

#include <algorithm>

namespace zen {

TResultsModel::TResultsModel(const TPredictionCommands& commands, TSearchKind kind,
                             QStringList headings, QObject* parent)
    : QAbstractTableModel(parent), commands_(commands), kind_(kind), headings_(std::move(headings)) {}

int TResultsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}

int TResultsModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(headings_.size());
}

QVariant TResultsModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid()) return {};
  const TResultRows& rows = commands_.Rows(kind_);
  if (index.row() >= static_cast<int>(rows.size())) return {};
  if (index.row() != cachedRow_) {
    cachedCells_ = ResultCells(kind_, rows[static_cast<size_t>(index.row())]);
    cachedRow_ = index.row();
  }
  if (index.column() >= static_cast<int>(cachedCells_.size())) return QString();
  return QString::fromStdString(cachedCells_[static_cast<size_t>(index.column())]);
}

QVariant TResultsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
      section >= headings_.size()) {
    return QAbstractTableModel::headerData(section, orientation, role);
  }
  return headings_[section];
}

void TResultsModel::ShowFrom(int firstRow) {
  const int count = static_cast<int>(commands_.Rows(kind_).size());
  cachedRow_ = -1;
  if (firstRow <= 0 || count < rows_ || firstRow > rows_) {
    beginResetModel();
    rows_ = count;
    endResetModel();
    return;
  }
  // Rows from firstRow on may have changed; those past the old end are new.
  if (firstRow < rows_) {
    emit dataChanged(index(firstRow, 0), index(rows_ - 1, columnCount() - 1));
  }
  if (count > rows_) {
    beginInsertRows(QModelIndex(), rows_, count - 1);
    rows_ = count;
    endInsertRows();
  }
}

}  // namespace zen
