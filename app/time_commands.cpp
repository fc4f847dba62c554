// Every command on time: calculation mode, time scale, jumps and automatic stepping, the
// simulated moment, the UTC offset, the refresh interval, the time panel and both timers.
#include "app/time_commands.h"

#include "app/actions.h"

#include <algorithm>
#include <utility>

namespace zen {

namespace {

constexpr int kClockIntervalMs = 1000;
constexpr double kOffsetStepHours = 0.5;

// The captions of the quick menu's entries for the jump multipliers and units.
constexpr std::array<const char*, 8> kMultiplierEntries = {"0,25", "0,50", "1",  "5",
                                                           "10",   "20",   "30", "60"};
constexpr std::array<const char*, 6> kUnitEntries = {"Sec", "Min",    "Hour",
                                                     "Day", "Period", "Marker"};

void Check(QActionGroup* group, int index) {
  const QList<QAction*> actions = group->actions();
  if (index >= 0 && index < actions.size()) actions[index]->setChecked(true);
}

}  // namespace

TTimeCommands::TTimeCommands(TTracker& tracker, std::function<double()> detectedOffset,
                             UserDialogs& dialogs, QObject* parent)
    : QObject(parent),
      tracker_(tracker),
      detectedOffset_(std::move(detectedOffset)),
      dialogs_(dialogs) {
  modes = new QActionGroup(this);
  realTime = AddChoice(modes, QStringLiteral("Real Time"));
  simulation = AddChoice(modes, QStringLiteral("Simulation"));
  connect(realTime, &QAction::triggered, this, [this] { SetMode(TTimeMode::RealTime); });
  connect(simulation, &QAction::triggered, this, [this] { SetMode(TTimeMode::Simulation); });

  scales = new QActionGroup(this);
  showUtc = AddChoice(scales, QStringLiteral("Show UTC"));
  showLocal = AddChoice(scales, QStringLiteral("Show Machine Time"));
  connect(showUtc, &QAction::triggered, this, [this] { SetDisplay(TTimeDisplay::Utc); });
  connect(showLocal, &QAction::triggered, this, [this] { SetDisplay(TTimeDisplay::Local); });

  jumpBackward = new QAction(QStringLiteral("Jump backward"), this);
  jumpForward = new QAction(QStringLiteral("Jump forward"), this);
  connect(jumpBackward, &QAction::triggered, this, [this] { Jump(-1); });
  connect(jumpForward, &QAction::triggered, this, [this] { Jump(+1); });

  automatic = new QActionGroup(this);
  autoBackward = AddChoice(automatic, QStringLiteral("Auto Backward"));
  autoOff = AddChoice(automatic, QStringLiteral("Auto Off"));
  autoForward = AddChoice(automatic, QStringLiteral("Auto Forward"));
  connect(autoBackward, &QAction::triggered, this, &TTimeCommands::ToggleAutoBackward);
  connect(autoOff, &QAction::triggered, this, &TTimeCommands::StopAutomatic);
  connect(autoForward, &QAction::triggered, this, &TTimeCommands::ToggleAutoForward);

  units = new QActionGroup(this);
  for (const char* caption : kUnitEntries) AddChoice(units, QString::fromLatin1(caption));
  multipliers = new QActionGroup(this);
  for (const char* caption : kMultiplierEntries)
    AddChoice(multipliers, QString::fromLatin1(caption));
  refreshIntervals = new QActionGroup(this);
  for (int seconds : kRefreshSeconds) AddChoice(refreshIntervals, QString::number(seconds));
  connect(units, &QActionGroup::triggered, this,
          [this](QAction* a) { SetJumpUnit(a->data().toInt()); });
  connect(multipliers, &QActionGroup::triggered, this,
          [this](QAction* a) { SetJumpMultiplier(a->data().toInt()); });
  connect(refreshIntervals, &QActionGroup::triggered, this,
          [this](QAction* a) { SetRefreshIndex(a->data().toInt()); });

  offsetAuto = new QAction(QStringLiteral("Autodetect UTC offset"), this);
  offsetIncrease = new QAction(QStringLiteral("Increase UTC offset"), this);
  offsetDecrease = new QAction(QStringLiteral("Decrease UTC offset"), this);
  connect(offsetAuto, &QAction::triggered, this, [this] { SetOffset(detectedOffset_()); });
  connect(offsetIncrease, &QAction::triggered, this,
          [this] { SetOffset(tracker_.time.UtcOffsetHours() + kOffsetStepHours); });
  connect(offsetDecrease, &QAction::triggered, this,
          [this] { SetOffset(tracker_.time.UtcOffsetHours() - kOffsetStepHours); });

  timePanel = new QAction(QStringLiteral("Time Panel"), this);
  timePanel->setCheckable(true);
  connect(timePanel, &QAction::triggered, this, &TTimeCommands::SetTimePanelShown);

  clockTimer.setInterval(kClockIntervalMs);
  connect(&clockTimer, &QTimer::timeout, this, &TTimeCommands::ClockTick);
  connect(&refreshTimer, &QTimer::timeout, this, &TTimeCommands::RefreshTick);
  connect(&tracker_, &TTracker::Changed, this, &TTimeCommands::Sync);
  connect(&tracker_, &TTracker::TimeShown, this, &TTimeCommands::Sync);
  Sync();
}

void TTimeCommands::Sync() {
  const TTimeControl& time = tracker_.time;
  bool sim = time.Mode() == TTimeMode::Simulation;
  (sim ? simulation : realTime)->setChecked(true);
  (time.Display == TTimeDisplay::Utc ? showUtc : showLocal)->setChecked(true);
  Check(automatic, time.AutoStep + 1);
  Check(units, time.JumpUnit);
  Check(multipliers, time.JumpMultiplier);
  Check(refreshIntervals, tracker_.view.refreshIndex);
  for (QAction* a : {jumpBackward, jumpForward}) a->setEnabled(sim);
  for (QActionGroup* g : {automatic, units, multipliers}) g->setEnabled(sim);
  timePanel->setChecked(tracker_.view.timePanelShown);
}

void TTimeCommands::ApplyMode(TTimeMode mode) {
  if (tracker_.time.SetMode(mode, tracker_.show.beginAfterReturnToRt)) {
    tracker_.show.satOnTrack = TSatOnTrack::Begin;
  }
}

void TTimeCommands::SetMode(TTimeMode mode) {
  ApplyMode(mode);
  tracker_.ZmianaCzasu();
}

void TTimeCommands::SetDisplay(TTimeDisplay display) {
  tracker_.time.Display = display;
  tracker_.ShowTimeAgain();
}

void TTimeCommands::Jump(int direction) {
  if (tracker_.time.Mode() != TTimeMode::Simulation) return;
  tracker_.time.Jump(direction);
  tracker_.ZmianaCzasu();
}

void TTimeCommands::ToggleAutoForward() {
  if (tracker_.time.Mode() != TTimeMode::Simulation) return;
  tracker_.time.ToggleAutoForward();
  tracker_.ShowTimeAgain();
}

void TTimeCommands::ToggleAutoBackward() {
  if (tracker_.time.Mode() != TTimeMode::Simulation) return;
  tracker_.time.ToggleAutoBackward();
  tracker_.ShowTimeAgain();
}

void TTimeCommands::StopAutomatic() {
  tracker_.time.AutoStep = 0;
  tracker_.ShowTimeAgain();
}

void TTimeCommands::SetJumpUnit(int index) {
  tracker_.time.JumpUnit = std::clamp(index, 0, static_cast<int>(kJumpUnitNames.size()) - 1);
  Sync();
}

void TTimeCommands::SetJumpMultiplier(int index) {
  tracker_.time.JumpMultiplier =
      std::clamp(index, 0, static_cast<int>(kJumpMultiplierNames.size()) - 1);
  Sync();
}

void TTimeCommands::SetRefreshIndex(int index) {
  index = std::clamp(index, 0, static_cast<int>(kRefreshSeconds.size()) - 1);
  tracker_.view.refreshIndex = index;
  refreshTimer.setInterval(kRefreshSeconds[static_cast<size_t>(index)] * 1000);
  Sync();
}

void TTimeCommands::SetOffset(double hours) {
  tracker_.time.SetUTCOffset(hours);
  tracker_.ZmianaCzasu();
}

void TTimeCommands::SetTimePanelShown(bool shown) {
  tracker_.view.timePanelShown = shown;
  tracker_.ShowTimeAgain();
}

void TTimeCommands::ToggleTimePanelView() {
  tracker_.view.timePanelAltView = !tracker_.view.timePanelAltView;
  tracker_.ShowTimeAgain();
}

QString TTimeCommands::UstawCzas(const QString& displayedText) {
  // The mask shows a blank place as "_"; the date-text rule counts it as a blank, so every
  // later field keeps its place.
  QString text = displayedText;
  text.replace(QLatin1Char('_'), QLatin1Char(' '));
  std::string normal = tracker_.time.UstawCzas(text.toStdString());
  tracker_.ZmianaCzasu();
  return QString::fromStdString(normal);
}

bool TTimeCommands::Wheel(int delta, TWheelKeys keys) {
  if (tracker_.time.Mode() != TTimeMode::Simulation) return false;
  tracker_.time.SimTime += tracker_.time.WheelStep(delta, keys);
  tracker_.ZmianaCzasu();
  return true;
}

void TTimeCommands::GoToMoment(double simTime, bool middleAfter) {
  ApplyMode(TTimeMode::Simulation);
  tracker_.time.SimTime = simTime;
  tracker_.ZmianaCzasu();
  if (middleAfter) {
    tracker_.show.satOnTrack = TSatOnTrack::Middle;
    tracker_.time.WentToEvent = true;
    tracker_.Recompute();
  }
}

double TTimeCommands::GuessTimeZone(bool silent) {
  double detected = detectedOffset_();
  const TTimeControl& time = tracker_.time;
  if (!silent && detected != time.UtcOffsetHours() &&
      dialogs_.Ask(QString::fromStdString(TimeZoneQuestion(time.UtcOffsetHours(), detected)))) {
    SetOffset(detected);
    if (offsetAdopted) offsetAdopted();
  }
  return detected;
}

void TTimeCommands::StartTimers() {
  refreshTimer.setInterval(kRefreshSeconds[static_cast<size_t>(tracker_.view.refreshIndex)] * 1000);
  refreshTimer.start();
  clockTimer.start();
}

void TTimeCommands::StopTimers() {
  clockTimer.stop();
  refreshTimer.stop();
}

void TTimeCommands::RefreshTick() {
  if (tracker_.time.Mode() == TTimeMode::RealTime) {
    tracker_.Recompute();
  } else if (tracker_.time.AutoTick()) {
    tracker_.ZmianaCzasu();
  }
}

void TTimeCommands::ClockTick() {
  tracker_.PobierzCzas();
  tracker_.ShowTimeAgain();
}

}  // namespace zen
