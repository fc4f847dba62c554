// The settings files: the small main file and the named files of satellites, site and options.
#include "tracking/settings.h"

#include "core/locator.h"
#include "core/numeric.h"
#include "core/text_encoding.h"
#include "tracking/ini_file.h"

namespace zen {

namespace {

// Stored integers of fractional values: the value times the scale, rounded.
constexpr double kAngleScale = 10000.0;     // "Lon", "Lat": 1/10000 degree
constexpr double kAltitudeScale = 10.0;     // "Alt": 1/10 metre
constexpr double kFlareAngleScale = 100.0;  // "IrFlareAngle": 1/100 degree
constexpr double kUtcScale = 100.0;         // "UTC": 1/100 hour

constexpr size_t kSiteNameCharacters = 25;
constexpr size_t kSiteSignCharacters = 15;

int ReadIntIn(const TIniFile& ini, const char* section, const char* key, int min, int max,
              int fallback) {
  return IntInRangeOr(ini.ReadInteger(section, key, fallback), min, max, fallback);
}

// A scaled integer key read back into its unit: the stored default when missing, and fallback
// when the value is outside [min, max].
double ReadScaled(const TIniFile& ini, const char* section, const char* key, double scale,
                  double defaultValue, double min, double max, int64_t storedDefault) {
  const double value = static_cast<double>(ini.ReadInteger(section, key, storedDefault)) / scale;
  return FloatInRangeOr(value, min, max, defaultValue);
}

void WriteScaled(TIniFile& ini, const char* section, const char* key, double value, double scale) {
  ini.WriteInteger(section, key, RoundHalfEvenInt(value * scale));
}

std::vector<std::string> SplitIds(const std::string& text) {
  std::vector<std::string> ids;
  size_t start = 0;
  while (start <= text.size()) {
    size_t comma = text.find(',', start);
    if (comma == std::string::npos) comma = text.size();
    std::string id = TrimBlanks(std::string_view(text).substr(start, comma - start));
    if (!id.empty()) ids.push_back(std::move(id));
    start = comma + 1;
  }
  return ids;
}

std::string JoinIds(const std::vector<std::string>& ids) {
  std::string text;
  for (const std::string& id : ids) {
    if (!text.empty()) text += ',';
    text += id;
  }
  return text;
}

}  // namespace

TMainSettings ReadMainSettings(const std::filesystem::path& file, double detectedOffsetHours,
                               std::string* problem) {
  const TIniFile ini = TIniFile::Read(file, problem);
  TMainSettings main;
  main.autoSave = ini.ReadBool("Main", "AutoSave", false);
  main.utcOffsetHours = ReadScaled(ini, "Main", "UTC", kUtcScale, detectedOffsetHours, -12.0, 12.0,
                                   RoundHalfEvenInt(detectedOffsetHours * kUtcScale));
  main.startedBefore = ini.ReadBool("Main", "Started", false);
  return main;
}

void WriteMainSettings(const std::filesystem::path& file, const TMainSettings& settings,
                       bool replaceUnreadable) {
  TIniFile ini = replaceUnreadable ? TIniFile::Read(file) : TIniFile::ReadToUpdate(file);
  ini.WriteBool("Main", "AutoSave", settings.autoSave);
  WriteScaled(ini, "Main", "UTC", settings.utcOffsetHours, kUtcScale);
  ini.Save(file);
}

void MarkStarted(const std::filesystem::path& file) {
  TIniFile ini = TIniFile::ReadToUpdate(file);
  ini.WriteBool("Main", "Started", true);
  ini.Save(file);
}

std::filesystem::path SettingsFilePath(const std::filesystem::path& programFolder,
                                       const std::string& name) {
  return programFolder / "Setup" / (name + ".ini");
}

std::string SettingsNameOf(const std::filesystem::path& chosenFile) {
  const std::string name = chosenFile.filename().string();
  return name.substr(0, name.find('.'));
}

namespace {

TSettings SettingsOf(const TIniFile& ini) {
  const TSettings d;
  TSettings s;
  s.onlySats = ini.ReadBool("Extra", "OnlySats", d.onlySats);

  s.timeSystem = ReadIntIn(ini, "Time", "System", 0, 1, d.timeSystem);
  s.refreshIndex = ReadIntIn(ini, "Time", "RefreshC", 0, 5, d.refreshIndex);
  s.jumpMultiplier = ReadIntIn(ini, "Time", "IntervalM", 0, 7, d.jumpMultiplier);
  s.jumpUnit = ReadIntIn(ini, "Time", "IntervalU", 0, 5, d.jumpUnit);
  s.timePanel = ini.ReadBool("Time", "Panel", d.timePanel);

  s.tleFile = ini.ReadString("TLE_DB", "TLEFile", d.tleFile);
  s.activeId = ini.ReadString("TLE_DB", "Active", d.activeId);
  s.trackedIds = SplitIds(ini.ReadString("TLE_DB", "Tracked", ""));

  s.locationFile = ini.ReadString("Location", "File", d.locationFile);
  TSite& site = s.site;
  // Trimmed again after the cut, as every value is read, so that a name saved reads back the
  // same even when its last character kept is a blank.
  site.name =
      TrimBlanks(Utf8Prefix(ini.ReadString("Location", "Name", d.site.name), kSiteNameCharacters));
  site.sign =
      TrimBlanks(Utf8Prefix(ini.ReadString("Location", "Sign", d.site.sign), kSiteSignCharacters));
  const int64_t storedLon = RoundHalfEvenInt(d.site.longitude * kAngleScale);
  const int64_t storedLat = RoundHalfEvenInt(d.site.latitude * kAngleScale);
  const int64_t storedAlt = RoundHalfEvenInt(d.site.altitude * kAltitudeScale);
  site.longitude =
      ReadScaled(ini, "Location", "Lon", kAngleScale, d.site.longitude, -180.0, 180.0, storedLon);
  site.latitude =
      ReadScaled(ini, "Location", "Lat", kAngleScale, d.site.latitude, -90.0, 90.0, storedLat);
  // A stored altitude out of range falls back to 50.0 m, as documented, unlike the 5.0 m of a
  // missing key.
  constexpr double kAltitudeOutOfRange = 50.0;
  site.altitude = ReadScaled(ini, "Location", "Alt", kAltitudeScale, kAltitudeOutOfRange, -120000.0,
                             100000.0, storedAlt);
  site.locator = LatLonToLocator(site.latitude, site.longitude);

  TShowOptions& show = s.show;
  show.sun = ini.ReadBool("Show", "Sun", d.show.sun);
  show.solarIllumination = ini.ReadBool("Show", "SolarIllum", d.show.solarIllumination);
  show.grid = ini.ReadBool("Show", "Grid", d.show.grid);
  show.hints = ini.ReadBool("Show", "Hints", d.show.hints);
  show.satSymbols = ini.ReadBool("Show", "SatSymb", d.show.satSymbols);
  show.satColors = ini.ReadBool("Show", "SatColors", d.show.satColors);
  show.satNames = ini.ReadBool("Show", "SatNames", d.show.satNames);
  show.trackLine = ini.ReadBool("Show", "TrackLine", d.show.trackLine);
  show.trackMarkers = ini.ReadBool("Show", "TrackMarkers", d.show.trackMarkers);
  show.visibleZone = ini.ReadBool("Show", "VisibleZone", d.show.visibleZone);
  show.moon = ini.ReadBool("Show", "Moon", d.show.moon);
  show.satOnTrack = static_cast<TSatOnTrack>(
      ReadIntIn(ini, "SatOnTrack", "Pos", 0, 2, static_cast<int>(d.show.satOnTrack)));
  show.middleAfterGoToMarker = ini.ReadBool("SatOnTrack", "AutoMid", d.show.middleAfterGoToMarker);
  show.beginAfterReturnToRt = ini.ReadBool("SatOnTrack", "AutoBeg", d.show.beginAfterReturnToRt);
  show.radarMode = static_cast<TRadarMode>(
      ReadIntIn(ini, "Radar", "On", 0, 2, static_cast<int>(d.show.radarMode)));
  show.radarNames = ini.ReadBool("Radar", "Names", d.show.radarNames);
  show.radarTrack = ini.ReadBool("Radar", "Line", d.show.radarTrack);
  show.radarMarkers = ini.ReadBool("Radar", "Markers", d.show.radarMarkers);

  TPredictionOptions& p = s.prediction;
  const TPredictionOptions& dp = d.prediction;
  p.brief = ini.ReadBool("Passes", "Brief", dp.brief);
  p.calculateAllLoaded = ini.ReadBool("Passes", "CAL", dp.calculateAllLoaded);
  p.level = ReadIntIn(ini, "Passes", "Level", 0, 4, dp.level);
  p.periodLength = ReadIntIn(ini, "Passes", "PeriodM", 1, 99, dp.periodLength);
  p.periodUnit = ReadIntIn(ini, "Passes", "PeriodK", 0, 2, dp.periodUnit);
  p.satelliteIlluminated = ini.ReadBool("Passes", "SatIllum", dp.satelliteIlluminated);
  p.sunBelowLimit = ini.ReadBool("Passes", "SunUnderH", dp.sunBelowLimit);
  p.minSatElevationDeg = ReadIntIn(ini, "Passes", "SatAbove", 0, 45, dp.minSatElevationDeg);
  p.maxSunElevationDeg = ReadIntIn(ini, "Passes", "MaxSun", -20, 20, dp.maxSunElevationDeg);
  p.internalIridiumTable = ini.ReadBool("Passes", "InternalIrTable", dp.internalIridiumTable);
  p.maxFlareAngleDeg =
      ReadScaled(ini, "Passes", "IrFlareAngle", kFlareAngleScale, dp.maxFlareAngleDeg, 0.1, 4.0,
                 RoundHalfEvenInt(dp.maxFlareAngleDeg * kFlareAngleScale));
  return s;
}

}  // namespace

TSettings ReadSettings(const std::filesystem::path& file, std::string* problem) {
  return SettingsOf(TIniFile::Read(file, problem));
}

TSettings ReadSettingsFile(const std::filesystem::path& file) {
  return SettingsOf(TIniFile::ReadExisting(file));
}

void WriteSettings(const std::filesystem::path& file, const TSettings& settings,
                   TSaveChoice choice, bool replaceUnreadable) {
  TIniFile ini = replaceUnreadable ? TIniFile::Read(file) : TIniFile::ReadToUpdate(file);
  ini.WriteBool("Extra", "OnlySats", choice == TSaveChoice::OnlySatellites);

  ini.WriteInteger("Time", "System", settings.timeSystem);
  ini.WriteInteger("Time", "RefreshC", settings.refreshIndex);
  ini.WriteInteger("Time", "IntervalM", settings.jumpMultiplier);
  ini.WriteInteger("Time", "IntervalU", settings.jumpUnit);
  ini.WriteBool("Time", "Panel", settings.timePanel);

  const bool satellites = choice != TSaveChoice::OnlyOptions;
  ini.WriteString("TLE_DB", "TLEFile", satellites ? settings.tleFile : "");
  ini.WriteString("TLE_DB", "Active", satellites ? settings.activeId : "");
  ini.WriteString("TLE_DB", "Tracked", satellites ? JoinIds(settings.trackedIds) : "");

  const TSite& site = settings.site;
  ini.WriteString("Location", "File", settings.locationFile);
  ini.WriteString("Location", "Name", site.name);
  ini.WriteString("Location", "Sign", site.sign);
  WriteScaled(ini, "Location", "Lon", site.longitude, kAngleScale);
  WriteScaled(ini, "Location", "Lat", site.latitude, kAngleScale);
  WriteScaled(ini, "Location", "Alt", site.altitude, kAltitudeScale);

  const TShowOptions& show = settings.show;
  ini.WriteBool("Show", "Sun", show.sun);
  ini.WriteBool("Show", "SolarIllum", show.solarIllumination);
  ini.WriteBool("Show", "Grid", show.grid);
  ini.WriteBool("Show", "Hints", show.hints);
  ini.WriteBool("Show", "SatSymb", show.satSymbols);
  ini.WriteBool("Show", "SatColors", show.satColors);
  ini.WriteBool("Show", "SatNames", show.satNames);
  ini.WriteBool("Show", "TrackLine", show.trackLine);
  ini.WriteBool("Show", "TrackMarkers", show.trackMarkers);
  ini.WriteBool("Show", "VisibleZone", show.visibleZone);
  // Written once the Moon has been shown, so that a file of someone who never chose it keeps
  // exactly the keys it always had; from then on it follows the option, off included.
  if (show.moon || ini.HasKey("Show", "Moon")) ini.WriteBool("Show", "Moon", show.moon);
  ini.WriteInteger("SatOnTrack", "Pos", static_cast<int>(show.satOnTrack));
  ini.WriteBool("SatOnTrack", "AutoMid", show.middleAfterGoToMarker);
  ini.WriteBool("SatOnTrack", "AutoBeg", show.beginAfterReturnToRt);
  ini.WriteInteger("Radar", "On", static_cast<int>(show.radarMode));
  ini.WriteBool("Radar", "Names", show.radarNames);
  ini.WriteBool("Radar", "Line", show.radarTrack);
  ini.WriteBool("Radar", "Markers", show.radarMarkers);

  const TPredictionOptions& p = settings.prediction;
  ini.WriteBool("Passes", "Brief", p.brief);
  ini.WriteBool("Passes", "CAL", p.calculateAllLoaded);
  ini.WriteInteger("Passes", "Level", p.level);
  ini.WriteInteger("Passes", "PeriodM", p.periodLength);
  ini.WriteInteger("Passes", "PeriodK", p.periodUnit);
  ini.WriteBool("Passes", "SatIllum", p.satelliteIlluminated);
  ini.WriteBool("Passes", "SunUnderH", p.sunBelowLimit);
  ini.WriteInteger("Passes", "SatAbove", p.minSatElevationDeg);
  ini.WriteInteger("Passes", "MaxSun", p.maxSunElevationDeg);
  ini.WriteBool("Passes", "InternalIrTable", p.internalIridiumTable);
  WriteScaled(ini, "Passes", "IrFlareAngle", p.maxFlareAngleDeg, kFlareAngleScale);
  ini.Save(file);
}

std::vector<std::string> SettingsChanges(const TSettings& saved, const TSettings& now) {
  std::vector<std::string> changes;
  auto note = [&changes](bool differs, const char* what) {
    if (differs) changes.emplace_back(what);
  };
  note(saved.site != now.site || saved.locationFile != now.locationFile, "the site");
  note(saved.tleFile != now.tleFile, "the element file");
  note(saved.trackedIds != now.trackedIds, "the tracked satellites");
  note(saved.activeId != now.activeId, "the active satellite");
  // Everything else a settings file holds is an option.
  TSettings options = now;
  options.onlySats = saved.onlySats;
  options.site = saved.site;
  options.locationFile = saved.locationFile;
  options.tleFile = saved.tleFile;
  options.trackedIds = saved.trackedIds;
  options.activeId = saved.activeId;
  note(options != saved, "the options");
  return changes;
}

}  // namespace zen
