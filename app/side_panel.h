// The side panel: the Loaded and Tracked lists, the information table, the list tabs and button.
#pragma once

#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QWidget>

#include "tracking/satellite_list.h"

namespace zen {

class TSidePanel : public QWidget {
  Q_OBJECT

 public:
  // infoTable is shown on the "Info" tab; the panel takes it over.
  TSidePanel(TSatelliteList& list, QWidget* infoTable, QWidget* parent = nullptr);

  // Rebuilds both lists from the model (after a load) and shows the "Loaded" tab.
  void RebuildLists(const TTrackedView& view);
  // The Tracked list again after a command changed it.
  void RefreshTracked(const TTrackedView& view);

  void SetListTab(TListTab tab);
  TListTab ListTab() const { return static_cast<TListTab>(tabs_->currentIndex()); }
  // The list button, as a click with or without Shift.
  void PressListButton(bool shift);

  // The tracked-list commands of the popup menus and the quick menu.
  void AddSelected(bool activate);
  void AddAll();
  void ReplaceTrackedToSelected();
  void ReplaceTrackedToAll();
  void RemoveSelected();
  void RemoveAll();
  void Crop();
  // The map popup's stop-tracking entry: removes the satellite at a tracked position.
  void RemoveAt(int position);
  // "Go to" of a prediction event: tracks catalogue entry `position` and makes it active.
  void AddAt(int position);

  QListWidget* LoadedList() const { return loaded_; }
  QListWidget* TrackedList() const { return tracked_; }
  QPushButton* ListButton() const { return button_; }
  QTabBar* Tabs() const { return tabs_; }

 signals:
  // The tracked list or the active satellite changed: recompute and redraw.
  void TrackingChanged();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  TSatelliteList& list_;
  QStackedWidget* stack_;
  QListWidget* loaded_;
  QListWidget* tracked_;
  QWidget* info_;
  QTabBar* tabs_;
  QPushButton* button_;
  QMenu* loadedMenu_;
  QMenu* trackedMenu_;

  TSelection LoadedSelection() const;
  TSelection TrackedSelection() const;
  void ApplyLoadedSelection(const TSelection& selection);
  void AddTr(bool all, bool activate, int position);
  void RemoveTr(bool all, bool keepSelected, int position);
  void onTabChanged(int index);
  void onTrackedClicked(QListWidgetItem* item);
};

}  // namespace zen
