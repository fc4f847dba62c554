// INI text files: "[Section]" lines and "key=value" lines, read defensively, written safely.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace zen {

// Rounds to the nearest integer, halves to even (2.5 -> 2, -2.5 -> -2, 3.5 -> 4). Values past
// the int64 range give its nearest end; NaN gives 0.
int64_t RoundHalfEvenInt(double value);
// value when min <= value <= max, else fallback.
int IntInRangeOr(int64_t value, int min, int max, int fallback);
// value when min <= value <= max, else fallback (NaN included).
double FloatInRangeOr(double value, double min, double max, double fallback);

// The lines of an INI file with their meaning. Section and key names match without regard to
// ASCII case; blanks around names and values do not count. Of duplicate keys in a section the
// first one counts, for reading and for writing. A section that appears in several places is
// one section. Lines that are neither a section nor a key (comments, blank lines, garbage) and
// keys before the first section are kept as they are, so a save loses nothing the file held.
class TIniFile {
 public:
  // The file's sections and keys; a missing or unreadable file reads as empty. A UTF-8
  // byte-order mark at the start is skipped; line ends and encodings are those ReadTextLines
  // accepts. problem (when given) says why a file that is there could not be read, or is left
  // empty.
  static TIniFile Read(const std::filesystem::path& file, std::string* problem = nullptr);
  // The file as a save starts from, to keep what it holds: empty when nothing is there, and
  // TFileError when something is there that cannot be read, since writing over it would lose
  // it unasked.
  static TIniFile ReadToUpdate(const std::filesystem::path& file);
  // The same for a file that must be there: throws TFileError naming the file and the reason
  // when it is missing or cannot be read.
  static TIniFile ReadExisting(const std::filesystem::path& file);

  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view fallback) const;
  // A key that is missing or whose text is not a whole number (or does not fit) gives fallback.
  // A whole number is an optional sign and decimal digits, nothing else.
  int64_t ReadInteger(std::string_view section, std::string_view key, int64_t fallback) const;
  // True when the integer value is not 0.
  bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;

  // True when the section holds the key, whatever its value.
  bool HasKey(std::string_view section, std::string_view key) const;

  // Every section's name once, in the order the sections first appear.
  std::vector<std::string> SectionNames() const;
  // True when the file held nothing but blanks (spaces, tabs, line ends, a byte-order mark):
  // not even a comment.
  bool Blank() const;

  // Replaces the value of the key's first line, where it stands; a new key goes after the last
  // key of its section, a new section at the end of the file. Line breaks in the value become
  // blanks, since a value is one line.
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, int64_t value);
  void WriteBool(std::string_view section, std::string_view key, bool value);  // "1" / "0"

  // Writes every section and key, those this program does not know included, through a
  // temporary file renamed into place (WriteTextLines of tracking/text_file.h). Throws TFileError
  // naming the file and the reason; the previous file then stays whole.
  void Save(const std::filesystem::path& file) const;

 private:
  enum class TKind { Other, Section, Key };
  struct TLine {
    std::string text;  // the line as it is written back
    TKind kind = TKind::Other;
    std::string name;   // section or key name, trimmed
    std::string value;  // key value, trimmed
  };
  static TLine Parse(std::string text);
  // Index of the first line of key in section, or npos.
  size_t Find(std::string_view section, std::string_view key) const;

  std::vector<TLine> lines_;
};

}  // namespace zen
