// The passes of the last search as one line each.
#include "app/pass_lines_model.h"

#include <numeric>

#include "prediction/pass_lines.h"

namespace zen {

TPassLinesModel::TPassLinesModel(const TPredictionCommands& commands, QObject* parent)
    : QAbstractTableModel(parent), commands_(commands) {
  Refresh();
}

int TPassLinesModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(order_.size());
}

int TPassLinesModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kPassColumnCount;
}

QVariant TPassLinesModel::data(const QModelIndex& index, int role) const {
  const int line = index.isValid() ? LineOfRow(index.row()) : -1;
  if (line < 0) return {};
  if (role == Qt::TextAlignmentRole && index.column() != 0) {
    return QVariant(Qt::AlignRight | Qt::AlignVCenter);
  }
  if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
  const TPassLine& pass = commands_.PassLines()[static_cast<size_t>(line)];
  if (role == Qt::ToolTipRole) {
    return QString::fromStdString(
        DateRecToText(pass.rise.time) + " to " + DateRecToText(pass.set.time) +
        (pass.rise.inProgress ? " (*: already in progress at the start of the period)" : ""));
  }
  const std::vector<std::string> cells = PassLineCells(pass);
  if (index.column() >= static_cast<int>(cells.size())) return {};
  return QString::fromStdString(cells[static_cast<size_t>(index.column())]);
}

QVariant TPassLinesModel::headerData(int section, Qt::Orientation orientation, int role) const {
  const std::vector<std::string>& headings = PassLineHeadings();
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
      section >= static_cast<int>(headings.size())) {
    return QAbstractTableModel::headerData(section, orientation, role);
  }
  return QString::fromStdString(headings[static_cast<size_t>(section)]);
}

void TPassLinesModel::sort(int column, Qt::SortOrder order) {
  if (column < 0 || column >= kPassColumnCount) return;
  sortColumn_ = column;
  sortOrder_ = order;
  Refresh();
}

void TPassLinesModel::Refresh() {
  beginResetModel();
  if (sortColumn_ >= 0) {
    order_ = PassLineOrder(commands_.PassLines(), static_cast<TPassColumn>(sortColumn_),
                           sortOrder_ == Qt::DescendingOrder);
  } else {
    order_.resize(commands_.PassLines().size());
    std::iota(order_.begin(), order_.end(), size_t{0});
  }
  endResetModel();
}

int TPassLinesModel::LineOfRow(int row) const {
  if (row < 0 || row >= static_cast<int>(order_.size())) return -1;
  return static_cast<int>(order_[static_cast<size_t>(row)]);
}

}  // namespace zen
