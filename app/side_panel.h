// The side panel: the Loaded and Tracked lists, the information table, the list tabs and
// button, and the quick-menu button in its top-right corner.
#pragma once

#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QToolButton>
#include <QWidget>

#include "app/tracking_commands.h"

namespace zen {

inline constexpr int kSidePanelWidth = 167;
inline constexpr int kQuickMenuButtonSize = 13;

// True where the pointer over the side panel brings up the quick-menu button (its top-right
// 13 x 13 corner).
bool QuickMenuZone(int x, int y, int panelWidthPx = kSidePanelWidth);

class TSidePanel : public QWidget, public TListSelections {
  Q_OBJECT

 public:
  // infoTable is shown on the "Info" tab; the panel takes it over. The lists show the model
  // of tracker and run the commands of tracking.
  TSidePanel(const TTracker& tracker, TTrackingCommands& tracking, QWidget* infoTable,
             QWidget* parent = nullptr);

  void SetListTab(TListTab tab);
  TListTab ListTab() const { return static_cast<TListTab>(tabs_->currentIndex()); }
  // The list button, as a click with or without Shift.
  void PressListButton(bool shift);

  QListWidget* LoadedList() const { return loaded_; }
  QListWidget* TrackedList() const { return tracked_; }
  QPushButton* ListButton() const { return button_; }
  QTabBar* Tabs() const { return tabs_; }
  QToolButton* QuickMenuButton() const { return quickMenuButton_; }
  // Shows the button, drawn whole in the part of the panel that the window shows.
  void ShowQuickMenuButton();
  void HideQuickMenuButton() { quickMenuButton_->hide(); }

  TSelection LoadedSelection() const override;
  TSelection TrackedSelection() const override;
  void SetLoadedSelection(const TSelection& selection) override;
  void ShowTracked(const TTrackedView& view) override;
  void ShowCatalog(const TTrackedView& view) override;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  const TTracker& tracker_;
  TTrackingCommands& tracking_;
  QStackedWidget* stack_;
  QListWidget* loaded_;
  QListWidget* tracked_;
  QWidget* info_;
  QTabBar* tabs_;
  QPushButton* button_;
  QToolButton* quickMenuButton_;
  QMenu* loadedMenu_;
  QMenu* trackedMenu_;
  // The catalogue load the Loaded list shows.
  uint64_t shownGeneration_ = 0;

  // After a change made elsewhere (a console command, a prediction's "Go to"), the lists show
  // the model again.
  void FollowModel();
  void PlaceQuickMenuButton();
  void onTabChanged(int index);
};

}  // namespace zen
