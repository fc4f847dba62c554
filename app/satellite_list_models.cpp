// The Loaded and Tracked lists as models over the satellite list, and their filter.
#include "app/satellite_list_models.h"

namespace zen {

bool MatchesFilter(const QString& name, const QString& catalogNumber, const QString& text) {
  const QString wanted = text.trimmed();
  return wanted.isEmpty() || name.contains(wanted, Qt::CaseInsensitive) ||
         catalogNumber.contains(wanted, Qt::CaseInsensitive);
}

TLoadedModel::TLoadedModel(const TSatelliteList& list, QObject* parent)
    : QAbstractListModel(parent), list_(list) {}

int TLoadedModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}

QVariant TLoadedModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || index.row() >= list_.LoadedCount) return {};
  return QString::fromStdString(list_.Catalog.CatalogNames[static_cast<size_t>(index.row() + 1)]);
}

void TLoadedModel::Refresh() {
  beginResetModel();
  rows_ = list_.LoadedCount;
  endResetModel();
}

QString TLoadedModel::CatalogNumberAt(int row) const {
  return QString::fromStdString(
      list_.Catalog.CatalogElements[static_cast<size_t>(row + 1)].elements.catalogNumber);
}

int TTrackedModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(shownSlots_.size());
}

QVariant TTrackedModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || index.row() >= list_.TrackedCount) return {};
  return QString::fromStdString(list_.NameOf(index.row() + 1));
}

void TTrackedModel::Refresh() {
  beginResetModel();
  shownSlots_.resize(static_cast<size_t>(list_.TrackedCount));
  for (int i = 1; i <= list_.TrackedCount; ++i) {
    shownSlots_[static_cast<size_t>(i - 1)] = list_.TrackedSats[static_cast<size_t>(i)].catalogIndex;
  }
  endResetModel();
}

QString TTrackedModel::CatalogNumberAt(int row) const {
  return QString::fromStdString(list_.CatalogNumberOf(row + 1));
}

bool TTrackedModel::ShowsList() const {
  if (static_cast<int>(shownSlots_.size()) != list_.TrackedCount) return false;
  for (int i = 1; i <= list_.TrackedCount; ++i) {
    if (shownSlots_[static_cast<size_t>(i - 1)] != list_.TrackedSats[static_cast<size_t>(i)].catalogIndex)
      return false;
  }
  return true;
}

void TSatelliteFilter::SetText(const QString& text) {
  if (text == text_) return;
  text_ = text;
  invalidateFilter();
}

std::vector<int> TSatelliteFilter::ShownSourceRows() const {
  std::vector<int> rows;
  rows.reserve(static_cast<size_t>(rowCount()));
  for (int r = 0; r < rowCount(); ++r) rows.push_back(mapToSource(index(r, 0)).row());
  return rows;
}

bool TSatelliteFilter::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
  if (text_.trimmed().isEmpty()) return true;
  const auto* model = static_cast<const TLoadedModel*>(sourceModel());
  return MatchesFilter(model->index(sourceRow, 0, sourceParent).data().toString(),
                       model->CatalogNumberAt(sourceRow), text_);
}

}  // namespace zen
