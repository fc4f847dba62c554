// Helpers shared by the test programs: the reference data folder and element-line fixtures.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace zen::test {

// The reference data beside the source tree, or an empty path when it is not there.
inline std::filesystem::path ReferenceDataDir() {
  std::filesystem::path dir = std::filesystem::path(ZEN_SOURCE_DIR) / ".." / "shared" / "data";
  std::error_code ec;
  if (!std::filesystem::is_directory(dir, ec)) return {};
  return std::filesystem::weakly_canonical(dir, ec);
}

inline std::string ReferenceDataMissingMessage() {
  return "reference data not found beside the source tree (../shared/data); skipped";
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

}  // namespace zen::test
