// Reading and selecting the lines of the side panel's list views, as a user sees them.
#pragma once

#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <QString>

namespace zen::test {

inline int Rows(const QAbstractItemView* view) { return view->model()->rowCount(); }

inline QString Line(const QAbstractItemView* view, int row) {
  return view->model()->index(row, 0).data().toString();
}

inline void SelectLine(QAbstractItemView* view, int row) {
  view->selectionModel()->select(view->model()->index(row, 0), QItemSelectionModel::Select);
}

inline bool NothingSelected(const QAbstractItemView* view) {
  return !view->selectionModel()->hasSelection();
}

inline int CurrentLine(const QAbstractItemView* view) { return view->currentIndex().row(); }

}  // namespace zen::test
