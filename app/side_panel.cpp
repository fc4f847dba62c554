// The side panel: the Loaded and Tracked lists, the information table, the list tabs and
// button, and the quick-menu button in its top-right corner.
#include "app/side_panel.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <algorithm>

#include "app/actions.h"

namespace zen {

namespace {

constexpr int kTabsHeight = 20;
constexpr int kButtonHeight = 23;

// Catalogue names are UTF-8.
QString FromName(const std::string& name) {
  return QString::fromStdString(name);
}

bool SameNames(const QListWidget* list, const std::vector<std::string>& names) {
  if (list->count() != static_cast<int>(names.size())) return false;
  for (int r = 0; r < list->count(); ++r) {
    if (list->item(r)->text() != FromName(names[static_cast<size_t>(r)])) return false;
  }
  return true;
}

}  // namespace

bool QuickMenuZone(int x, int y, int panelWidthPx) {
  const int reach = kQuickMenuButtonSize - 1;
  return x >= panelWidthPx - reach && x <= panelWidthPx && y >= 0 && y <= reach;
}

TSidePanel::TSidePanel(const TTracker& tracker, TTrackingCommands& tracking, QWidget* infoTable,
                       QWidget* parent)
    : QWidget(parent), tracker_(tracker), tracking_(tracking) {
  stack_ = new QStackedWidget(this);
  loaded_ = new QListWidget(stack_);
  tracked_ = new QListWidget(stack_);
  info_ = infoTable;
  for (QListWidget* w : {loaded_, tracked_}) {
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
  connect(loaded_, &QListWidget::itemDoubleClicked, this,
          [this](QListWidgetItem*) { PressListButton(ShiftHeld()); });
  connect(tracked_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    if (item != nullptr) tracking_.ClickTracked(tracked_->row(item));
  });
  connect(tabs_, &QTabBar::currentChanged, this, &TSidePanel::onTabChanged);
  connect(button_, &QPushButton::clicked, this, [this] { PressListButton(ShiftHeld()); });
  onTabChanged(0);

  quickMenuButton_ = new QToolButton(this);
  quickMenuButton_->setObjectName(QStringLiteral("quickMenuButton"));
  // The menu opens beside the button, as a submenu does beside its arrow.
  quickMenuButton_->setArrowType(Qt::RightArrow);
  quickMenuButton_->setToolTip(QStringLiteral("Quick menu"));
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

void TSidePanel::resizeEvent(QResizeEvent*) {
  PlaceQuickMenuButton();
  int h = height();
  stack_->setGeometry(0, 0, kSidePanelWidth, h - kTabsHeight - kButtonHeight - 2);
  tabs_->setGeometry(0, h - kTabsHeight - kButtonHeight - 2, kSidePanelWidth, kTabsHeight);
  button_->setGeometry(2, h - kButtonHeight - 1, kSidePanelWidth - 4, kButtonHeight);
}

bool TSidePanel::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseMove) {
    QPoint p = mapFromGlobal(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
    if (QuickMenuZone(p.x(), p.y()) && quickMenuButton_->isHidden()) ShowQuickMenuButton();
  }
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    bool press = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter ||
                 (key->key() == Qt::Key_Insert && ListTab() == TListTab::Loaded) ||
                 (key->key() == Qt::Key_Delete && ListTab() == TListTab::Tracked);
    if (press && (watched == loaded_ || watched == tracked_ || watched == info_)) {
      PressListButton(key->modifiers() & Qt::ShiftModifier);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

TSelection TSidePanel::LoadedSelection() const {
  TSelection s;
  for (int r = 0; r < loaded_->count(); ++r) {
    if (loaded_->item(r)->isSelected()) s.insert(r);
  }
  return s;
}

TSelection TSidePanel::TrackedSelection() const {
  TSelection s;
  for (int r = 0; r < tracked_->count(); ++r) {
    if (tracked_->item(r)->isSelected()) s.insert(r);
  }
  return s;
}

void TSidePanel::SetLoadedSelection(const TSelection& selection) {
  QSignalBlocker block(loaded_);
  for (int r = 0; r < loaded_->count(); ++r) loaded_->item(r)->setSelected(selection.count(r) > 0);
}

void TSidePanel::ShowCatalog(const TTrackedView& view) {
  {
    QSignalBlocker block(loaded_);
    loaded_->clear();
    for (const std::string& name : tracker_.list.LoadedNames()) loaded_->addItem(FromName(name));
    shownGeneration_ = tracker_.list.CatalogGeneration;
  }
  SetListTab(TListTab::Loaded);
  ShowTracked(view);
}

void TSidePanel::ShowTracked(const TTrackedView& view) {
  QSignalBlocker block(tracked_);
  tracked_->clear();
  for (const std::string& name : tracker_.list.TrackedNames()) tracked_->addItem(FromName(name));
  for (int row : view.selection) {
    if (row >= 0 && row < tracked_->count()) tracked_->item(row)->setSelected(true);
  }
  if (view.focusedRow >= 0 && view.focusedRow < tracked_->count()) {
    tracked_->setCurrentRow(view.focusedRow, QItemSelectionModel::NoUpdate);
  }
}

void TSidePanel::SetListTab(TListTab tab) {
  tabs_->setCurrentIndex(static_cast<int>(tab));
}

void TSidePanel::onTabChanged(int index) {
  TListTab tab = static_cast<TListTab>(index);
  stack_->setCurrentIndex(index);
  TListButtonText text = ListButtonText(tab);
  button_->setText(QString::fromUtf8(text.caption));
  button_->setToolTip(QString::fromUtf8(text.hint));
  if (tab == TListTab::Tracked) {
    TTrackedView view = tracker_.list.TrackedTabView();
    tracked_->clearSelection();
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
  } else if (!SameNames(tracked_, list.TrackedNames())) {
    ShowTracked(list.TrackedTabView());
  }
}

}  // namespace zen
