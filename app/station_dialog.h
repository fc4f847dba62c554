// The station's dialog: what to follow, the daemons' addresses, how the rotator follows, the
// transmitter to tune for, and what the devices are doing. It shows the station and hands every
// action to the station's commands.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/station_commands.h"

namespace zen {

class TStationDialog : public QDialog {
  Q_OBJECT

 public:
  TStationDialog(TStationCommands& commands, QWidget* parent = nullptr);

  // The settings as the fields give them.
  station::TStationSettings FieldSettings() const;

  // "Active satellite", "Moon", "Sun", in the order of TStationTarget.
  QComboBox* targetChoice;
  QLineEdit* rotatorAddress;
  QLineEdit* radioAddress;
  QLineEdit* uplinkAddress;
  QPushButton* connectButton;
  QPushButton* disconnectButton;
  QPushButton* parkButton;
  QPushButton* resumeButton;  // while parked: follow again
  QDoubleSpinBox* minElevation;
  QDoubleSpinBox* tolerance;
  QDoubleSpinBox* cycle;
  QComboBox* azimuthRange;
  QCheckBox* flip;
  QCheckBox* parkAfterPass;
  QDoubleSpinBox* parkAz;
  QDoubleSpinBox* parkEl;
  QComboBox* transmitter;
  QDoubleSpinBox* downlinkMhz;
  QDoubleSpinBox* radioTolerance;
  // What the station does now.
  QLabel* target;
  QLabel* aosLos;
  QLabel* satellitePosition;
  QLabel* commanded;
  QLabel* actual;
  QLabel* doppler;
  QLabel* tuned;
  QLabel* links;
  QLabel* lastError;

 private:
  void ShowSettings();
  void ShowTransmitters();
  void ShowStatus();
  void onTransmitterChosen();
  void onTargetChosen(int index);

  TStationCommands& commands_;
  bool filling_ = false;
};

// "connected", "connecting", "trying again in 4 s", "not connected".
QString LinkStateText(const station::TDaemonLink& link);

}  // namespace zen
