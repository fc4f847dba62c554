// The "Main" page: time mode and display, simulated time, jumps, automatic stepping, refresh,
// the UTC offset, the time panel switch and the window buttons.
#include "app/main_page.h"

#include "app/actions.h"
#include "app/page_spread.h"
#include "display/time_display.h"

#include <QEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>

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

TMainPage::TMainPage(const TTracker& tracker, TTimeCommands& time, TWindowCommands& window,
                     TTrackingCommands& tracking, TUpdateCommands& update, QWidget* parent)
    : QWidget(parent), tracker_(tracker), time_(time) {
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
  autoBackward =
      Button(this, "Auto bck", "Auto backward simulation (Ctrl+PgUp)", {124, 94, 78, 24});
  autoForward = Button(this, "Auto fwd", "Auto forward simulation (Ctrl+PgDn)", {206, 94, 78, 24});

  QGroupBox* refreshGroup = Group(this, "Refresh", {292, 2, 110, 50});
  refreshGroup->setToolTip(QStringLiteral("Refresh interval (Ctrl+1,2)"));
  refresh = new QComboBox(refreshGroup);
  for (int s : kRefreshSeconds) refresh->addItem(QString::number(s));
  refresh->setGeometry(8, 20, 56, 22);
  refresh->setToolTip(refreshGroup->toolTip());
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
  timePanel = new QCheckBox(QStringLiteral("Show"), panel);
  timePanel->setGeometry(8, 20, 76, 20);
  timePanel->setToolTip(QStringLiteral("Time panel toggle (F11)"));

  exitButton = Button(this, "&Exit", "Exit application (Alt+F4)", {508, 8, 88, 26});
  minimizeButton = Button(this, "Minimize", "Minimize application (Alt+F3)", {508, 38, 88, 26});
  screenShotButton = Button(this, "Screen shot", "Screen shot (Alt+F2; Alt+Shift+F2 - map only)",
                            {508, 68, 88, 26});
  helpButton = Button(this, "Help", "Zenarith Help System (Alt+F1)", {508, 98, 88, 26});
  loadTleButton = Button(this, "&Load TLE", "Load element sets from a file", {410, 60, 90, 26});
  updateButton = Button(this, "Update TLE",
                        "Fetch new element sets from the network (quick menu: "
                        "Update elements...)",
                        {410, 92, 90, 26});

  BindButton(realTime, time.realTime);
  BindButton(simulation, time.simulation);
  BindButton(showUtc, time.showUtc);
  BindButton(showLocal, time.showLocal);
  BindComboBox(jumpUnit, time.units);
  BindComboBox(jumpMultiplier, time.multipliers);
  BindButton(jumpBack, time.jumpBackward);
  BindButton(jumpForward, time.jumpForward);
  BindButton(autoBackward, time.autoBackward);
  BindButton(autoForward, time.autoForward);
  BindComboBox(refresh, time.refreshIntervals);
  BindButton(offsetAuto, time.offsetAuto);
  BindButton(offsetPlus, time.offsetIncrease);
  BindButton(offsetMinus, time.offsetDecrease);
  BindButton(timePanel, time.timePanel);
  BindButton(exitButton, window.exit);
  BindButton(minimizeButton, window.minimize);
  BindButton(screenShotButton, window.screenShot);
  BindButton(helpButton, window.help);
  BindButton(loadTleButton, tracking.loadTle);
  BindButton(updateButton, update.updateElements);
  connect(&tracker_, &TTracker::Changed, this, [this] {
    // The moment was taken over: the field counts as not modified again.
    simTime->setModified(false);
    Sync();
  });
  connect(&tracker_, &TTracker::TimeShown, this, &TMainPage::Sync);
  new TPageSpread(*this);
  Sync();
}

void TMainPage::Sync() {
  const TTimeControl& time = tracker_.time;
  simTime->setEnabled(time.Mode() == TTimeMode::Simulation);
  autoForward->setText(QString::fromUtf8(time.AutoForwardCaption()));
  autoBackward->setText(QString::fromUtf8(time.AutoBackwardCaption()));
  offsetLabel->setText(QString::fromStdString(time.OffsetLabel()));
  ShowTime();
}

void TMainPage::ShowTime() {
  if (!simTime->hasFocus()) simTime->setText(DisplayedTimeText(tracker_.time));
}

void TMainPage::UstawCzas() {
  simTime->setText(time_.UstawCzas(simTime->displayText()));
  simTime->setModified(false);
}

bool TMainPage::eventFilter(QObject* watched, QEvent* event) {
  if (watched == simTime) {
    if (event->type() == QEvent::FocusIn) simTime->setModified(false);
    if (event->type() == QEvent::FocusOut) {
      if (simTime->isModified()) {
        UstawCzas();
      } else {
        time_.ZmianaCzasu();
      }
    }
    if (event->type() == QEvent::KeyPress) {
      auto* key = static_cast<QKeyEvent*>(event);
      if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        UstawCzas();
        return true;
      }
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace zen
