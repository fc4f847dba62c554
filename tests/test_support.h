// Helpers shared by the test programs: the reference data folder and element-line fixtures.
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zen::test {

// The reference data the tests read: real element sets, published test cases and mean-elements
// messages, kept in the repository so that a clone alone runs every test.
inline std::filesystem::path ReferenceDataDir() {
  return std::filesystem::path(ZEN_SOURCE_DIR) / "tests" / "data";
}

// Every entry under folder with its size and time, sorted: an equal listing later means that
// nothing there was written.
inline std::vector<std::string> FolderListing(const std::filesystem::path& folder) {
  std::vector<std::string> lines;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    const auto time = entry.last_write_time().time_since_epoch().count();
    const auto size = entry.is_regular_file() ? entry.file_size() : 0;
    lines.push_back(entry.path().string() + " " + std::to_string(size) + " " +
                    std::to_string(time));
  }
  std::sort(lines.begin(), lines.end());
  return lines;
}

// The checksum digit of the first 68 characters: digits count their value, "-" counts 1.
inline char ChecksumDigit(std::string_view line) {
  int sum = 0;
  for (size_t i = 0; i < 68 && i < line.size(); ++i) {
    char c = line[i];
    if (c >= '0' && c <= '9') sum += c - '0';
    if (c == '-') sum += 1;
  }
  return static_cast<char>('0' + sum % 10);
}

// The line's first 68 characters (padded with blanks) followed by a correct checksum digit.
inline std::string WithChecksum(std::string line) {
  line.resize(68, ' ');
  line.push_back(ChecksumDigit(line));
  return line;
}

// The line with columns first.. (1-based) replaced by text and the checksum made good again.
inline std::string Patched(std::string line, size_t first, std::string_view text) {
  line.replace(first - 1, text.size(), text);
  return WithChecksum(line);
}

// A valid near-earth set with the given catalogue number (the built-in station set renumbered).
inline std::pair<std::string, std::string> MakeLinePair(int number) {
  static const std::string l1 =
      "1 25544U 98067A   01352.14768052  .00078250  00000-0  94854-3 0  8583";
  static const std::string l2 =
      "2 25544  51.6400 243.0480 0003252  49.4561  86.0846 15.59935715175780";
  // Numbers past 99999 take the Alpha-5 form.
  std::string field = std::to_string(number % 100000);
  field.insert(0, 5 - field.size(), ' ');
  if (number >= 100000) {
    field = std::string(1, "ABCDEFGHJKLMNPQRSTUVWXYZ"[number / 10000 - 10]) +
            std::to_string(10000 + number % 10000).substr(1);
  }
  return {Patched(l1, 3, field), Patched(l2, 3, field)};
}

// A file's bytes, or "<missing>" when it cannot be read.
inline std::string Bytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return in ? bytes.str() : std::string("<missing>");
}

// A plain file of these bytes as Standing shows it: short, since a failure prints it.
inline std::string FileOf(const std::string& bytes) {
  return "file of " + std::to_string(bytes.size()) + " bytes #" +
         std::to_string(std::hash<std::string>{}(bytes));
}

// What is at path, not following a link, with a plain file's bytes: equal before and after
// means it was left alone. A named pipe or a device is never opened.
inline std::string Standing(const std::filesystem::path& path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  switch (fs::symlink_status(path, ec).type()) {
    case fs::file_type::not_found:
      return "nothing";
    case fs::file_type::regular:
      return FileOf(Bytes(path));
    case fs::file_type::directory:
      return "folder";
    case fs::file_type::fifo:
      return "pipe";
    case fs::file_type::character:
      return "device";
    case fs::file_type::symlink:
      return "link to " + fs::read_symlink(path).string();
    default:
      return "other";
  }
}

}  // namespace zen::test
