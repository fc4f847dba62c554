// The side panel: the Loaded and Tracked lists, the information table, the list tabs and button.
#include "app/side_panel.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QSignalBlocker>

#include "tracking/text_file.h"

namespace zen {

namespace {

constexpr int kPanelWidth = 167;
constexpr int kTabsHeight = 20;
constexpr int kButtonHeight = 23;

// Names from single-byte files are read as Windows-1252.
QString FromName(const std::string& name) { return QString::fromStdString(ToUtf8(name)); }

bool ShiftDown() { return QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier; }

}  // namespace

TSidePanel::TSidePanel(TSatelliteList& list, QWidget* infoTable, QWidget* parent)
    : QWidget(parent), list_(list) {
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
  loadedMenu_->addAction(QStringLiteral("Add to tracked"), this, [this] { AddSelected(false); });
  loadedMenu_->addAction(QStringLiteral("Add to tracked and activate"), this,
                         [this] { AddSelected(true); });
  loadedMenu_->addAction(QStringLiteral("Add all to tracked"), this, [this] { AddAll(); });
  loadedMenu_->addAction(QStringLiteral("Replace tracked to selected"), this,
                         [this] { ReplaceTrackedToSelected(); });
  loadedMenu_->addAction(QStringLiteral("Replace tracked to all"), this,
                         [this] { ReplaceTrackedToAll(); });
  trackedMenu_ = new QMenu(this);
  trackedMenu_->addAction(QStringLiteral("Remove selected"), this, [this] { RemoveSelected(); });
  trackedMenu_->addAction(QStringLiteral("Remove all"), this, [this] { RemoveAll(); });
  trackedMenu_->addAction(QStringLiteral("Crop"), this, [this] { Crop(); });

  connect(loaded_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& p) { loadedMenu_->popup(loaded_->viewport()->mapToGlobal(p)); });
  connect(tracked_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& p) { trackedMenu_->popup(tracked_->viewport()->mapToGlobal(p)); });
  connect(loaded_, &QListWidget::itemDoubleClicked, this,
          [this](QListWidgetItem*) { PressListButton(ShiftDown()); });
  connect(tracked_, &QListWidget::itemClicked, this, &TSidePanel::onTrackedClicked);
  connect(tabs_, &QTabBar::currentChanged, this, &TSidePanel::onTabChanged);
  connect(button_, &QPushButton::clicked, this, [this] { PressListButton(ShiftDown()); });
  onTabChanged(0);
}

void TSidePanel::resizeEvent(QResizeEvent*) {
  int h = height();
  stack_->setGeometry(0, 0, kPanelWidth, h - kTabsHeight - kButtonHeight - 2);
  tabs_->setGeometry(0, h - kTabsHeight - kButtonHeight - 2, kPanelWidth, kTabsHeight);
  button_->setGeometry(2, h - kButtonHeight - 1, kPanelWidth - 4, kButtonHeight);
}

bool TSidePanel::eventFilter(QObject* watched, QEvent* event) {
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

void TSidePanel::ApplyLoadedSelection(const TSelection& selection) {
  QSignalBlocker block(loaded_);
  for (int r = 0; r < loaded_->count(); ++r) loaded_->item(r)->setSelected(selection.count(r) > 0);
}

void TSidePanel::RebuildLists(const TTrackedView& view) {
  {
    QSignalBlocker block(loaded_);
    loaded_->clear();
    for (const std::string& name : list_.LoadedNames()) loaded_->addItem(FromName(name));
  }
  SetListTab(TListTab::Loaded);
  RefreshTracked(view);
}

void TSidePanel::RefreshTracked(const TTrackedView& view) {
  QSignalBlocker block(tracked_);
  tracked_->clear();
  for (const std::string& name : list_.TrackedNames()) tracked_->addItem(FromName(name));
  for (int row : view.selection) {
    if (row >= 0 && row < tracked_->count()) tracked_->item(row)->setSelected(true);
  }
  if (view.focusedRow >= 0 && view.focusedRow < tracked_->count()) {
    tracked_->setCurrentRow(view.focusedRow, QItemSelectionModel::NoUpdate);
  }
}

void TSidePanel::SetListTab(TListTab tab) { tabs_->setCurrentIndex(static_cast<int>(tab)); }

void TSidePanel::onTabChanged(int index) {
  TListTab tab = static_cast<TListTab>(index);
  stack_->setCurrentIndex(index);
  TListButtonText text = ListButtonText(tab);
  button_->setText(QString::fromUtf8(text.caption));
  button_->setToolTip(QString::fromUtf8(text.hint));
  if (tab == TListTab::Tracked) {
    TTrackedView view = list_.TrackedTabView();
    tracked_->clearSelection();
    RefreshTracked(view);
  }
  if (isVisible()) stack_->currentWidget()->setFocus();
}

void TSidePanel::PressListButton(bool shift) {
  switch (ListTab()) {
    case TListTab::Loaded:
      AddTr(false, shift, 0);
      return;
    case TListTab::Tracked:
      RemoveTr(shift, false, 0);
      return;
    case TListTab::Info:
      list_.ShowNext(shift);
      emit TrackingChanged();
      return;
  }
}

void TSidePanel::AddTr(bool all, bool activate, int position) {
  TSelection selection = LoadedSelection();
  TTrackedView view = list_.AddTr(all, activate, position, selection);
  ApplyLoadedSelection(selection);
  if (view.focusedRow < 0) view.selection = TrackedSelection();
  RefreshTracked(view);
  emit TrackingChanged();
}

void TSidePanel::RemoveTr(bool all, bool keepSelected, int position) {
  TTrackedView view = list_.RemoveTr(all, keepSelected, position, TrackedSelection());
  RefreshTracked(view);
  emit TrackingChanged();
}

void TSidePanel::onTrackedClicked(QListWidgetItem* item) {
  if (item == nullptr || list_.TrackedCount == 0) return;
  list_.ClickTracked(tracked_->row(item));
  emit TrackingChanged();
}

void TSidePanel::AddSelected(bool activate) { AddTr(false, activate, 0); }
void TSidePanel::AddAll() { AddTr(true, false, 0); }
void TSidePanel::ReplaceTrackedToSelected() {
  list_.RemoveTr(true, false, 0, {});
  AddTr(false, false, 0);
}
void TSidePanel::ReplaceTrackedToAll() {
  list_.RemoveTr(true, false, 0, {});
  AddTr(true, false, 0);
}
void TSidePanel::RemoveSelected() { RemoveTr(false, false, 0); }
void TSidePanel::RemoveAll() { RemoveTr(true, false, 0); }
void TSidePanel::Crop() { RemoveTr(false, true, 0); }
void TSidePanel::RemoveAt(int position) { RemoveTr(false, false, position); }
void TSidePanel::AddAt(int position) { AddTr(false, false, position); }

}  // namespace zen
