// The settings files: the small main file and the named files of satellites, site and options.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tracking/options.h"
#include "tracking/site.h"

namespace zen {

inline constexpr const char* kMainSettingsFile = "Setup/zenarith.set";

struct TMainSettings {
  bool autoSave = false;
  double utcOffsetHours = 0.0;
  // "Started": the program has started in this folder before. The shipped file lacks it, so a
  // new program folder reads as a first start.
  bool startedBefore = false;
  bool operator==(const TMainSettings&) const = default;
};

// Missing keys and out-of-range offsets fall back as documented: "UTC" defaults to the detected
// offset x 100 rounded, and value/100 outside [-12, 12] gives detectedOffsetHours.
// A file that is there but cannot be read reads as missing, with the reason in problem (when
// given).
TMainSettings ReadMainSettings(const std::filesystem::path& file, double detectedOffsetHours,
                               std::string* problem = nullptr);
// Section "Main": "AutoSave", "UTC" (hours x 100, rounded half to even). Keeps other keys.
// Throws TFileError, also when the file is there but cannot be read, unless replaceUnreadable
// (the user agreed to lose it).
void WriteMainSettings(const std::filesystem::path& file, const TMainSettings& settings,
                       bool replaceUnreadable = false);
// Sets "Started" in section "Main", keeping everything else the file holds. Throws TFileError
// when the file cannot be read or written; it then stays as it was.
void MarkStarted(const std::filesystem::path& file);

// The "Passes" options, kept for the prediction pages.
struct TPredictionOptions {
  bool brief = false;               // "Brief output (1 line per event)"
  bool calculateAllLoaded = false;  // "Calculate all loadad"
  int level = 0;                    // anti miss out filter level index, 0..4
  int periodLength = 1;             // 1..99
  int periodUnit = 2;               // 0 minutes, 1 hours, 2 days
  bool satelliteIlluminated = true;
  bool sunBelowLimit = true;    // "Maximum sun elevation" check box
  int minSatElevationDeg = 10;  // 0..45
  int maxSunElevationDeg = -5;  // -20..20
  bool internalIridiumTable = true;
  double maxFlareAngleDeg = 1.0;  // 0.1..4
  bool operator==(const TPredictionOptions&) const = default;
};

enum class TSaveChoice { SatellitesAndOptions = 0, OnlyOptions = 1, OnlySatellites = 2 };

// Everything a named settings file holds, with the documented defaults.
struct TSettings {
  bool onlySats = false;
  int timeSystem = 1;  // "Time" display: 0 UTC, 1 local
  int refreshIndex = 1;
  int jumpMultiplier = 3;
  int jumpUnit = 1;
  bool timePanel = true;
  std::string tleFile;  // as stored: "/" or "\" separators are both kept as read
  std::string activeId;
  std::vector<std::string> trackedIds;  // from the comma-separated "Tracked"
  std::string locationFile = "Locations\\World.loc";
  TSite site = DefaultSite();
  TShowOptions show;
  TPredictionOptions prediction;
  bool operator==(const TSettings&) const = default;
};

// "Setup/<name>.ini" under the program folder.
std::filesystem::path SettingsFilePath(const std::filesystem::path& programFolder,
                                       const std::string& name);
// A chosen file's name without its folder, up to its first "." ("my.settings.ini" -> "my").
std::string SettingsNameOf(const std::filesystem::path& chosenFile);

// Every key with its range check; a missing key or a value out of its range gives the default,
// a missing file gives every default. The site's locator is made from its latitude and
// longitude. Everything the file holds is returned together with onlySats: applying only the
// satellites of a file marked "OnlySats" (unless its name is "default") is up to the caller.
// A file that is there but cannot be read reads as missing, with the reason in problem.
TSettings ReadSettings(const std::filesystem::path& file, std::string* problem = nullptr);
// The same for a file the user chose: throws TFileError naming the file and the reason when it
// is missing or cannot be read, so that nothing is applied from it.
TSettings ReadSettingsFile(const std::filesystem::path& file);
// Writes every key in section and key order; with TSaveChoice::OnlyOptions the three "TLE_DB"
// values are written empty; "OnlySats" := (choice == OnlySatellites), settings.onlySats is not
// used. Keeps keys and sections it does not know. Throws TFileError, also when the file is there
// but cannot be read, unless replaceUnreadable (the user agreed to lose it).
void WriteSettings(const std::filesystem::path& file, const TSettings& settings,
                   TSaveChoice choice, bool replaceUnreadable = false);

// What the state now holds that the settings a start would load (saved) do not, in words for
// the user, in this order: "the site", "the element file", "the tracked satellites", "the
// active satellite", "the options". The site includes its location database. Empty when the
// two agree; the "OnlySats" mark is not compared.
std::vector<std::string> SettingsChanges(const TSettings& saved, const TSettings& now);

}  // namespace zen
