// INI text files: "[Section]" lines and "key=value" lines, read defensively, written safely.
#include "tracking/ini_file.h"

#include <cerrno>
#include <cmath>

#include "core/numeric.h"
#include "tracking/text_file.h"

namespace zen {

namespace {

// The byte-order mark as UTF-8, and as ReadTextLines gives it back when other bytes of the file
// made it read the whole file as Windows-1252.
constexpr std::string_view kByteOrderMarks[] = {"\xEF\xBB\xBF", "\xC3\xAF\xC2\xBB\xC2\xBF"};

}  // namespace

int64_t RoundHalfEvenInt(double value) {
  if (std::isnan(value)) return 0;
  const double below = std::floor(value);
  const double fraction = value - below;
  double rounded = below;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) != 0.0)) rounded = below + 1.0;
  // 2^63 is exact as a double; anything from there on does not fit.
  constexpr double kLimit = 9223372036854775808.0;
  if (rounded >= kLimit) return INT64_MAX;
  if (rounded < -kLimit) return INT64_MIN;
  return static_cast<int64_t>(rounded);
}

int IntInRangeOr(int64_t value, int min, int max, int fallback) {
  return (value >= min && value <= max) ? static_cast<int>(value) : fallback;
}

double FloatInRangeOr(double value, double min, double max, double fallback) {
  return (value >= min && value <= max) ? value : fallback;
}

TIniFile::TLine TIniFile::Parse(std::string text) {
  TLine line;
  const std::string trimmed = TrimBlanks(text);
  line.text = std::move(text);
  if (!trimmed.empty() && trimmed[0] == '[') {
    const size_t close = trimmed.find(']');
    if (close != std::string::npos) {
      line.kind = TKind::Section;
      line.name = TrimBlanks(std::string_view(trimmed).substr(1, close - 1));
      return line;
    }
  }
  if (!trimmed.empty() && trimmed[0] == ';') return line;
  const size_t equals = trimmed.find('=');
  if (equals == std::string::npos) return line;
  line.kind = TKind::Key;
  line.name = TrimBlanks(std::string_view(trimmed).substr(0, equals));
  line.value = TrimBlanks(std::string_view(trimmed).substr(equals + 1));
  return line;
}

TIniFile TIniFile::Read(const std::filesystem::path& file, std::string* problem) {
  try {
    return ReadExisting(file);
  } catch (const TFileError& error) {
    if (problem != nullptr && error.Code() != ENOENT) *problem = error.what();
    return TIniFile();
  }
}

TIniFile TIniFile::ReadToUpdate(const std::filesystem::path& file) {
  try {
    return ReadExisting(file);
  } catch (const TFileError& error) {
    // A dangling link is nothing yet: the save makes the file it leads to.
    if (error.Code() == ENOENT) return TIniFile();
    throw;
  }
}

TIniFile TIniFile::ReadExisting(const std::filesystem::path& file) {
  TIniFile ini;
  std::vector<std::string> lines = ReadTextLines(file, kSettingsFileLimit);
  // Every mark goes: a tool that adds one at each save leaves several, and a save that kept the
  // second would have the next read drop it and take the line after it differently.
  for (bool found = !lines.empty(); found;) {
    found = false;
    for (std::string_view mark : kByteOrderMarks) {
      if (lines[0].starts_with(mark)) {
        lines[0].erase(0, mark.size());
        found = true;
      }
    }
  }
  ini.lines_.reserve(lines.size());
  for (std::string& text : lines) ini.lines_.push_back(Parse(std::move(text)));
  return ini;
}

size_t TIniFile::Find(std::string_view section, std::string_view key) const {
  bool inSection = false;
  for (size_t i = 0; i < lines_.size(); ++i) {
    const TLine& line = lines_[i];
    if (line.kind == TKind::Section) {
      inSection = SameTextIgnoringCase(line.name, section);
    } else if (inSection && line.kind == TKind::Key && SameTextIgnoringCase(line.name, key)) {
      return i;
    }
  }
  return std::string::npos;
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view fallback) const {
  const size_t i = Find(section, key);
  return i == std::string::npos ? std::string(fallback) : lines_[i].value;
}

int64_t TIniFile::ReadInteger(std::string_view section, std::string_view key,
                              int64_t fallback) const {
  const size_t i = Find(section, key);
  int64_t value = fallback;
  if (i != std::string::npos) StrictInt(lines_[i].value, value);
  return value;
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool fallback) const {
  return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

std::vector<std::string> TIniFile::SectionNames() const {
  std::vector<std::string> names;
  for (const TLine& line : lines_) {
    if (line.kind != TKind::Section) continue;
    bool known = false;
    for (const std::string& name : names) known = known || SameTextIgnoringCase(name, line.name);
    if (!known) names.push_back(line.name);
  }
  return names;
}

bool TIniFile::Blank() const {
  for (const TLine& line : lines_) {
    if (line.text.find_first_not_of(" \t\f\v") != std::string::npos) return false;
  }
  return true;
}

bool TIniFile::HasKey(std::string_view section, std::string_view key) const {
  return Find(section, key) != std::string::npos;
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  std::string text(key);
  text += '=';
  for (char c : value) text += (c == '\r' || c == '\n') ? ' ' : c;
  const size_t existing = Find(section, key);
  if (existing != std::string::npos) {
    lines_[existing] = Parse(std::move(text));
    return;
  }
  // After the last key of the section's last block, so blank lines and comments that lead
  // into the next section stay with it.
  size_t insertAt = std::string::npos;
  bool inSection = false;
  for (size_t i = 0; i < lines_.size(); ++i) {
    const TLine& line = lines_[i];
    if (line.kind == TKind::Section) {
      inSection = SameTextIgnoringCase(line.name, section);
      if (inSection) insertAt = i + 1;
    } else if (inSection && line.kind == TKind::Key) {
      insertAt = i + 1;
    }
  }
  if (insertAt != std::string::npos) {
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), Parse(std::move(text)));
    return;
  }
  if (!lines_.empty() && !TrimBlanks(lines_.back().text).empty()) lines_.push_back(Parse(""));
  lines_.push_back(Parse("[" + std::string(section) + "]"));
  lines_.push_back(Parse(std::move(text)));
}

void TIniFile::WriteInteger(std::string_view section, std::string_view key, int64_t value) {
  WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

void TIniFile::Save(const std::filesystem::path& file) const {
  std::vector<std::string> texts;
  texts.reserve(lines_.size());
  for (const TLine& line : lines_) texts.push_back(line.text);
  WriteTextLines(file, texts);
}

}  // namespace zen
