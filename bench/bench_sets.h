// Element sets for the benchmarks: 200 satellites spread round their orbits, a catalogue of
// tens of thousands built from the real Starlink file, and one of the same size with the mix of
// every kind of orbit in the public files.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <unordered_set>
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

// The public element files whose sets make up the mixed catalogue: near-earth (Starlink, the
// visual list, weather and science satellites) and deep-space (geostationary, navigation,
// Molniya) orbits. The older first-generation Iridium files, the station list and the GPS file
// repeat satellites of these or of each other and stay out.
inline const std::vector<std::string>& PublicMixFiles() {
  static const std::vector<std::string> files = {
      "starlink_2026-05-30.tle", "geo_2026-05-30.tle",     "gnss_2026-02-11.tle",
      "molniya_2023-06-28.tle",  "visual_2026-02-11.tle",  "weather_2026-05-30.tle",
      "science_2026-05-30.tle"};
  return files;
}

struct TBenchSet {
  std::string name, line1, line2;
};

// Every set of the public files in tleDir, each satellite once (the first file naming it keeps
// it), the files interleaved in proportion to their sizes so that any leading part of the list
// holds the same mix as the whole.
inline std::vector<TBenchSet> ReadPublicMix(const std::filesystem::path& tleDir) {
  struct TKeyed {
    double key;
    TBenchSet set;
  };
  std::vector<TKeyed> keyed;
  std::unordered_set<std::string> seen;
  for (const std::string& file : PublicMixFiles()) {
    std::ifstream in(tleDir / file, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + (tleDir / file).string());
    std::vector<TBenchSet> sets;
    for (std::string name, l1, l2; std::getline(in, name) && std::getline(in, l1) &&
                                    std::getline(in, l2);) {
      for (std::string* line : {&name, &l1, &l2}) {
        while (!line->empty() && (line->back() == '\r' || line->back() == ' ')) line->pop_back();
      }
      if (l1.size() < 69 || l2.size() < 69 || !seen.insert(l1.substr(2, 5)).second) continue;
      sets.push_back({name, l1, l2});
    }
    for (size_t i = 0; i < sets.size(); ++i) {
      keyed.push_back({(static_cast<double>(i) + 0.5) / static_cast<double>(sets.size()),
                       std::move(sets[i])});
    }
  }
  std::stable_sort(keyed.begin(), keyed.end(),
                   [](const TKeyed& a, const TKeyed& b) { return a.key < b.key; });
  std::vector<TBenchSet> mix;
  mix.reserve(keyed.size());
  for (TKeyed& k : keyed) mix.push_back(std::move(k.set));
  return mix;
}

// count sets in dir/mixed.tle: the public mix of tleDir as it is, then repeats of it numbered
// from 100000, 200000 and 300000 upwards (Alpha-5 in the lines, checksums recomputed), each
// repeat's mean anomalies turned by another 120 degrees so the repeats fly elsewhere on their
// orbits.
inline std::filesystem::path WriteMixedCatalogue(const std::filesystem::path& tleDir,
                                                 const std::filesystem::path& dir, int count) {
  const std::vector<TBenchSet> mix = ReadPublicMix(tleDir);
  if (mix.empty() || mix.size() > 99999) throw std::runtime_error("unusable public mix");
  if (count > 4 * static_cast<int>(mix.size())) {
    throw std::runtime_error("the mixed catalogue holds at most four repeats");
  }
  std::filesystem::create_directories(dir);
  std::filesystem::path file = dir / "mixed.tle";
  std::ofstream out(file, std::ios::binary);
  for (int i = 0; i < count; ++i) {
    const size_t k = static_cast<size_t>(i) % mix.size();
    const int copy = i / static_cast<int>(mix.size());
    TBenchSet set = mix[k];
    if (copy > 0) {
      const std::string columns = *ColumnsOfCatalogNumber(copy * 100000 + static_cast<int>(k));
      set.line1.replace(2, 5, columns);
      set.line2.replace(2, 5, columns);
      const double anomaly = std::fmod(std::stod(set.line2.substr(43, 8)) + 120.0 * copy, 360.0);
      char angle[16];
      std::snprintf(angle, sizeof angle, "%8.4f", anomaly);
      set.line2.replace(43, 8, angle);
      set.line1 = WithChecksum(set.line1.substr(0, 68));
      set.line2 = WithChecksum(set.line2.substr(0, 68));
      set.name += " /" + std::to_string(copy);
    }
    out << set.name << "\n" << set.line1 << "\n" << set.line2 << "\n";
  }
  return file;
}

inline std::filesystem::path PublicElementDir() {
  return std::filesystem::path(ZEN_SOURCE_DIR) / "tests" / "data" / "tle";
}

inline std::filesystem::path StarlinkFile() {
  return std::filesystem::path(ZEN_SOURCE_DIR) / "tests" / "data" / "tle" /
         "starlink_2026-05-30.tle";
}

}  // namespace zen::bench
