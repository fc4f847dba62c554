// The side panel: the filter field, the Loaded and Tracked lists, the information table, the
// list tabs and button, and the quick-menu button in its top-right corner.
#include "app/side_panel.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <algorithm>

#include "app/actions.h"
#include "tracking/list_counts.h"

namespace zen {

namespace {

constexpr int kTabsHeight = 20;
constexpr int kButtonHeight = 23;
constexpr int kFilterHeight = 20;
// Names the button and what it holds, for a user who meets it before reading the help.
constexpr const char* kQuickMenuHint =
    "Quick menu: Load TLE..., Station..., settings, time and display options (Shift+Menu key)";

}  // namespace

bool QuickMenuZone(int x, int y, int panelWidthPx) {
  const int reach = kQuickMenuButtonSize - 1;
  return x >= panelWidthPx - reach && x <= panelWidthPx && y >= 0 && y <= reach;
}

TSidePanel::TSidePanel(const TTracker& tracker, TTrackingCommands& tracking, QWidget* infoTable,
                       QWidget* parent)
    : QWidget(parent), tracker_(tracker), tracking_(tracking) {
  stack_ = new QStackedWidget(this);
  filter_ = new QLineEdit(this);
  filter_->setObjectName(QStringLiteral("satelliteFilter"));
  filter_->setPlaceholderText(QStringLiteral("Filter"));
  filter_->setToolTip(QStringLiteral("Show the satellites whose name or number contains this"));
  // No clear button: the quick-menu button comes up in that corner; Escape empties the field.
  counts_ = new QLabel(this);
  counts_->setObjectName(QStringLiteral("listCounts"));
  counts_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  loadedModel_ = new TLoadedModel(tracker_.list, this);
  trackedModel_ = new TTrackedModel(tracker_.list, this);
  loadedFilter_ = new TSatelliteFilter(this);
  loadedFilter_->setSourceModel(loadedModel_);
  trackedFilter_ = new TSatelliteFilter(this);
  trackedFilter_->setSourceModel(trackedModel_);
  loaded_ = new QListView(stack_);
  tracked_ = new QListView(stack_);
  loaded_->setModel(loadedFilter_);
  tracked_->setModel(trackedFilter_);
  connect(loaded_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
    if (!selecting_) loadedHidden_.clear();
  });
  connect(tracked_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
    if (!selecting_) trackedHidden_.clear();
  });
  info_ = infoTable;
  for (QListView* w : {loaded_, tracked_}) {
    // Every line is as tall as the next, so a list of tens of thousands lays out at once.
    w->setUniformItemSizes(true);
    w->setEditTriggers(QAbstractItemView::NoEditTriggers);
    w->setSelectionMode(QAbstractItemView::ExtendedSelection);
    w->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    w->setContextMenuPolicy(Qt::CustomContextMenu);
    w->installEventFilter(this);
  }
  stack_->addWidget(loaded_);
  stack_->addWidget(tracked_);
  if (info_ != nullptr) {
    info_->setParent(stack_);
    stack_->addWidget(info_);
    info_->installEventFilter(this);
  } else {
    stack_->addWidget(new QWidget(stack_));
  }

  tabs_ = new QTabBar(this);
  tabs_->addTab(QStringLiteral("Loaded"));
  tabs_->addTab(QStringLiteral("Tracked"));
  tabs_->addTab(QStringLiteral("Info"));
  tabs_->setExpanding(true);
  tabs_->setDrawBase(false);
  tabs_->setUsesScrollButtons(false);
  // Three tabs share the panel's width.
  tabs_->setStyleSheet(QStringLiteral("QTabBar::tab { width: 51px; padding: 1px 2px; }"));
  button_ = new QPushButton(this);

  loadedMenu_ = new QMenu(this);
  loadedMenu_->addAction(tracking_.addSelected);
  loadedMenu_->addAction(tracking_.addSelectedAndActivate);
  loadedMenu_->addAction(tracking_.addAll);
  loadedMenu_->addAction(tracking_.replaceWithSelected);
  loadedMenu_->addAction(tracking_.replaceWithAll);
  trackedMenu_ = new QMenu(this);
  trackedMenu_->addAction(tracking_.removeSelected);
  trackedMenu_->addAction(tracking_.removeAll);
  trackedMenu_->addAction(tracking_.crop);

  connect(loaded_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& p) { loadedMenu_->popup(loaded_->viewport()->mapToGlobal(p)); });
  connect(tracked_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& p) { trackedMenu_->popup(tracked_->viewport()->mapToGlobal(p)); });
  connect(loaded_, &QListView::doubleClicked, this,
          [this](const QModelIndex&) { PressListButton(ShiftHeld()); });
  connect(tracked_, &QListView::clicked, this, [this](const QModelIndex& index) {
    if (index.isValid()) tracking_.ClickTracked(trackedFilter_->mapToSource(index).row());
  });
  connect(filter_, &QLineEdit::textChanged, this, &TSidePanel::SetFilterText);
  // Whatever changes a list (a filter, a load, a bulk command) ends in one of these.
  for (TSatelliteFilter* filter : {loadedFilter_, trackedFilter_}) {
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved}) {
      connect(filter, signal, this, &TSidePanel::ShowCounts);
    }
    connect(filter, &QAbstractItemModel::modelReset, this, &TSidePanel::ShowCounts);
    connect(filter, &QAbstractItemModel::layoutChanged, this, &TSidePanel::ShowCounts);
  }
  connect(tabs_, &QTabBar::currentChanged, this, &TSidePanel::onTabChanged);
  connect(button_, &QPushButton::clicked, this, [this] { PressListButton(ShiftHeld()); });
  onTabChanged(0);

  quickMenuButton_ = new QToolButton(this);
  quickMenuButton_->setObjectName(QStringLiteral("quickMenuButton"));
  // The menu opens beside the button, as a submenu does beside its arrow.
  quickMenuButton_->setArrowType(Qt::RightArrow);
  quickMenuButton_->setToolTip(QString::fromLatin1(kQuickMenuHint));
  quickMenuButton_->hide();
  // Moves over any part of the panel tell whether the pointer reached the corner.
  setMouseTracking(true);
  for (QWidget* w : findChildren<QWidget*>()) {
    w->setMouseTracking(true);
    w->installEventFilter(this);
  }
  connect(&tracker_, &TTracker::Changed, this, &TSidePanel::FollowModel);
}

void TSidePanel::PlaceQuickMenuButton() {
  // The window may show less of the panel than its width (the last column of the documented
  // layout lies one pixel beyond the window's right edge); the button keeps to the part shown.
  int right = width();
  if (const QWidget* window = parentWidget()) right = std::min(right, window->width() - x());
  quickMenuButton_->setGeometry(right - kQuickMenuButtonSize, 0, kQuickMenuButtonSize,
                                kQuickMenuButtonSize);
}

void TSidePanel::ShowQuickMenuButton() {
  PlaceQuickMenuButton();
  quickMenuButton_->show();
  quickMenuButton_->raise();
}

void TSidePanel::HideQuickMenuButton() {
  if (!quickMenuButtonKept_) quickMenuButton_->hide();
}

void TSidePanel::KeepQuickMenuButton(bool kept) {
  if (kept == quickMenuButtonKept_) return;
  quickMenuButtonKept_ = kept;
  // Typed text stops short of a button that stays over the filter's end.
  filter_->setTextMargins(0, 0, kept ? kQuickMenuButtonSize : 0, 0);
  if (kept) {
    ShowQuickMenuButton();
  } else {
    quickMenuButton_->hide();
  }
}

void TSidePanel::RestoreQuickMenuButton() {
  if (quickMenuButtonKept_) ShowQuickMenuButton();
}

void TSidePanel::resizeEvent(QResizeEvent*) {
  PlaceQuickMenuButton();
  LayOut();
  ShowCounts();
}

void TSidePanel::LayOut() {
  // The filter stands over the two lists; the information table has the whole height.
  const int h = height();
  const int w = width();
  const bool filtered = ListTab() != TListTab::Info;
  const int top = filtered ? FilterRowHeight() : 0;
  filter_->setVisible(filtered);
  PlaceFilterRow();
  stack_->setGeometry(0, top, w, h - kTabsHeight - kButtonHeight - 2 - top);
  tabs_->setGeometry(0, h - kTabsHeight - kButtonHeight - 2, w, kTabsHeight);
  button_->setGeometry(2, h - kButtonHeight - 1, w - 4, kButtonHeight);
}

int TSidePanel::FilterRowHeight() const {
  if (width() <= kSidePanelWidth) return kFilterHeight;
  // Two lines of counts beside the field.
  return std::max(kFilterHeight, 2 * counts_->fontMetrics().height() + 2);
}

void TSidePanel::PlaceFilterRow() {
  const int w = width();
  const int h = FilterRowHeight();
  const bool room = w > kSidePanelWidth && ListTab() != TListTab::Info;
  counts_->setVisible(room);
  if (!room) {
    filter_->setGeometry(0, 0, w, h);
    return;
  }
  // The field keeps room for a few words; a longer count is cut short, its tooltip whole. The
  // counts keep clear of the quick-menu button's corner.
  constexpr int kCountsMarginPx = 4;
  constexpr int kFieldLeastPx = 90;
  const int rightMargin = kQuickMenuButtonSize + kCountsMarginPx;
  int wanted = 0;
  for (const QString& line : counts_->text().split(QLatin1Char('\n'))) {
    wanted = std::max(wanted, counts_->fontMetrics().horizontalAdvance(line));
  }
  const int countsWidth =
      std::min(wanted + kCountsMarginPx + rightMargin, std::max(w / 2, w - kFieldLeastPx));
  filter_->setGeometry(0, 0, w - countsWidth, h);
  counts_->setGeometry(w - countsWidth + kCountsMarginPx, 0,
                       countsWidth - kCountsMarginPx - rightMargin, h);
}

void TSidePanel::ShowCounts() {
  TListCounts counts;
  counts.loaded = loadedModel_->rowCount();
  counts.loadedShown = loadedFilter_->rowCount();
  counts.tracked = trackedModel_->rowCount();
  counts.trackedShown = trackedFilter_->rowCount();
  counts.filtered = !loadedFilter_->Text().trimmed().isEmpty();
  const QString loaded = QString::fromStdString(ListCountText(TListTab::Loaded, counts));
  const QString tracked = QString::fromStdString(ListCountText(TListTab::Tracked, counts));
  counts_->setText(QString::fromStdString(FilterRowCountText(ListTab(), counts)));
  counts_->setToolTip(loaded + QLatin1Char('\n') + tracked);
  // Where the row has no room the tabs carry the counts.
  const bool room = width() > kSidePanelWidth;
  tabs_->setTabToolTip(static_cast<int>(TListTab::Loaded), room ? QString() : loaded);
  tabs_->setTabToolTip(static_cast<int>(TListTab::Tracked), room ? QString() : tracked);
  PlaceFilterRow();
}

void TSidePanel::SetFilterText(const QString& text) {
  // The selection and the focused line stay on the satellites, not on the rows, also on those
  // an earlier text hid.
  TSelection loaded = LoadedSelection();
  loaded.insert(loadedHidden_.begin(), loadedHidden_.end());
  TSelection tracked = TrackedSelection();
  tracked.insert(trackedHidden_.begin(), trackedHidden_.end());
  {
    QScopedValueRollback<bool> panelSelects(selecting_, true);
    loadedFilter_->SetText(text);
    trackedFilter_->SetText(text);
  }
  SelectRows(loaded_, loadedFilter_, loaded, loadedHidden_);
  SelectRows(tracked_, trackedFilter_, tracked, trackedHidden_);
  FocusActive();
  ShowCounts();
}

void TSidePanel::FocusActive() {
  const TSatelliteList& list = tracker_.list;
  if (!list.HasActiveSat() || list.ActiveSat > trackedModel_->rowCount()) return;
  const QModelIndex focus =
      trackedFilter_->mapFromSource(trackedModel_->index(list.ActiveSat - 1, 0));
  if (!focus.isValid()) return;
  QScopedValueRollback<bool> panelSelects(selecting_, true);
  QSignalBlocker block(tracked_);
  tracked_->selectionModel()->setCurrentIndex(focus, QItemSelectionModel::NoUpdate);
  tracked_->scrollTo(focus);
}

bool TSidePanel::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseMove) {
    QPoint p = mapFromGlobal(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
    if (QuickMenuZone(p.x(), p.y(), width()) && quickMenuButton_->isHidden()) ShowQuickMenuButton();
  }
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    bool press = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter ||
                 (key->key() == Qt::Key_Insert && ListTab() == TListTab::Loaded) ||
                 (key->key() == Qt::Key_Delete && ListTab() == TListTab::Tracked);
    const bool inInfo = watched == info_ || (info_ != nullptr && watched->isWidgetType() &&
                                             info_->isAncestorOf(static_cast<QWidget*>(watched)));
    if (press && (watched == loaded_ || watched == tracked_ || inInfo)) {
      PressListButton(key->modifiers() & Qt::ShiftModifier);
      return true;
    }
    // Escape in the filter shows every line again; Down goes on to the list.
    if (watched == filter_ && key->key() == Qt::Key_Escape && !filter_->text().isEmpty()) {
      filter_->clear();
      return true;
    }
    if (watched == filter_ && key->key() == Qt::Key_Down) {
      stack_->currentWidget()->setFocus();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

TSelection TSidePanel::SelectedRows(const QListView* view, const TSatelliteFilter* filter) {
  TSelection s;
  const QItemSelection shown = view->selectionModel()->selection();
  for (const QItemSelectionRange& range : shown) {
    for (int r = range.top(); r <= range.bottom(); ++r) {
      s.insert(s.end(), filter->mapToSource(filter->index(r, 0)).row());
    }
  }
  return s;
}

void TSidePanel::SelectRows(QListView* view, const TSatelliteFilter* filter, const TSelection& rows,
                            TSelection& hidden) {
  QScopedValueRollback<bool> panelSelects(selecting_, true);
  hidden.clear();
  // Neighbouring rows go in as one range: selecting tens of thousands stays quick.
  std::vector<int> shown;
  shown.reserve(rows.size());
  for (int row : rows) {
    if (row < 0 || row >= filter->sourceModel()->rowCount()) continue;
    const QModelIndex index = filter->mapFromSource(filter->sourceModel()->index(row, 0));
    if (index.isValid()) {
      shown.push_back(index.row());
    } else {
      hidden.insert(hidden.end(), row);
    }
  }
  std::sort(shown.begin(), shown.end());
  QItemSelection selection;
  for (size_t i = 0; i < shown.size();) {
    size_t j = i;
    while (j + 1 < shown.size() && shown[j + 1] == shown[j] + 1) ++j;
    selection.select(filter->index(shown[i], 0), filter->index(shown[j], 0));
    i = j + 1;
  }
  QSignalBlocker block(view);
  view->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

TSelection TSidePanel::LoadedSelection() const {
  return SelectedRows(loaded_, loadedFilter_);
}

TSelection TSidePanel::TrackedSelection() const {
  return SelectedRows(tracked_, trackedFilter_);
}

void TSidePanel::SetLoadedSelection(const TSelection& selection) {
  SelectRows(loaded_, loadedFilter_, selection, loadedHidden_);
}

std::optional<std::vector<int>> TSidePanel::ShownLoadedRows() const {
  if (loadedFilter_->Text().trimmed().isEmpty()) return std::nullopt;
  return loadedFilter_->ShownSourceRows();
}

std::optional<std::vector<int>> TSidePanel::ShownTrackedRows() const {
  if (trackedFilter_->Text().trimmed().isEmpty()) return std::nullopt;
  return trackedFilter_->ShownSourceRows();
}

void TSidePanel::ShowCatalog(const TTrackedView& view) {
  {
    QScopedValueRollback<bool> panelSelects(selecting_, true);
    loadedModel_->Refresh();
  }
  loadedHidden_.clear();
  shownGeneration_ = tracker_.list.CatalogGeneration;
  SetListTab(TListTab::Loaded);
  ShowTracked(view);
}

void TSidePanel::ShowTracked(const TTrackedView& view) {
  {
    QScopedValueRollback<bool> panelSelects(selecting_, true);
    trackedModel_->Refresh();
  }
  SelectRows(tracked_, trackedFilter_, view.selection, trackedHidden_);
  if (view.focusedRow >= 0 && view.focusedRow < trackedModel_->rowCount()) {
    const QModelIndex focus = trackedFilter_->mapFromSource(trackedModel_->index(view.focusedRow, 0));
    if (focus.isValid()) {
      QSignalBlocker block(tracked_);
      tracked_->selectionModel()->setCurrentIndex(focus, QItemSelectionModel::NoUpdate);
      tracked_->scrollTo(focus);
    }
  }
}

void TSidePanel::SetListTab(TListTab tab) {
  tabs_->setCurrentIndex(static_cast<int>(tab));
}

void TSidePanel::onTabChanged(int index) {
  TListTab tab = static_cast<TListTab>(index);
  stack_->setCurrentIndex(index);
  LayOut();
  ShowCounts();
  TListButtonText text = ListButtonText(tab);
  button_->setText(QString::fromUtf8(text.caption));
  button_->setToolTip(QString::fromUtf8(text.hint));
  if (tab == TListTab::Tracked) {
    TTrackedView view = tracker_.list.TrackedTabView();
    {
      QScopedValueRollback<bool> panelSelects(selecting_, true);
      tracked_->clearSelection();
    }
    ShowTracked(view);
  }
  if (isVisible()) stack_->currentWidget()->setFocus();
}

void TSidePanel::PressListButton(bool shift) {
  switch (ListTab()) {
    case TListTab::Loaded:
      tracking_.AddTr(false, shift, 0);
      return;
    case TListTab::Tracked:
      tracking_.RemoveTr(shift, false, 0);
      return;
    case TListTab::Info:
      tracking_.ShowNext(shift);
      return;
  }
}

void TSidePanel::FollowModel() {
  const TSatelliteList& list = tracker_.list;
  if (list.CatalogGeneration != shownGeneration_) {
    ShowCatalog(list.TrackedTabView());
  } else if (!trackedModel_->ShowsList()) {
    ShowTracked(list.TrackedTabView());
  }
}

}  // namespace zen
