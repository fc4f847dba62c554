// The side panel: the filter field, the Loaded and Tracked lists, the information table, the
// list tabs and button, and the quick-menu button in its top-right corner.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QToolButton>
#include <QWidget>

#include "app/satellite_list_models.h"
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

  QListView* LoadedList() const { return loaded_; }
  QListView* TrackedList() const { return tracked_; }
  // Above both lists: keeps the lines whose name or number contains the text typed.
  QLineEdit* FilterField() const { return filter_; }
  // Beside the filter where the panel is wider than the documented one: how many lines the
  // lists hold and the filter shows. The documented panel has no room; there the list tabs'
  // tooltips tell the same.
  QLabel* CountsLabel() const { return counts_; }
  QPushButton* ListButton() const { return button_; }
  QTabBar* Tabs() const { return tabs_; }
  QToolButton* QuickMenuButton() const { return quickMenuButton_; }
  // Shows the button, drawn whole in the part of the panel that the window shows.
  void ShowQuickMenuButton();
  // The pointer left the window: the button hides, unless it is kept.
  void HideQuickMenuButton();
  // A window larger than the documented one has room for the button: it stays shown. At the
  // documented size it shows only while the pointer has come to its corner.
  void KeepQuickMenuButton(bool kept);
  bool QuickMenuButtonKept() const { return quickMenuButtonKept_; }
  // Screen shots are taken without the button; a kept one comes back after the shot.
  void HideQuickMenuButtonForShot() { quickMenuButton_->hide(); }
  void RestoreQuickMenuButton();

  TSelection LoadedSelection() const override;
  TSelection TrackedSelection() const override;
  void SetLoadedSelection(const TSelection& selection) override;
  void ShowTracked(const TTrackedView& view) override;
  void ShowCatalog(const TTrackedView& view) override;
  std::optional<std::vector<int>> ShownLoadedRows() const override;
  std::optional<std::vector<int>> ShownTrackedRows() const override;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  const TTracker& tracker_;
  TTrackingCommands& tracking_;
  QStackedWidget* stack_;
  QLineEdit* filter_;
  QLabel* counts_;
  TLoadedModel* loadedModel_;
  TTrackedModel* trackedModel_;
  TSatelliteFilter* loadedFilter_;
  TSatelliteFilter* trackedFilter_;
  QListView* loaded_;
  QListView* tracked_;
  QWidget* info_;
  QTabBar* tabs_;
  QPushButton* button_;
  QToolButton* quickMenuButton_;
  bool quickMenuButtonKept_ = false;
  QMenu* loadedMenu_;
  QMenu* trackedMenu_;
  // The catalogue load the Loaded list shows.
  uint64_t shownGeneration_ = 0;
  // Selected rows (of the models) that the filter hides: a view forgets them, and they are
  // selected again when the filter shows them. A selection the user changes starts anew.
  TSelection loadedHidden_;
  TSelection trackedHidden_;
  bool selecting_ = false;  // the panel, not the user, changes a selection

  // After a change made elsewhere (a console command, a prediction's "Go to"), the lists show
  // the model again.
  void FollowModel();
  void PlaceQuickMenuButton();
  void LayOut();
  void SetFilterText(const QString& text);
  // The counts beside the filter and in the tabs' tooltips, after any change of either list.
  void ShowCounts();
  // The filter field, and the counts beside it where the panel has room for them.
  void PlaceFilterRow();
  // The row's height: the documented one, or two lines of counts where they stand in it.
  int FilterRowHeight() const;
  // Selected source rows of a list, and a selection of source rows shown in it; hidden gets
  // the rows of the selection that the filter hides.
  static TSelection SelectedRows(const QListView* view, const TSatelliteFilter* filter);
  void SelectRows(QListView* view, const TSatelliteFilter* filter, const TSelection& rows,
                  TSelection& hidden);
  // The Tracked list's focused line on the active satellite, where the filter shows it.
  void FocusActive();
  void onTabChanged(int index);
};

}  // namespace zen
