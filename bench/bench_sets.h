// Element sets for the benchmarks: 200 satellites spread round their orbits.
#pragma once

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

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

}  // namespace zen::bench
