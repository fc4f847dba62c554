// The location database: ".loc" files of named observer places, in memory as a list of names
// with one entry each.
#include "locations/location_db.h"

#include <algorithm>
#include <system_error>

#include "core/text_encoding.h"
#include "locations/name_order.h"
#include "locations/number_text.h"
#include "locations/site_fields.h"
#include "tracking/text_file.h"

namespace zen {

namespace {

namespace fs = std::filesystem;

const char* const kInvalidName = "ERROR!";
const char* const kLocationsFolder = "Locations";

TDecodedLoc Invalid(TDecodedLoc loc) {
  loc.name = kInvalidName;
  return loc;
}

std::string WithoutUnstorable(std::string_view text, size_t characters) {
  std::string kept;
  kept.reserve(text.size());
  for (char c : text) {
    if (c != '"' && c != '\r' && c != '\n') kept.push_back(c);
  }
  return Utf8Prefix(kept, characters);
}

std::string Slashed(std::string text) {
  std::replace(text.begin(), text.end(), '\\', '/');
  return text;
}

// "*" + name stands for that database in the "Locations" folder.
std::string Expanded(const std::string& locationFile) {
  if (locationFile.empty() || locationFile[0] != '*') return locationFile;
  return std::string(kLocationsFolder) + "\\" + locationFile.substr(1) + ".loc";
}

std::string DatabaseName(const std::string& locationFile) {
  if (!locationFile.empty() && locationFile[0] == '*') return locationFile.substr(1);
  return fs::path(Slashed(locationFile)).stem().string();
}

bool HasLocExtension(const fs::path& file) {
  return CompareIgnoringCase(file.extension().string(), ".loc") == 0;
}

std::vector<std::string> DatabaseFiles(const fs::path& programFolder) {
  std::vector<std::string> names;
  std::error_code ec;
  fs::directory_iterator it(programFolder / kLocationsFolder, ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    std::error_code typeError;
    if (it->is_directory(typeError) || !HasLocExtension(it->path())) continue;
    names.push_back(it->path().stem().string());
  }
  // Ties in upper case keep a fixed order, so the list does not depend on the folder's.
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    const int order = CompareIgnoringCase(a, b);
    return order != 0 ? order < 0 : a < b;
  });
  names.erase(std::unique(names.begin(), names.end(),
                          [](const std::string& a, const std::string& b) {
                            return CompareIgnoringCase(a, b) == 0;
                          }),
              names.end());
  return names;
}

}  // namespace

TDecodedLoc DecodeLoc(std::string_view line) {
  TDecodedLoc loc;
  std::string text(line);
  text += ',';
  // The two quoted fields; characters outside quotes are passed over.
  std::string fields[2];
  int closed = 0;
  bool inside = false;
  size_t i = 0;
  for (; i < text.size() && closed < 2; ++i) {
    if (text[i] == '"') {
      if (inside) ++closed;
      inside = !inside;
    } else if (inside) {
      fields[closed].push_back(text[i]);
    }
  }
  loc.name = Utf8Prefix(fields[0], kLocationNameCharacters);
  loc.sign = Utf8Prefix(fields[1], kLocationSignCharacters);
  if (closed < 2 || loc.name.empty()) return Invalid(loc);

  // The number part opens at the first comma; each further comma ends one number.
  const size_t open = text.find(',', i);
  if (open == std::string::npos) return Invalid(loc);
  double numbers[3] = {0.0, 0.0, 0.0};
  size_t start = open + 1;
  for (double& number : numbers) {
    const size_t comma = text.find(',', start);
    if (comma == std::string::npos) return Invalid(loc);
    if (!ReadDecimal(std::string_view(text).substr(start, comma - start), number)) {
      return Invalid(loc);
    }
    start = comma + 1;
  }
  loc.longitude = numbers[0];
  loc.latitude = numbers[1];
  loc.altitude = numbers[2];
  if (loc.longitude < -180.0 || loc.longitude > 180.0 || loc.latitude < -90.0 ||
      loc.latitude > 90.0 || loc.altitude < -12000.0 || loc.altitude > 10000.0) {
    return Invalid(loc);
  }
  return loc;
}

std::string EncodeLoc(const std::string& name, const TLocationRec& entry) {
  std::string line = "\"";
  line += WithoutUnstorable(name, kLocationNameCharacters);
  line += "\",\"";
  line += WithoutUnstorable(entry.sign, kLocationSignCharacters);
  line += "\",";
  line += FixedText(entry.longitude, 4);
  line += ',';
  line += FixedText(entry.latitude, 4);
  line += ',';
  line += AltitudeText(entry.altitude);
  return line;
}

fs::path LocationFilePath(const fs::path& programFolder, const std::string& locationFile) {
  const fs::path file(Slashed(Expanded(locationFile)));
  return file.is_absolute() ? file : programFolder / file;
}

void TLocationDb::zapodawajLokacje(const fs::path& programFolder) {
  LocationDbFiles = DatabaseFiles(programFolder);
  const std::string expanded = Expanded(LocationFile);
  const fs::path file = LocationFilePath(programFolder, expanded);
  std::vector<std::string> names;
  std::vector<TLocationRec> table;
  std::error_code ec;
  // Only a file that is not there at all is an empty database; anything else that is there
  // must read, or the database in memory stays as it was.
  const bool present = fs::symlink_status(file, ec).type() != fs::file_type::not_found && !ec;
  if (present) {
    std::vector<std::string> lines;
    try {
      lines = ReadTextLines(file, kLocationFileLimit);
    } catch (const TFileError&) {
      // A list never read from a file must not be written into one it was not read from: the
      // unread file (or the default one) would lose every place it holds.
      if (!haveSavedFile_) {
        savedFile_.clear();
        haveSavedFile_ = true;
        // An empty list that no file was read into holds nothing to be saved.
        if (Names.empty()) LocationDbSaved = true;
      }
      throw;
    }
    for (const std::string& line : lines) {
      if (names.size() >= static_cast<size_t>(MaxLocations)) break;
      TDecodedLoc loc = DecodeLoc(line);
      if (loc.name == kInvalidName) continue;
      names.push_back(std::move(loc.name));
      table.push_back({loc.latitude, loc.longitude, loc.altitude, std::move(loc.sign)});
    }
    Caption = file.stem().string();
  }
  LocationFile = expanded;
  Names = std::move(names);
  LocationTable = std::move(table);
  savedFile_ = LocationFile;
  haveSavedFile_ = true;
  // Nothing read is nothing to write back until the user changes it.
  LocationDbSaved = true;
}

void TLocationDb::SejwujLokacje(const fs::path& programFolder) {
  const std::string target = SavedFile();
  if (target.empty()) {
    throw TFileError(
        "The location list was not read from a file, so it has no file to be saved to; open a "
        "location database to keep places.");
  }
  std::vector<std::string> lines;
  lines.reserve(Names.size());
  for (size_t i = 0; i < Names.size() && i < LocationTable.size(); ++i) {
    lines.push_back(EncodeLoc(Names[i], LocationTable[i]));
  }
  const fs::path file = LocationFilePath(programFolder, target);
  // A database never read may name a folder not made yet; the write reports what still fails.
  std::error_code ec;
  if (file.has_parent_path()) fs::create_directories(file.parent_path(), ec);
  WriteTextLines(file, lines);
  savedFile_ = target;
  haveSavedFile_ = true;
  LocationDbSaved = true;
}

const std::string& TLocationDb::SavedFile() const {
  return haveSavedFile_ ? savedFile_ : LocationFile;
}

int TLocationDb::Add(const std::string& name, const TLocationRec& entry) {
  if (Names.size() >= static_cast<size_t>(MaxLocations)) return -1;
  const std::string cut = Utf8Prefix(name, kLocationNameCharacters);
  const auto at = std::find_if(Names.begin(), Names.end(), [&](const std::string& item) {
    return CompareIgnoringCase(item, cut) >= 0;
  });
  const auto index = at - Names.begin();
  Names.insert(at, cut);
  TLocationRec rec = entry;
  rec.sign = Utf8Prefix(rec.sign, kLocationSignCharacters);
  LocationTable.insert(LocationTable.begin() + index, std::move(rec));
  LocationDbSaved = false;
  return static_cast<int>(index);
}

void TLocationDb::Update(int index, const std::string& name, const TLocationRec& entry) {
  if (index < 0 || static_cast<size_t>(index) >= Names.size()) return;
  Names[index] = Utf8Prefix(name, kLocationNameCharacters);
  LocationTable[index] = entry;
  LocationTable[index].sign = Utf8Prefix(entry.sign, kLocationSignCharacters);
  LocationDbSaved = false;
}

void TLocationDb::Remove(int index) {
  if (index < 0 || static_cast<size_t>(index) >= Names.size()) return;
  Names.erase(Names.begin() + index);
  LocationTable.erase(LocationTable.begin() + index);
  LocationDbSaved = false;
}

void TLocationDb::Clear() {
  Names.clear();
  LocationTable.clear();
  LocationDbSaved = false;
}

std::string TLocationDb::NeighbourDatabase(bool next) const {
  if (LocationDbFiles.empty()) return {};
  const std::string current = DatabaseName(SavedFile());
  const auto found = std::find_if(
      LocationDbFiles.begin(), LocationDbFiles.end(),
      [&](const std::string& name) { return CompareIgnoringCase(name, current) == 0; });
  const size_t count = LocationDbFiles.size();
  if (found == LocationDbFiles.end())
    return next ? LocationDbFiles.front() : LocationDbFiles.back();
  const size_t at = static_cast<size_t>(found - LocationDbFiles.begin());
  return LocationDbFiles[next ? (at + 1) % count : (at + count - 1) % count];
}

int TLocationDb::FindPrefix(std::string_view text) const {
  if (text.empty()) return -1;
  for (size_t i = 0; i < Names.size(); ++i) {
    if (StartsWithIgnoringCase(Names[i], text)) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace zen
