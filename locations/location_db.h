// The location database: ".loc" files of named observer places, in memory as a list of names
// with one entry each.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace zen {

inline constexpr int MaxLocations = 5000;
inline constexpr size_t kLocationNameCharacters = 25;
inline constexpr size_t kLocationSignCharacters = 15;

struct TLocationRec {
  double latitude = 0.0;   // degrees, north positive
  double longitude = 0.0;  // degrees, east positive
  double altitude = 0.0;   // metres
  std::string sign;        // at most 15 characters
};

struct TDecodedLoc {
  std::string name;
  std::string sign;
  double longitude = 0.0;
  double latitude = 0.0;
  double altitude = 0.0;
};

// One ".loc" line: "name","sign",longitude,latitude,altitude. The name is "ERROR!" when the
// line is not valid: an empty name, fewer than three numbers, a number that does not read or
// one out of range. Numbers are split at every comma, so a decimal comma splits a number.
TDecodedLoc DecodeLoc(std::string_view line);

// The line written for one entry: "name","sign",lon,lat,alt with longitude and latitude to four
// decimals and the altitude as AltitudeText gives it. Double quotes and line ends, which the
// format cannot hold, are left out; the name is cut to 25 and the sign to 15 characters.
std::string EncodeLoc(const std::string& name, const TLocationRec& entry);

class TLocationDb {
 public:
  std::vector<std::string> Names;           // the list's items
  std::vector<TLocationRec> LocationTable;  // entry i belongs to Names[i]
  bool LocationDbSaved = false;
  // As the settings store it: relative to the program folder ("Locations\\World.loc" or with
  // "/"), absolute, or "*" + a bare database name in the "Locations" folder.
  std::string LocationFile = "Locations\\World.loc";
  std::vector<std::string> LocationDbFiles;  // names without ".loc", sorted ignoring case
  std::string Caption = "World";             // the database button's caption

  // Loads LocationFile: a "*" name becomes its path in the "Locations" folder; LocationDbFiles
  // is rebuilt. A missing file gives an empty database and keeps the caption. At most
  // MaxLocations entries are taken; invalid lines are skipped. The file read is remembered as
  // the one saves go to, so a later change of LocationFile never sends this database into
  // another one's file. Throws TFileError naming the file and the reason when it is there but
  // cannot be read (a folder, a device, no permission, an I/O error): the database in memory,
  // LocationFile and the caption stay as they were, and a database that no file was ever read
  // into has none to be saved to.
  void zapodawajLokacje(const std::filesystem::path& programFolder);
  // Writes every entry to SavedFile(), lines ended by CR LF, through a temporary file and a
  // rename. Throws TFileError naming the file (or saying there is none); the previous copy then
  // stays.
  void SejwujLokacje(const std::filesystem::path& programFolder);
  // The file saves go to: the one last read or saved, or LocationFile before either.
  const std::string& SavedFile() const;

  // Inserts before the first name equal to or after name (case not counting), or at the end;
  // returns the index, or -1 when the database is full. Name and sign are cut to their lengths.
  int Add(const std::string& name, const TLocationRec& entry);
  // Replaces entry index (nothing happens for an index out of range).
  void Update(int index, const std::string& name, const TLocationRec& entry);
  void Remove(int index);
  void Clear();

  // The next or previous name in LocationDbFiles after the current database's, wrapping (and
  // from a name not in the list to the first or the last); empty when there are none.
  std::string NeighbourDatabase(bool next) const;
  // The first name starting with text, case not counting; -1 if none or text is empty.
  int FindPrefix(std::string_view text) const;

 private:
  std::string savedFile_;
  bool haveSavedFile_ = false;
};

// The file a LocationFile value stands for under the program folder ("\" read as "/").
std::filesystem::path LocationFilePath(const std::filesystem::path& programFolder,
                                       const std::string& locationFile);

}  // namespace zen
