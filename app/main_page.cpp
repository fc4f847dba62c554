// The "Main" page: time mode and display, simulated time, jumps, automatic stepping, refresh,
// the UTC offset, the time panel switch and the window buttons.
#include "app/main_page.h"

#include <QButtonGroup>
#include <QEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QSignalBlocker>

namespace zen {

namespace {

QGroupBox* Group(QWidget* parent, const char* title, QRect geometry) {
  auto* g = new QGroupBox(QString::fromUtf8(title), parent);
  g->setGeometry(geometry);
  return g;
}

QPushButton* Button(QWidget* parent, const char* caption, const char* hint, QRect geometry) {
  auto* b = new QPushButton(QString::fromUtf8(caption), parent);
  b->setToolTip(QString::fromUtf8(hint));
  b->setGeometry(geometry);
  return b;
}

}  // namespace

TMainPage::TMainPage(TTimeControl& time, QWidget* parent) : QWidget(parent), time_(time) {
  QGroupBox* calculation = Group(this, "Calculation", {4, 2, 112, 58});
  calculation->setToolTip(QStringLiteral("Time mode (Ctrl+Home, Ctrl+End)"));
  realTime = new QRadioButton(QStringLiteral("R&eal time"), calculation);
  realTime->setGeometry(8, 16, 100, 18);
  simulation = new QRadioButton(QStringLiteral("S&imulation"), calculation);
  simulation->setGeometry(8, 36, 100, 18);
  realTime->setChecked(true);

  QGroupBox* display = Group(this, "Time", {4, 62, 112, 58});
  display->setToolTip(QStringLiteral("Time displaying"));
  showUtc = new QRadioButton(QStringLiteral("&UTC"), display);
  showUtc->setGeometry(8, 16, 100, 18);
  showLocal = new QRadioButton(QStringLiteral("L&ocal"), display);
  showLocal->setGeometry(8, 36, 100, 18);

  simTime = new QLineEdit(this);
  simTime->setGeometry(124, 8, 160, 22);
  simTime->setInputMask(QStringLiteral("0000-00-00 00:00:00;_"));
  simTime->setToolTip(QStringLiteral("Simulated time"));
  simTime->installEventFilter(this);

  jumpUnit = new QComboBox(this);
  for (const char* name : kJumpUnitNames) jumpUnit->addItem(QString::fromUtf8(name));
  jumpUnit->setGeometry(124, 36, 78, 22);
  jumpUnit->setToolTip(QStringLiteral("Jump interval (Ctrl+A,S)"));
  jumpMultiplier = new QComboBox(this);
  for (const char* name : kJumpMultiplierNames) jumpMultiplier->addItem(QString::fromUtf8(name));
  jumpMultiplier->setGeometry(206, 36, 78, 22);
  jumpMultiplier->setToolTip(QStringLiteral("Jump interval (Ctrl+Q,W)"));

  jumpBack = Button(this, "-", "Jump backward (Ctrl+NUM-)", {124, 64, 38, 24});
  jumpForward = Button(this, "+", "Jump forward (Ctrl+NUM+)", {166, 64, 38, 24});
  autoBackward = Button(this, "Auto bck", "Auto backward simulation (Ctrl+PgUp)", {124, 94, 78, 24});
  autoForward = Button(this, "Auto fwd", "Auto forward simulation (Ctrl+PgDn)", {206, 94, 78, 24});

  QGroupBox* refreshGroup = Group(this, "Refresh", {292, 2, 110, 50});
  refreshGroup->setToolTip(QStringLiteral("Refresh interval (Ctrl+1,2)"));
  refresh_ = new QComboBox(refreshGroup);
  for (int s : kRefreshSeconds) refresh_->addItem(QString::number(s));
  refresh_->setGeometry(8, 20, 56, 22);
  refresh_->setToolTip(refreshGroup->toolTip());
  auto* sec = new QLabel(QStringLiteral("sec"), refreshGroup);
  sec->setGeometry(70, 22, 30, 18);

  QGroupBox* local = Group(this, "Local Time", {292, 56, 110, 70});
  local->setToolTip(QStringLiteral("UTC offset"));
  offsetLabel = new QLabel(QStringLiteral("UTC +0:00"), local);
  offsetLabel->setGeometry(8, 18, 96, 18);
  offsetLabel->setToolTip(QStringLiteral("UTC offset"));
  offsetAuto = Button(local, "Auto", "Autodetect UTC offset", {6, 40, 40, 24});
  offsetPlus = Button(local, "+", "Increase UTC offset", {48, 40, 26, 24});
  offsetMinus = Button(local, "-", "Decrease UTC offset", {76, 40, 26, 24});

  QGroupBox* panel = Group(this, "Time Panel", {410, 2, 90, 50});
  timePanel_ = new QCheckBox(QStringLiteral("Show"), panel);
  timePanel_->setGeometry(8, 20, 76, 20);
  timePanel_->setToolTip(QStringLiteral("Time panel toggle (F11)"));

  exitButton = Button(this, "&Exit", "Exit application (Alt+F4)", {508, 8, 88, 26});
  minimizeButton = Button(this, "Minimize", "Minimize application (Alt+F3)", {508, 38, 88, 26});
  screenShotButton = Button(this, "Screen shot", "Screen shot (Alt+F2; Alt+Shift+F2 - map only)",
                            {508, 68, 88, 26});
  helpButton = Button(this, "Help", "Zenarith Help System (Alt+F1)", {508, 98, 88, 26});
  loadTleButton = Button(this, "&Load TLE", "Load element sets from a file", {410, 60, 90, 26});

  auto* modes = new QButtonGroup(this);
  modes->addButton(realTime, 0);
  modes->addButton(simulation, 1);
  connect(modes, &QButtonGroup::idClicked, this, [this](int) { onModeClicked(); });
  auto* scales = new QButtonGroup(this);
  scales->addButton(showUtc, 0);
  scales->addButton(showLocal, 1);
  connect(scales, &QButtonGroup::idClicked, this, [this](int id) {
    time_.Display = id == 0 ? TTimeDisplay::Utc : TTimeDisplay::Local;
    emit TimeDisplayChanged();
  });
  connect(jumpUnit, &QComboBox::currentIndexChanged, this,
          [this](int i) { time_.JumpUnit = std::max(0, i); });
  connect(jumpMultiplier, &QComboBox::currentIndexChanged, this,
          [this](int i) { time_.JumpMultiplier = std::max(0, i); });
  connect(jumpBack, &QPushButton::clicked, this, [this] {
    time_.Jump(-1);
    emit TimeChanged();
  });
  connect(jumpForward, &QPushButton::clicked, this, [this] {
    time_.Jump(+1);
    emit TimeChanged();
  });
  connect(autoForward, &QPushButton::clicked, this, [this] {
    time_.ToggleAutoForward();
    SetAutoCaptions();
    emit TimeDisplayChanged();
  });
  connect(autoBackward, &QPushButton::clicked, this, [this] {
    time_.ToggleAutoBackward();
    SetAutoCaptions();
    emit TimeDisplayChanged();
  });
  connect(refresh_, &QComboBox::currentIndexChanged, this, [this](int i) {
    if (i >= 0) emit RefreshChanged(kRefreshSeconds[static_cast<size_t>(i)]);
  });
  connect(offsetAuto, &QPushButton::clicked, this, [this] {
    if (detectedOffset) time_.SetUTCOffset(detectedOffset());
    SetOffsetLabel();
    emit TimeChanged();
  });
  connect(offsetPlus, &QPushButton::clicked, this, [this] {
    time_.SetUTCOffset(time_.UtcOffsetHours() + 0.5);
    SetOffsetLabel();
    emit TimeChanged();
  });
  connect(offsetMinus, &QPushButton::clicked, this, [this] {
    time_.SetUTCOffset(time_.UtcOffsetHours() - 0.5);
    SetOffsetLabel();
    emit TimeChanged();
  });
  connect(timePanel_, &QCheckBox::toggled, this, [this](bool on) { emit TimePanelToggled(on); });
  SyncFromModel();
}

void TMainPage::SyncFromModel() {
  QSignalBlocker b1(jumpUnit);
  QSignalBlocker b2(jumpMultiplier);
  bool sim = time_.Mode() == TTimeMode::Simulation;
  realTime->setChecked(!sim);
  simulation->setChecked(sim);
  showUtc->setChecked(time_.Display == TTimeDisplay::Utc);
  showLocal->setChecked(time_.Display == TTimeDisplay::Local);
  jumpUnit->setCurrentIndex(time_.JumpUnit);
  jumpMultiplier->setCurrentIndex(time_.JumpMultiplier);
  for (QWidget* w : std::initializer_list<QWidget*>{jumpBack, jumpForward, autoBackward, autoForward,
                                                    simTime, jumpUnit, jumpMultiplier}) {
    w->setEnabled(sim);
  }
  SetAutoCaptions();
  SetOffsetLabel();
}

void TMainPage::SetAutoCaptions() {
  autoForward->setText(QString::fromUtf8(time_.AutoForwardCaption()));
  autoBackward->setText(QString::fromUtf8(time_.AutoBackwardCaption()));
}

void TMainPage::SetOffsetLabel() { offsetLabel->setText(QString::fromStdString(time_.OffsetLabel())); }

void TMainPage::onModeClicked() {
  TTimeMode mode = simulation->isChecked() ? TTimeMode::Simulation : TTimeMode::RealTime;
  bool toBegin = time_.SetMode(mode, beginAfterReturnToRt && beginAfterReturnToRt());
  SyncFromModel();
  if (toBegin) emit SatOnTrackToBegin();
  emit TimeChanged();
}

void TMainPage::ShowTime(const QString& text) {
  if (!simTime->hasFocus()) simTime->setText(text);
}

void TMainPage::UstawCzas() {
  std::string normal = time_.UstawCzas(simTime->text().toStdString());
  simTime->setText(QString::fromStdString(normal));
}

void TMainPage::onSimTimeEntered() { simTime->setModified(false); }

void TMainPage::onSimTimeLeft() {
  if (simTime->isModified()) UstawCzas();
  simTime->setModified(false);
  emit TimeChanged();
}

bool TMainPage::eventFilter(QObject* watched, QEvent* event) {
  if (watched == simTime) {
    if (event->type() == QEvent::FocusIn) onSimTimeEntered();
    if (event->type() == QEvent::FocusOut) onSimTimeLeft();
    if (event->type() == QEvent::KeyPress) {
      auto* key = static_cast<QKeyEvent*>(event);
      if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        UstawCzas();
        simTime->setModified(false);
        emit TimeChanged();
        return true;
      }
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace zen
