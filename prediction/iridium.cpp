// The Iridium status table: its file, and the names and letters of a flare.
#include "prediction/iridium.h"

#include <algorithm>
#include <optional>
#include <sstream>
#include <string_view>

#include "core/file_access.h"
#include "core/text_encoding.h"

namespace zen {

namespace {

constexpr size_t kNumberColumns = 6;
constexpr size_t kMarkColumn = 7;    // 0-based index of column 8
constexpr size_t kLabelColumn = 9;   // 0-based index of column 10
constexpr size_t kShortestRow = 10;  // a line of 9 characters or fewer holds no row
constexpr size_t kLongestLabel = 255;

// The number of the first six columns, blanks read as zeros; nothing unless every column is a
// digit or a blank.
std::optional<int32_t> NumberOfColumns(std::string_view columns) {
  int32_t number = 0;
  for (const char c : columns) {
    if (c != ' ' && (c < '0' || c > '9')) return std::nullopt;
    number = number * 10 + (c == ' ' ? 0 : c - '0');
  }
  return number;
}

// The label of a row: the rest of the line as UTF-8 (a file from a single-byte system is read
// as Windows-1252), its control characters blanked as in the catalogue's names, without
// trailing blanks, cut between characters.
std::string LabelOfLine(const std::string& line) {
  std::string label = BlankControlCharacters(ToUtf8(line.substr(kLabelColumn)));
  const size_t end = label.find_last_not_of(' ');
  label.erase(end == std::string::npos ? 0 : end + 1);
  return Utf8Prefix(label, kLongestLabel);
}

}  // namespace

TIridiumTable zapodawajIridiums(const std::filesystem::path& file, std::string* problem) {
  TIridiumTable table;
  std::string text;
  try {
    text = ReadFileBytes(file, kTableFileLimit);
  } catch (const TFileError& error) {
    if (problem != nullptr) *problem = error.what();
    return table;
  }
  std::istringstream in(text);
  std::string line;
  while (table.size() < kIridiumTableCapacity && std::getline(in, line)) {
    // A file written on another system may end its lines with CR LF.
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() < kShortestRow || line.front() == '#') continue;
    const std::optional<int32_t> number =
        NumberOfColumns(std::string_view(line).substr(0, kNumberColumns));
    if (!number || *number == 0) continue;
    // A mark outside ASCII would not be a whole character of the label's UTF-8 text.
    const char mark =
        static_cast<unsigned char>(line[kMarkColumn]) < 0x80 ? line[kMarkColumn] : '?';
    table.push_back(TIridiumData{*number, mark, LabelOfLine(line)});
  }
  if (table.empty() && problem != nullptr) *problem = file.string() + " lists no Iridium";
  return table;
}

bool IsIridium(const TIridiumTable& table, int64_t catalogNumber) {
  return std::any_of(table.begin(), table.end(), [catalogNumber](const TIridiumData& row) {
    return row.catalogNumber == catalogNumber;
  });
}

std::string IridiumLabel(const TIridiumTable& table, const std::string& name, int64_t catalogNumber,
                         bool useTable) {
  if (useTable) {
    for (const TIridiumData& row : table) {
      if (row.catalogNumber == catalogNumber) return row.label + " " + row.statusMark;
    }
  }
  // Upper case for the ASCII letters only, which keeps any other UTF-8 character whole.
  std::string label = name;
  std::transform(label.begin(), label.end(), label.begin(), [](char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  });
  for (const std::string_view word : {std::string_view("IRIDIUM "), std::string_view("IRIDIUM")}) {
    const size_t at = label.find(word);
    if (at != std::string::npos) label.erase(at, word.size());
  }
  return label;
}

const char* PanelLetter(int panel) {
  if (panel == 1) return "L";
  if (panel == 3) return "R";
  return "F";
}

char DirectionLetter(double velocityZ) {
  return velocityZ >= 0.0 ? 'A' : 'D';
}

}  // namespace zen
