// Splitting a command's output into lines and CSV rows into fields, for the command tests.
#pragma once

#include <sstream>
#include <string>
#include <vector>

namespace zen::test {

inline std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Plain fields only: quoted fields with commas are not joined again.
inline std::vector<std::string> SplitFields(const std::string& line) {
  std::vector<std::string> fields;
  std::istringstream in(line);
  for (std::string field; std::getline(in, field, ',');) fields.push_back(field);
  return fields;
}

}  // namespace zen::test
