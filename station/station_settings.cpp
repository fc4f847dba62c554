// The station's settings, kept in the "Station" section of the main settings file.
#include "station/station_settings.h"

#include <charconv>

#include "cli/track_words.h"
#include "tracking/ini_file.h"

namespace zen::station {

namespace {

constexpr const char* kSection = "Station";

double ReadReal(const TIniFile& ini, const char* key, double low, double high, double fallback) {
  const std::string text = ini.ReadString(kSection, key, "");
  double value = 0.0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end) return fallback;
  return FloatInRangeOr(value, low, high, fallback);
}

std::string RealText(double value) {
  char buffer[32];
  const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
  return error == std::errc() ? std::string(buffer, end) : std::string("0");
}

}  // namespace

TStationSettings ReadStationSettings(const std::filesystem::path& file) {
  const TIniFile ini = TIniFile::Read(file);
  const TStationSettings d;
  TStationSettings s;
  s.rotator = ini.ReadString(kSection, "Rotator", d.rotator);
  s.rig = ini.ReadString(kSection, "Radio", d.rig);
  s.uplink = ini.ReadString(kSection, "UplinkRadio", d.uplink);
  s.minElevationDeg = ReadReal(ini, "MinElevation", 0.0, 80.0, d.minElevationDeg);
  s.toleranceDeg = ReadReal(ini, "Tolerance", 0.1, 20.0, d.toleranceDeg);
  s.cycleSeconds = ReadReal(ini, "Cycle", 0.2, 60.0, d.cycleSeconds);
  const int64_t range = ini.ReadInteger(kSection, "AzimuthRange", 0);
  s.azimuthRange = range == 1   ? TAzimuthRange::From180To180
                   : range == 2 ? TAzimuthRange::From0To450
                                : TAzimuthRange::From0To360;
  s.flip = ini.ReadBool(kSection, "Flip", d.flip);
  s.park = ini.ReadBool(kSection, "Park", d.park);
  s.parkAzDeg = ReadReal(ini, "ParkAz", -180.0, 450.0, d.parkAzDeg);
  s.parkElDeg = ReadReal(ini, "ParkEl", 0.0, 180.0, d.parkElDeg);
  s.radioToleranceHz = ReadReal(ini, "RadioTolerance", 1.0, 10000.0, d.radioToleranceHz);
  s.transmitter = ini.ReadString(kSection, "Transmitter", d.transmitter);
  s.downlinkHz = ReadReal(ini, "Downlink", 0.0, 300e9, d.downlinkHz);
  s.echoHz = ReadReal(ini, "EchoDownlink", 0.0, 300e9, d.echoHz);
  return s;
}

void WriteStationSettings(const std::filesystem::path& file, const TStationSettings& s) {
  TIniFile ini = TIniFile::ReadToUpdate(file);
  ini.WriteString(kSection, "Rotator", s.rotator);
  ini.WriteString(kSection, "Radio", s.rig);
  ini.WriteString(kSection, "UplinkRadio", s.uplink);
  ini.WriteString(kSection, "MinElevation", RealText(s.minElevationDeg));
  ini.WriteString(kSection, "Tolerance", RealText(s.toleranceDeg));
  ini.WriteString(kSection, "Cycle", RealText(s.cycleSeconds));
  ini.WriteInteger(kSection, "AzimuthRange",
                   s.azimuthRange == TAzimuthRange::From180To180 ? 1
                   : s.azimuthRange == TAzimuthRange::From0To450 ? 2
                                                                 : 0);
  ini.WriteBool(kSection, "Flip", s.flip);
  ini.WriteBool(kSection, "Park", s.park);
  ini.WriteString(kSection, "ParkAz", RealText(s.parkAzDeg));
  ini.WriteString(kSection, "ParkEl", RealText(s.parkElDeg));
  ini.WriteString(kSection, "RadioTolerance", RealText(s.radioToleranceHz));
  ini.WriteString(kSection, "Transmitter", s.transmitter);
  ini.WriteString(kSection, "Downlink", RealText(s.downlinkHz));
  ini.WriteString(kSection, "EchoDownlink", RealText(s.echoHz));
  ini.Save(file);
}

TStationSetup SetupOf(const TStationSettings& s, QString& problem) {
  TStationSetup setup;
  problem.clear();
  auto address = [&problem](const std::string& text, const char* what, TDaemonAddress& into) {
    if (text.empty() || !problem.isEmpty()) return;
    cli::TDaemonWords words;
    const std::string wrong = cli::ParseDaemonWords(what, text, words);
    if (!wrong.empty()) {
      problem = QString::fromStdString(wrong);
      return;
    }
    into = {QString::fromStdString(words.host), static_cast<quint16>(words.port)};
  };
  address(s.rotator, "The rotator's address", setup.rotator);
  address(s.rig, "The radio's address", setup.rig);
  address(s.uplink, "The uplink radio's address", setup.uplink);
  TRotatorSettings& r = setup.rotatorSettings;
  r.minElevationDeg = s.minElevationDeg;
  r.toleranceDeg = s.toleranceDeg;
  r.cycleSeconds = s.cycleSeconds;
  r.geometry.range = s.azimuthRange;
  r.geometry.flip = s.flip;
  r.park = s.park;
  r.parkAim = TAim{s.parkAzDeg, s.parkElDeg};
  setup.radioToleranceHz = s.radioToleranceHz;
  // Any azimuth is brought into the range by whole turns; an elevation no turn changes.
  const std::string outOfReach = s.park ? OutOfReachText(r.geometry, r.parkAim) : std::string();
  if (problem.isEmpty() && !outOfReach.empty()) {
    problem = QStringLiteral("The park position cannot be reached: ") +
              QString::fromStdString(outOfReach) +
              (s.flip ? QString() : QStringLiteral("; with Flip it reaches 180°"));
  }
  return setup;
}

}  // namespace zen::station
