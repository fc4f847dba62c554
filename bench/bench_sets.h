// Element sets for the benchmarks: 200 satellites spread round their orbits, and a catalogue
// of tens of thousands built from the real Starlink file.
#pragma once

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/alpha5.h"
#include "core/elements.h"

namespace zen::bench {

inline std::string WithChecksum(std::string line) {
  line.resize(68, ' ');
  int sum = 0;
  for (char c : line) {
    if (c >= '0' && c <= '9') sum += c - '0';
    if (c == '-') sum += 1;
  }
  line.push_back(static_cast<char>('0' + sum % 10));
  return line;
}

// 200 sets in dir/bench.tle: the built-in near-earth and (every tenth) deep-space sets,
// renumbered, with their nodes and mean anomalies spread round the orbit so the satellites
// stand in different places.
inline std::filesystem::path WriteSets(const std::filesystem::path& dir) {
  std::filesystem::create_directories(dir);
  std::filesystem::path file = dir / "bench.tle";
  std::ofstream out(file, std::ios::binary);
  for (int i = 0; i < 200; ++i) {
    const TNamedElements& s = SelfTestSatellites[i % 10 == 0 ? 0 : 1];
    std::string l1 = s.line1;
    std::string l2 = s.line2;
    char number[8];
    std::snprintf(number, sizeof number, "%5d", 40000 + i);
    char angle[16];
    l1.replace(2, 5, number);
    l2.replace(2, 5, number);
    std::snprintf(angle, sizeof angle, "%8.4f", (i * 37) % 360 + 0.5);
    l2.replace(17, 8, angle);
    std::snprintf(angle, sizeof angle, "%8.4f", (i * 53) % 360 + 0.25);
    l2.replace(43, 8, angle);
    out << "SAT " << i << "\n" << WithChecksum(l1) << "\n" << WithChecksum(l2) << "\n";
  }
  return file;
}

// count sets in dir/large.tle built from the real Starlink file (source): its sets first as
// they are, then copies renumbered from 100000 and 200000 upwards (Alpha-5 in the lines), each
// copy's mean anomaly turned by another 120 degrees so the copies fly elsewhere on the orbit.
inline std::filesystem::path WriteLargeCatalogue(const std::filesystem::path& source,
                                                 const std::filesystem::path& dir, int count) {
  std::ifstream in(source, std::ios::binary);
  std::vector<std::string> names, first, second;
  for (std::string name, l1, l2; std::getline(in, name) && std::getline(in, l1) &&
                                  std::getline(in, l2);) {
    for (std::string* line : {&name, &l1, &l2}) {
      while (!line->empty() && (line->back() == '\r' || line->back() == ' ')) line->pop_back();
    }
    names.push_back(name);
    first.push_back(l1);
    second.push_back(l2);
  }
  if (names.empty()) throw std::runtime_error("no sets in " + source.string());
  std::filesystem::create_directories(dir);
  std::filesystem::path file = dir / "large.tle";
  std::ofstream out(file, std::ios::binary);
  for (int i = 0; i < count; ++i) {
    const size_t k = static_cast<size_t>(i) % names.size();
    const int copy = i / static_cast<int>(names.size());
    std::string l1 = first[k];
    std::string l2 = second[k];
    std::string name = names[k];
    if (copy > 0) {
      const std::string columns = *ColumnsOfCatalogNumber(copy * 100000 + static_cast<int>(k));
      l1.replace(2, 5, columns);
      l2.replace(2, 5, columns);
      const double anomaly = std::fmod(std::stod(l2.substr(43, 8)) + 120.0 * copy, 360.0);
      char angle[16];
      std::snprintf(angle, sizeof angle, "%8.4f", anomaly);
      l2.replace(43, 8, angle);
      l1 = WithChecksum(l1.substr(0, 68));
      l2 = WithChecksum(l2.substr(0, 68));
      name += " /" + std::to_string(copy);
    }
    out << name << "\n" << l1 << "\n" << l2 << "\n";
  }
  return file;
}

inline std::filesystem::path StarlinkFile() {
  return std::filesystem::path(ZEN_SOURCE_DIR) / "tests" / "data" / "tle" /
         "starlink_2026-05-30.tle";
}

}  // namespace zen::bench
