// The station's section of the main settings file: kept beside the other sections, read back
// whole, and an older file or a damaged value gives the defaults.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "core/scratch_folder.h"
#include "station/station_settings.h"

namespace zen::station {
namespace {

std::string ReadAll(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteAll(const std::filesystem::path& file, const std::string& text) {
  std::ofstream(file, std::ios::binary) << text;
}

TEST(StationSettings, RoundTripKeepsTheOtherSections) {
  test::TScratchFolder folder("station_settings");
  const std::filesystem::path file = folder.path() / "zenarith.set";
  WriteAll(file, "[Main]\r\nAutoSave=1\r\nUTC=100\r\n");
  TStationSettings s;
  s.rotator = "[::1]:4533";
  s.rig = "radio.local:4532";
  s.uplink = "";
  s.minElevationDeg = 7.5;
  s.toleranceDeg = 0.3;
  s.cycleSeconds = 2.5;
  s.azimuthRange = TAzimuthRange::From0To450;
  s.flip = true;
  s.park = true;
  s.parkAzDeg = -90.25;
  s.parkElDeg = 45;
  s.radioToleranceHz = 25;
  s.transmitter = "iss-fm-voice";
  s.downlinkHz = 435800123.5;
  WriteStationSettings(file, s);
  EXPECT_EQ(ReadStationSettings(file), s);
  EXPECT_NE(ReadAll(file).find("[Main]\r\nAutoSave=1\r\nUTC=100\r\n"), std::string::npos);
}

TEST(StationSettings, OlderFilesAndDamagedValuesGiveTheDefaults) {
  test::TScratchFolder folder("station_settings");
  const std::filesystem::path file = folder.path() / "zenarith.set";
  const TStationSettings defaults;
  EXPECT_EQ(ReadStationSettings(folder.path() / "missing.set"), defaults);
  WriteAll(file, "[Main]\r\nAutoSave=0\r\n");
  EXPECT_EQ(ReadStationSettings(file), defaults);
  const struct {
    const char* line;
    double TStationSettings::*field;
  } damaged[] = {
      {"MinElevation=95", &TStationSettings::minElevationDeg},
      {"Tolerance=0", &TStationSettings::toleranceDeg},
      {"Cycle=1,5", &TStationSettings::cycleSeconds},
      {"ParkAz=nan", &TStationSettings::parkAzDeg},
      {"ParkEl=-1", &TStationSettings::parkElDeg},
      {"RadioTolerance=1e9", &TStationSettings::radioToleranceHz},
      {"Downlink=145.8 MHz", &TStationSettings::downlinkHz},
  };
  for (const auto& d : damaged) {
    WriteAll(file, std::string("[Station]\r\n") + d.line + "\r\n");
    EXPECT_EQ(ReadStationSettings(file).*d.field, defaults.*d.field) << d.line;
  }
  WriteAll(file, "[Station]\r\nAzimuthRange=7\r\n");
  EXPECT_EQ(ReadStationSettings(file).azimuthRange, TAzimuthRange::From0To360);
}

TEST(StationSettings, SetupNamesTheWrongAddress) {
  TStationSettings s;
  s.rig = "radio";
  QString problem;
  SetupOf(s, problem);
  EXPECT_TRUE(problem.contains(QStringLiteral("radio's address"))) << problem.toStdString();
  s.rig = "";
  s.rotator = "localhost:4533";
  const TStationSetup setup = SetupOf(s, problem);
  EXPECT_TRUE(problem.isEmpty());
  EXPECT_TRUE(setup.rotator.Used());
  EXPECT_EQ(setup.rotator.port, 4533);
  EXPECT_FALSE(setup.rig.Used());
}

}  // namespace
}  // namespace zen::station
