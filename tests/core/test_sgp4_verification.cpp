// The near-earth model against the published verification output of the revised model:
// the two agree closely for near-earth orbits, so a large difference means a fault here.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/propagator.h"
#include "tests/core/test_propagator_fixture.h"

namespace zen {
namespace {

// The revised model changed the Kepler solution, the constants' last digits and the handling
// of tiny eccentricities; for near-earth sets this moves positions by metres, up to a few
// hundred metres after days of strong drag.
constexpr double kOneKilometre = 1.0;
constexpr double kOneMetrePerSecondKmPerS = 0.001;
// Where drag takes the mean eccentricity of a nearly circular orbit below zero, the revised
// model holds it at 1e-6 while this one runs on: kilometres apart (28350 after 1000 minutes).
constexpr double kTenKilometres = 10.0;
constexpr double kTenMetresPerSecondKmPerS = 0.010;
const char* const kNegativeEccentricitySets[] = {"28350"};

struct TVerificationRow {
  double tsinceMinutes;
  double x, y, z, xd, yd, zd;
};

// Sets of the verification file by catalogue number (line 2 carries extra columns after 69).
std::map<std::string, TTleLines> ReadVerificationSets(const std::filesystem::path& path) {
  std::map<std::string, TTleLines> sets;
  std::ifstream in(path);
  std::string line, line1;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("1 ", 0) == 0) {
      line1 = line.substr(0, 69);
      // The report's own case leaves the launch designator blank, which the decoder rejects;
      // it plays no part in the propagation.
      if (line1.size() == 69 && line1.substr(9, 8) == "        ") {
        line1 = test::WithChecksum(line1.substr(0, 9) + "80001A  " + line1.substr(17));
      }
    }
    if (line.rfind("2 ", 0) == 0 && !line1.empty()) {
      sets[line1.substr(2, 5)] = TTleLines{line1, line.substr(0, 69)};
      line1.clear();
    }
  }
  return sets;
}

// Rows of the verification output by catalogue number (as printed, without leading zeros).
std::map<long, std::vector<TVerificationRow>> ReadVerificationOutput(
    const std::filesystem::path& path) {
  std::map<long, std::vector<TVerificationRow>> rows;
  std::ifstream in(path);
  std::string line;
  std::vector<TVerificationRow>* current = nullptr;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    if (line.find("xx") != std::string::npos) {
      long number = 0;
      fields >> number;
      current = &rows[number];
      current->clear();  // a number printed twice: the later block is the one kept
      continue;
    }
    TVerificationRow row;
    if (current != nullptr &&
        (fields >> row.tsinceMinutes >> row.x >> row.y >> row.z >> row.xd >> row.yd >> row.zd)) {
      current->push_back(row);
    }
  }
  return rows;
}

TEST(Sgp4Verification, NearEarthSetsAgreeWithTheRevisedModel) {
  std::filesystem::path tle = test::ReferenceData("vallado/SGP4-VER.TLE");
  std::filesystem::path out = test::ReferenceData("vallado/tcppver.out");
  std::map<std::string, TTleLines> sets = ReadVerificationSets(tle);
  std::map<long, std::vector<TVerificationRow>> rows = ReadVerificationOutput(out);
  int nearEarthSets = 0;
  for (const auto& [number, lines] : sets) {
    TPropagator propagator;
    try {
      propagator.LoadElements(lines);
    } catch (const TElementError&) {
      continue;
    }
    if (propagator.CurrentElements.UseDeepSpace) continue;
    auto found = rows.find(std::stol(number));
    if (found == rows.end()) continue;
    ++nearEarthSets;
    double worstPosKm = 0.0, worstVelKmPerS = 0.0, worstAt = 0.0;
    int compared = 0;
    for (const TVerificationRow& row : found->second) {
      TVector pos, vel;
      if (propagator.PropagateMinutes(pos, vel, row.tsinceMinutes) != TPropagationStatus::Ok) {
        continue;
      }
      TPropagator::ScaleStateToKm(pos, vel);
      double dPos = std::hypot(pos.x - row.x, pos.y - row.y, pos.z - row.z);
      double dVel = std::hypot(vel.x - row.xd, vel.y - row.yd, vel.z - row.zd);
      if (dPos > worstPosKm) worstAt = row.tsinceMinutes;
      worstPosKm = std::max(worstPosKm, dPos);
      worstVelKmPerS = std::max(worstVelKmPerS, dVel);
      ++compared;
    }
    std::printf("near-earth %s: %d moments, largest difference %.6f km (at %.1f min), %.9f km/s\n",
                number.c_str(), compared, worstPosKm, worstAt, worstVelKmPerS);
    bool runsBelowZero =
        std::find(std::begin(kNegativeEccentricitySets), std::end(kNegativeEccentricitySets),
                  number) != std::end(kNegativeEccentricitySets);
    EXPECT_LT(worstPosKm, runsBelowZero ? kTenKilometres : kOneKilometre) << "set " << number;
    EXPECT_LT(worstVelKmPerS, runsBelowZero ? kTenMetresPerSecondKmPerS : kOneMetrePerSecondKmPerS)
        << "set " << number;
  }
  EXPECT_GE(nearEarthSets, 5);
}

}  // namespace
}  // namespace zen
