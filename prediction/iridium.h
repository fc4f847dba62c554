// The Iridium status table: which satellites take part in a flare search, and how a flare
// names its satellite.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace zen {

// One row of the table.
struct TIridiumData {
  int32_t catalogNumber = 0;
  char statusMark = ' ';
  std::string label;  // the short name shown in results, at most 255 characters
};

// The rows in file order, at most kIridiumTableCapacity.
using TIridiumTable = std::vector<TIridiumData>;
inline constexpr size_t kIridiumTableCapacity = 100;

// zapodawajIridiums: the rows of a "Data/flares.dat" file. Columns 1-6 the catalogue number
// (blanks count as zeros), column 8 the status mark, from column 10 the label. Comment lines
// ("#"), lines of 9 characters or fewer and lines without a number other than 0 are skipped;
// rows past the capacity are ignored. A missing or unreadable file (not a plain file, or larger
// than kTableFileLimit) gives an empty table, and problem (when given) says why; so does a file
// that lists no Iridium.
TIridiumTable zapodawajIridiums(const std::filesystem::path& file, std::string* problem = nullptr);

// Whether a row has this catalogue number (the first match counts).
bool IsIridium(const TIridiumTable& table, int64_t catalogNumber);

// The Sat text of a flare: with useTable and a row for the number, its label, a blank and its
// status mark; otherwise the set's name in upper case without its first "IRIDIUM " and then
// without its first "IRIDIUM" ("IRIDIUM 17" gives "17").
std::string IridiumLabel(const TIridiumTable& table, const std::string& name,
                         int64_t catalogNumber, bool useTable);

// "L" for panel 1, "R" for panel 3, "F" for any other.
const char* PanelLetter(int panel);

// 'A' when the z component of the inertial velocity is zero or positive, else 'D'.
char DirectionLetter(double velocityZ);

}  // namespace zen
