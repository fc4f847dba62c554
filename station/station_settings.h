// The station's settings, kept in the "Station" section of the main settings file.
#pragma once

#include <QString>
#include <filesystem>
#include <string>

#include "station/station_control.h"

namespace zen::station {

struct TStationSettings {
  std::string rotator = "localhost:4533";  // HOST:PORT; empty: no rotator
  std::string rig = "localhost:4532";      // the receiving radio; empty: none
  std::string uplink;                      // the transmitting radio; empty: none
  double minElevationDeg = 0.0;            // 0..80
  double toleranceDeg = 1.0;               // 0.1..20
  double cycleSeconds = 1.0;               // 0.2..60
  TAzimuthRange azimuthRange = TAzimuthRange::From0To360;
  bool flip = false;
  bool park = false;
  double parkAzDeg = 0.0;
  double parkElDeg = 90.0;
  double radioToleranceHz = 10.0;  // 1..10000
  std::string transmitter;         // the chosen transmitter's uuid; empty: the first one
  double downlinkHz = 0.0;         // inside a transponder's passband; 0: its lowest frequency
  double echoHz = 0.0;             // sent to the Moon, its echo tuned; 0: no radio tuned
  bool operator==(const TStationSettings&) const = default;
};

// The section "Station": a missing file, section or key, or a value out of its range, gives
// the default. Files written before the station existed read as every default.
TStationSettings ReadStationSettings(const std::filesystem::path& file);
// Writes the section, keeping every other line of the file. Throws TFileError.
void WriteStationSettings(const std::filesystem::path& file, const TStationSettings& settings);

// The setup the control starts with; problem names the first address that is not HOST:PORT,
// or a park position (when parking) whose elevation is beyond the rotator's.
TStationSetup SetupOf(const TStationSettings& settings, QString& problem);

}  // namespace zen::station
