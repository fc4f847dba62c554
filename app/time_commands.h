// Every command on time: calculation mode, time scale, jumps and automatic stepping, the
// simulated moment, the UTC offset, the refresh interval, the time panel and both timers.
#pragma once

#include <QAction>
#include <QActionGroup>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

#include "app/tracker.h"
#include "app/user_dialogs.h"

namespace zen {

class TTimeCommands : public QObject {
  Q_OBJECT

 public:
  // detectedOffset gives the machine's UTC offset in hours.
  TTimeCommands(TTracker& tracker, std::function<double()> detectedOffset, UserDialogs& dialogs,
                QObject* parent = nullptr);

  // "Calculation" (checked by mode), "Time" display (checked by scale).
  QActionGroup* modes;
  QAction* realTime;
  QAction* simulation;
  QActionGroup* scales;
  QAction* showUtc;
  QAction* showLocal;
  // Enabled only in simulation.
  QAction* jumpBackward;
  QAction* jumpForward;
  // Each presses its button: toggles its direction. The marks show AutoStep -1, 0, +1.
  QActionGroup* automatic;
  QAction* autoBackward;
  QAction* autoOff;
  QAction* autoForward;
  // Checked by index: jump unit, jump multiplier, refresh interval.
  QActionGroup* units;
  QActionGroup* multipliers;
  QActionGroup* refreshIntervals;
  QAction* offsetAuto;
  QAction* offsetIncrease;
  QAction* offsetDecrease;
  QAction* timePanel;

  void SetMode(TTimeMode mode);
  void SetDisplay(TTimeDisplay display);
  // direction -1 or +1; only in simulation.
  void Jump(int direction);
  void ToggleAutoForward();
  void ToggleAutoBackward();
  void StopAutomatic();
  void SetJumpUnit(int index);
  void SetJumpMultiplier(int index);
  void SetRefreshIndex(int index);
  // Clamped to [-12, 12] hours; then the time is fetched and everything recomputed.
  void SetOffset(double hours);
  void SetTimePanelShown(bool shown);
  void ToggleTimePanelView();
  // UstawCzas: the simulated-time field's text exactly as displayed (a blank place of the
  // mask shows as "_"), read in the displayed scale; returns the text in normal form.
  QString UstawCzas(const QString& displayedText);
  // The moment may have changed (the field was left unchanged): fetch, compute, draw.
  void ZmianaCzasu() { tracker_.ZmianaCzasu(); }
  // One wheel event over the map; false when it did nothing (real time, other keys).
  bool Wheel(int delta, TWheelKeys keys);
  // Simulation at simTime (local clock); then, with middleAfter, "Sat on track" := "Middle"
  // and WentToEvent, so a return to real time can restore "Begin".
  void GoToMoment(double simTime, bool middleAfter);
  // The machine's offset; unless silent, offers to adopt it when it differs from the one in
  // use, and on Yes refreshes the time.
  double GuessTimeZone(bool silent);
  // Runs after the user adopted the machine's offset (the main settings file keeps it).
  std::function<void()> offsetAdopted;

  // The refresh timer computes and draws (or steps the simulation); the clock timer fetches
  // the time and redraws the time texts.
  QTimer refreshTimer;
  QTimer clockTimer;
  void StartTimers();
  void StopTimers();
  // One tick of each timer.
  void RefreshTick();
  void ClockTick();

 private:
  TTracker& tracker_;
  std::function<double()> detectedOffset_;
  UserDialogs& dialogs_;

  // Switches the mode with its effects on the model, without computing.
  void ApplyMode(TTimeMode mode);
  // Marks and enabled states from the model.
  void Sync();
};

}  // namespace zen
