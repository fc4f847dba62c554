// "Station...": the rotator and the radios follow the active satellite, the Moon or the Sun;
// the settings of the station, its target and transmitter choice and its dialog.
#pragma once

#include <QAction>
#include <QObject>
#include <QPointer>
#include <QString>
#include <vector>

#include "app/tracker.h"
#include "app/user_dialogs.h"
#include "station/station_control.h"
#include "station/station_settings.h"
#include "tracking/transmitters.h"

namespace zen {

class TStationDialog;

// What the station follows, in the order of the dialog's choice.
enum class TStationTarget { ActiveSatellite, Moon, Sun };

class TStationCommands : public QObject {
  Q_OBJECT

 public:
  // window is the dialog's parent.
  TStationCommands(TTracker& tracker, UserDialogs& dialogs, QWidget* window,
                   QObject* parent = nullptr);
  ~TStationCommands() override;

  // Reads the station's settings from the main settings file of the folder.
  void SetProgramFolder(const QString& folder);

  QAction* openStation;  // "Station..." in the quick menu

  station::TStationControl& Station() { return station_; }
  const station::TStationSettings& Settings() const { return settings_; }
  // The active satellite's name and catalogue number, "Moon", "Sun", or empty.
  QString TargetName() const { return targetName_; }
  TStationTarget Target() const { return target_; }
  // The active satellite's transmitters, the user's own first; Chosen() indexes them (-1: none).
  const std::vector<TTransmitter>& Transmitters() const { return transmitters_; }
  int Chosen() const { return chosen_; }
  // Why the transmitter lists could not be read, or empty.
  QString TransmitterProblem() const { return transmitterProblem_; }

  // The dialog's actions. Connect keeps the settings in the main file and starts the station
  // (a wrong address or a park position out of the rotator's reach is said and nothing
  // starts); Disconnect stops it; Park sends the rotator to its park position and holds it
  // there until Resume.
  void Connect(const station::TStationSettings& settings);
  void Disconnect();
  void Park();
  void Resume();
  // The transmitter of the list to tune for, and a downlink inside its passband (0: its lowest).
  void ChooseTransmitter(int index, double downlinkHz);
  // Follows the active satellite (and whichever becomes active), the Moon or the Sun.
  void ChooseTarget(TStationTarget target);
  // The frequency sent to the Moon, whose echo the receiving radio is tuned to (0: none).
  void ChooseEchoFrequency(double hz);

  // The dialog, made on first use, shown and brought to the front.
  void ShowDialog();
  TStationDialog* Dialog() const;

 signals:
  // The target, its transmitters or the settings changed.
  void Changed();

 private:
  void FollowActive();
  void ReadTransmitters();
  void ApplyRadioPlan();
  QString SettingsFile() const;

  TTracker& tracker_;
  UserDialogs& dialogs_;
  QWidget* window_;
  QString programFolder_;
  station::TStationControl station_;
  station::TStationSettings settings_;
  QPointer<TStationDialog> dialog_;
  TStationTarget target_ = TStationTarget::ActiveSatellite;
  QString targetName_;
  std::string targetKey_;
  std::vector<TTransmitter> transmitters_;
  int chosen_ = -1;
  QString transmitterProblem_;
};

}  // namespace zen
