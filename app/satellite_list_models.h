// The Loaded and Tracked lists as models over the satellite list, and the filter that keeps
// the lines a user is looking for: no widget item per satellite, so a list of tens of
// thousands fills at once.
#pragma once

#include <QAbstractListModel>
#include <QSortFilterProxyModel>
#include <QString>
#include <vector>

#include "tracking/satellite_list.h"

namespace zen {

// A line is kept when its name or catalogue number contains text, case-blind; every line is
// kept for an empty text.
bool MatchesFilter(const QString& name, const QString& catalogNumber, const QString& text);

// The catalogue's names in file order (row r is slot r + 1).
class TLoadedModel : public QAbstractListModel {
  Q_OBJECT

 public:
  explicit TLoadedModel(const TSatelliteList& list, QObject* parent = nullptr);
  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  // The list changed beneath the model.
  void Refresh();
  // The catalogue number of a row, which the filter matches as well as the name.
  virtual QString CatalogNumberAt(int row) const;

 protected:
  const TSatelliteList& list_;
  int rows_ = 0;  // the rows the views were last told of
};

// The tracked satellites' names in list order (row r is position r + 1).
class TTrackedModel : public TLoadedModel {
  Q_OBJECT

 public:
  using TLoadedModel::TLoadedModel;
  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  void Refresh();
  QString CatalogNumberAt(int row) const override;
  // False when the tracked list holds other satellites, or in another order, than shown.
  bool ShowsList() const;

 private:
  std::vector<int32_t> shownSlots_;  // the catalogue slots of the rows shown
};

// Keeps the rows of a Loaded or Tracked model (its source) that match the filter text.
class TSatelliteFilter : public QSortFilterProxyModel {
  Q_OBJECT

 public:
  using QSortFilterProxyModel::QSortFilterProxyModel;
  void SetText(const QString& text);
  const QString& Text() const { return text_; }
  // The source rows in view, in order.
  std::vector<int> ShownSourceRows() const;

 protected:
  bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

 private:
  QString text_;
};

}  // namespace zen
