// Numbered versions of a settings file, a location database and a notes file, for the program
// that saves them in a loop and the test that kills it. Odd and even versions differ in
// length, so a file made of two versions, cut short or empty never equals a whole one.
#pragma once

#include <array>
#include <charconv>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "locations/location_db.h"
#include "tracking/notes.h"
#include "tracking/settings.h"

namespace zen::test {

inline constexpr const char* kSavedSettingsName = "default";
inline constexpr const char* kSavedLocationFile = "Locations/World.loc";
inline constexpr const char* kSavedNotesNumber = "25544";
inline constexpr const char* kVersionPrefix = "Version ";

// The three files under a program folder, in the order a round saves them.
inline std::array<std::filesystem::path, 3> SavedFiles(const std::filesystem::path& folder) {
  return {SettingsFilePath(folder, kSavedSettingsName),
          LocationFilePath(folder, kSavedLocationFile), NotesFilePath(folder, kSavedNotesNumber)};
}

// Long versions take tens of kilobytes, so a kill finds a save under way often.
inline int VersionLength(int64_t version) {
  return version % 2 == 1 ? 400 : 3;
}

inline std::string VersionName(int64_t version) {
  return kVersionPrefix + std::to_string(version);
}

// The number in a name made by VersionName, if it is one.
inline std::optional<int64_t> VersionOfName(const std::string& name) {
  const size_t digits = std::string(kVersionPrefix).size();
  int64_t version = 0;
  const char* end = name.data() + name.size();
  if (name.rfind(kVersionPrefix, 0) != 0 || digits == name.size() ||
      std::from_chars(name.data() + digits, end, version).ptr != end) {
    return std::nullopt;
  }
  return version;
}

inline TSettings SettingsVersion(int64_t version) {
  TSettings s;
  s.site.name = VersionName(version);
  s.site.altitude = static_cast<double>(version % 4000);
  s.activeId = std::to_string(version);
  for (int i = 0; i < VersionLength(version); ++i) {
    s.trackedIds.push_back(std::to_string(10000 + (version + i) % 90000));
  }
  return s;
}

inline TLocationDb LocationsVersion(int64_t version) {
  TLocationDb db;
  db.LocationFile = kSavedLocationFile;
  db.Names.push_back(VersionName(version));
  db.LocationTable.push_back({0.0, 0.0, 0.0, "V"});
  for (int i = 0; i < VersionLength(version); ++i) {
    db.Names.push_back("Place " + std::to_string(i) + " of " + std::to_string(version));
    const double latitudeDeg = (version * 7 + i) % 180 - 89.5;
    const double longitudeDeg = (version * 13 + i * 3) % 360 - 179.5;
    db.LocationTable.push_back({latitudeDeg, longitudeDeg, static_cast<double>(i), "P"});
  }
  return db;
}

inline std::vector<std::string> NotesVersion(int64_t version) {
  std::vector<std::string> lines{VersionName(version)};
  for (int i = 0; i < VersionLength(version); ++i) {
    lines.push_back("Line " + std::to_string(i) + " of version " + std::to_string(version));
  }
  return lines;
}

// Saves all three files of a version, in order, with the program's own writers.
inline void SaveVersion(const std::filesystem::path& folder, int64_t version) {
  const auto files = SavedFiles(folder);
  for (const auto& file : files) std::filesystem::create_directories(file.parent_path());
  WriteSettings(files[0], SettingsVersion(version), TSaveChoice::SatellitesAndOptions);
  LocationsVersion(version).SejwujLokacje(folder);
  SaveNotes(files[2], NotesVersion(version));
}

// The version of each file as the program's readers see it at a start; empty where a file is
// missing or holds no version.
using TSavedVersions = std::array<std::optional<int64_t>, 3>;

inline TSavedVersions ReadSavedVersions(const std::filesystem::path& folder) {
  const auto files = SavedFiles(folder);
  TSavedVersions v;
  std::error_code ec;
  if (std::filesystem::exists(files[0], ec)) v[0] = VersionOfName(ReadSettings(files[0]).site.name);
  TLocationDb db;
  db.LocationFile = kSavedLocationFile;
  db.zapodawajLokacje(folder);
  if (!db.Names.empty()) v[1] = VersionOfName(db.Names.front());
  const std::vector<std::string> notes = ZapodawajNotes(files[2]);
  if (!notes.empty()) v[2] = VersionOfName(notes.front());
  return v;
}

}  // namespace zen::test
