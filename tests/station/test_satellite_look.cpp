// The station's look at a satellite against the look command's printed columns.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "cli/look.h"
#include "core/timescale.h"
#include "reference_sets.h"
#include "station/satellite_look.h"
#include "test_support.h"

namespace zen::station {
namespace {

// The command prints the range rate with four decimals and the angles and range with three.
constexpr double kFourDecimals = 0.5e-4 + 1e-9;
constexpr double kThreeDecimals = 0.5e-3 + 1e-9;
constexpr int64_t kStation = 25544;

std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  std::istringstream in(line);
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

TEST(SatelliteLook, AgreesWithTheLookCommand) {
  const std::string file =
      (zen::test::ReferenceDataDir() / "tle" / "stations_2026-05-30.tle").string();
  const TCatalogSet set = test::ReferenceSet("stations_2026-05-30", kStation);
  ASSERT_TRUE(set.decodable);
  // Two sites, so that both approaching and receding moments and a pass come up.
  const struct {
    const char* site;
    double latDeg, lonDeg, altM;
  } sites[] = {{"48.2,16.37,190", 48.2, 16.37, 190}, {"-33.87,151.21,58", -33.87, 151.21, 58}};
  for (const auto& site : sites) {
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(
        cli::RunLook({file, "--sat", "25544", "--site", site.site, "--from", "2026-05-30T12:00:00Z",
                      "--to", "2026-05-30T18:00:00Z", "--step", "630"},
                     out, err),
        0)
        << err.str();
    TSatelliteLook look(set.elements, site.latDeg, site.lonDeg, site.altM);
    std::istringstream lines(out.str());
    std::string line;
    std::getline(lines, line);  // the header
    int compared = 0;
    bool approaching = false;
    bool receding = false;
    while (std::getline(lines, line)) {
      const std::vector<std::string> w = Words(line);
      ASSERT_EQ(w.size(), 14u) << line;
      TDateRec date{};
      ASSERT_EQ(std::sscanf((w[0] + " " + w[1]).c_str(), "%hu-%hu-%hu %hu:%hu:%hu", &date.year,
                            &date.month, &date.day, &date.hour, &date.minute, &date.second),
                6);
      const TLook seen = look.At(DateRecToJulian(date));
      ASSERT_TRUE(seen.ok) << line;
      EXPECT_NEAR(seen.rangeRateKmS, std::stod(w[8]), kFourDecimals) << line;
      EXPECT_NEAR(seen.azDeg, std::stod(w[5]), kThreeDecimals) << line;
      EXPECT_NEAR(seen.elDeg, std::stod(w[6]), kThreeDecimals) << line;
      EXPECT_NEAR(seen.rangeKm, std::stod(w[7]), kThreeDecimals) << line;
      approaching |= seen.rangeRateKmS < -1.0;
      receding |= seen.rangeRateKmS > 1.0;
      ++compared;
    }
    EXPECT_EQ(compared, 35) << site.site;
    EXPECT_TRUE(approaching && receding) << site.site;
  }
}

TEST(SatelliteLook, ABrokenDownModelGivesNoLook) {
  // A set whose drag brings it down within days: far past that, the model has nothing to say.
  TCatalogSet set = test::ReferenceSet("stations_2026-05-30", kStation);
  ASSERT_TRUE(set.decodable);
  set.elements.bstar = 0.5;
  TSatelliteLook look(set.elements, 0, 0, 0);
  EXPECT_TRUE(look.At(set.elements.epochJulian).ok);
  const TLook late = look.At(set.elements.epochJulian + 30.0);
  EXPECT_FALSE(late.ok);
  EXPECT_EQ(late.elDeg, 0.0);
  EXPECT_FALSE(look.At(std::nan("")).ok);
}

}  // namespace
}  // namespace zen::station
