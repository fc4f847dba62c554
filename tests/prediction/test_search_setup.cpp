// The set-up of a search: the period, the field rules, the list, the request and the header.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "core/scratch_folder.h"
#include "prediction/search_setup.h"
#include "test_support.h"
#include "tracking/time_control.h"

namespace zen {
namespace {

// The time control's unit lengths: a minute, an hour and a day as calendar differences.
const std::array<double, 6>& Units() {
  static const TTimeControl time;
  return time.UnitLength;
}

double Jd(const TDateRec& date) {
  return DateRecToJulian(date);
}

struct TPeriodCase {
  TDateRec machine;
  int count;
  int unit;
  bool backward;
  const char* start;
  const char* end;
};

TEST(SearchPeriod, AutomaticPeriodCountsUnitsFromTheMachineClock) {
  const TPeriodCase cases[] = {
      {{2026, 5, 30, 21, 15, 30, 0}, 3, 1, true, "2026-05-30 18:15:30", "2026-05-30 21:15:30"},
      {{2026, 5, 30, 21, 15, 30, 0}, 1, 2, false, "2026-05-30 21:15:30", "2026-05-31 21:15:30"},
      {{2026, 12, 31, 23, 30, 0, 0}, 99, 0, false, "2026-12-31 23:30:00", "2027-01-01 01:09:00"},
      {{2024, 3, 1, 12, 0, 0, 0}, 2, 2, true, "2024-02-28 12:00:00", "2024-03-01 12:00:00"},
  };
  for (const TPeriodCase& c : cases) {
    TSearchPeriod p = PeriodToManual(Jd(c.machine), c.count, c.unit, c.backward, Units());
    EXPECT_EQ(p.StartText(), c.start) << c.start;
    EXPECT_EQ(p.EndText(), c.end) << c.end;
    // Each value and its record name the same moment.
    EXPECT_NEAR(Jd(p.PeriodStartRec), p.PeriodStart, 1e-8);
    EXPECT_NEAR(Jd(p.PeriodEndRec), p.PeriodEnd, 1e-8);
  }
}

TEST(SearchPeriod, LeftEditsAreNormalisedAndAReversedPeriodSwapsWhole) {
  TSearchPeriod p;
  EXPECT_EQ(p.LeaveStart("2023-02-30 25:61:61"), "2023-02-28 23:59:59");
  EXPECT_EQ(p.LeaveEnd("2023-0x-10 12:00:00"), "2023-01-10 12:00:00");
  EXPECT_DOUBLE_EQ(p.PeriodStart, Jd({2023, 2, 28, 23, 59, 59, 0}));
  EXPECT_DOUBLE_EQ(p.PeriodEnd, Jd({2023, 1, 10, 12, 0, 0, 0}));
  ASSERT_TRUE(p.SwapIfReversed());
  EXPECT_EQ(p.StartText(), "2023-01-10 12:00:00");
  EXPECT_EQ(p.EndText(), "2023-02-28 23:59:59");
  EXPECT_LT(p.PeriodStart, p.PeriodEnd);
  EXPECT_FALSE(p.SwapIfReversed());
  EXPECT_EQ(p.StartText(), "2023-01-10 12:00:00");
}

TEST(SearchFields, FlareAngleTextsKeepTheAngleInItsRange) {
  const struct {
    const char* typed;
    double previous;
    const char* shown;
  } cases[] = {
      {"2,5", 1.0, "2.50"},  {"7", 1.0, "4.00"},   {"abc", 1.35, "1.35"},   {"", 2.0, "2.00"},
      {"0.01", 1.0, "0.10"}, {"-3", 1.0, "0.10"},  {" 3.25 ", 1.0, "3.25"}, {"1,2,3", 0.5, "0.50"},
      {"nan", 0.7, "0.70"},  {"inf", 0.7, "0.70"}, {"2.5x", 0.7, "0.70"},   {"+1.5", 0.7, "1.50"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FlareAngleFieldText(LeaveFlareAngleText(c.typed, c.previous)), c.shown) << c.typed;
  }
  EXPECT_DOUBLE_EQ(LeaveFlareAngleText("2,5", 1.0), 2.5);
}

TEST(SearchFields, FlareAngleButtonsStepByFiveHundredthsAndStopAtTheLimits) {
  EXPECT_EQ(FlareAngleFieldText(FlareAngleUp(1.0)), "1.05");
  EXPECT_EQ(FlareAngleFieldText(FlareAngleDown(1.0)), "0.95");
  EXPECT_DOUBLE_EQ(FlareAngleUp(3.98), 4.0);
  EXPECT_DOUBLE_EQ(FlareAngleDown(0.12), 0.1);
  // Any number of presses ends at a limit, never past it, and lands on its two-decimal text.
  double angle = 1.0;
  for (int i = 0; i < 100; ++i) angle = FlareAngleUp(angle);
  EXPECT_EQ(angle, 4.0);
  for (int i = 0; i < 100; ++i) angle = FlareAngleDown(angle);
  EXPECT_EQ(angle, 0.1);
  for (int i = 0; i < 18; ++i) angle = FlareAngleUp(angle);
  EXPECT_EQ(FlareAngleFieldText(angle), "1.00");
}

TEST(SearchFields, SpinBoxTextReadsAsAnIntegerWithinTheLimits) {
  const struct {
    const char* typed;
    int minimum, maximum, value;
  } cases[] = {
      {"abc", 1, 99, 1},  {"", -20, 20, 0},    {"150", 0, 45, 45}, {"-7", -20, 20, -7},
      {" 12", 0, 45, 12}, {"1.5", -20, 20, 0}, {"-", 0, 45, 0},    {"99999999999", 1, 99, 99},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SpinBoxValue(c.typed, c.minimum, c.maximum), c.value) << c.typed;
  }
}

// Three sets numbered 11, 22 and 33, with 33 and then 11 tracked.
class SearchListing : public ::testing::Test {
 protected:
  void SetUp() override {
    // A folder of its own: the tests of this fixture run side by side as separate programs.
    ASSERT_FALSE(scratch_.path().empty());
    folder_ = scratch_.path();
    {
      std::ofstream out(folder_ / "three.tle", std::ios::binary);
      for (int number : {11, 22, 33}) {
        auto [l1, l2] = test::MakeLinePair(number);
        out << "SAT " << number << "\r\n" << l1 << "\r\n" << l2 << "\r\n";
      }
    }
    list_.TleFileName = "three.tle";
    list_.zapodawajSatelity(folder_);
    TSelection none;
    list_.AddTr(false, false, 3, none);
    list_.AddTr(false, false, 1, none);
  }

  static std::vector<std::string> Numbers(const std::vector<TSearchSatellite>& sats) {
    std::vector<std::string> numbers;
    for (const TSearchSatellite& s : sats) numbers.push_back(s.catalogNumberText);
    return numbers;
  }

  test::TScratchFolder scratch_{"zen_search_setup_"};
  std::filesystem::path folder_;
  TSatelliteList list_;
};

TEST_F(SearchListing, TrackedOrderOrEveryLoadedSetInCatalogueOrder) {
  ASSERT_EQ(list_.LoadedCount, 3);
  EXPECT_EQ(Numbers(SearchList(list_, false)), (std::vector<std::string>{"00033", "00011"}));
  EXPECT_EQ(Numbers(SearchList(list_, true)),
            (std::vector<std::string>{"00011", "00022", "00033"}));
  EXPECT_EQ(SearchList(list_, false).front().name, "SAT 33");
  TPredictionOptions options;
  EXPECT_FALSE(SearchesAllLoaded(TSearchKind::Passes, options));
  EXPECT_TRUE(SearchesAllLoaded(TSearchKind::Flares, options));
  options.calculateAllLoaded = true;
  EXPECT_TRUE(SearchesAllLoaded(TSearchKind::Passes, options));
}

TEST_F(SearchListing, FlaresNeedAnIridiumOfTheListPassesAnyEntry) {
  const std::vector<TSearchSatellite> all = SearchList(list_, true);
  EXPECT_TRUE(HasSomethingToSearch(TSearchKind::Passes, all, {}));
  EXPECT_FALSE(HasSomethingToSearch(TSearchKind::Passes, {}, {}));
  // Without the Iridium table nothing is an Iridium, whatever is loaded.
  EXPECT_FALSE(HasSomethingToSearch(TSearchKind::Flares, all, {}));
  EXPECT_TRUE(HasSomethingToSearch(TSearchKind::Flares, all, [](int n) { return n == 22; }));
  EXPECT_FALSE(HasSomethingToSearch(TSearchKind::Flares, all, [](int n) { return n == 24793; }));
}

TEST(SearchRequest, FlaresForceTheirConditionsAndAnUncheckedSunLimitMeansNone) {
  TPredictionOptions o;
  o.brief = false;
  o.satelliteIlluminated = false;
  o.sunBelowLimit = false;
  o.maxSunElevationDeg = -12;
  o.minSatElevationDeg = 25;
  o.level = 3;
  o.internalIridiumTable = false;
  o.maxFlareAngleDeg = 2.35;
  TSearchPeriod period = PeriodToManual(Jd({2026, 5, 30, 21, 15, 30, 0}), 2, 1, false, Units());
  TSite site = DefaultSite();
  std::vector<TSearchSatellite> sats(2);
  const TIridiumTable table = {{24793, '+', "7"}, {24796, '-', "4"}};
  TSearchRequest passes = MakeSearchRequest(TSearchKind::Passes, o, period, 2.0, site, sats, table);
  EXPECT_FALSE(passes.brief);
  EXPECT_FALSE(passes.allLoaded);
  EXPECT_FALSE(passes.illuminationRequired);
  EXPECT_EQ(passes.maxSunElevationDeg, 90.0);
  EXPECT_EQ(passes.minSatElevationDeg, 25.0);
  EXPECT_EQ(passes.level, 3);
  EXPECT_NEAR(passes.periodEndLocal - passes.periodStartLocal, 2.0 / 24.0, 1e-9);
  EXPECT_EQ(passes.latitudeDeg, site.latitude);
  EXPECT_EQ(passes.satellites.size(), 2u);
  EXPECT_TRUE(passes.iridiumTable.empty());
  TSearchRequest flares = MakeSearchRequest(TSearchKind::Flares, o, period, 2.0, site, sats, table);
  EXPECT_TRUE(flares.brief && flares.allLoaded && flares.illuminationRequired);
  // The flare conditions the worker reads: the table, "Use internal Iridium status table"
  // and the angle.
  ASSERT_EQ(flares.iridiumTable.size(), 2u);
  EXPECT_EQ(flares.iridiumTable[1].catalogNumber, 24796);
  EXPECT_FALSE(flares.useIridiumTable);
  EXPECT_EQ(flares.maxFlareAngleDeg, 2.35);
  o.sunBelowLimit = true;
  EXPECT_EQ(MakeSearchRequest(TSearchKind::Passes, o, period, 2.0, site, {}, {}).maxSunElevationDeg,
            -12.0);
}

TEST(SearchHeader, AutomaticBackwardPeriodAndConditionsAsTheHeaderShowsThem) {
  TPredictionOptions o;
  o.periodLength = 3;
  o.periodUnit = 1;
  o.sunBelowLimit = false;
  o.maxFlareAngleDeg = 2.5;
  TSearchPeriod period = PeriodToManual(Jd({2026, 5, 30, 21, 15, 30, 0}), 3, 1, true, Units());
  std::vector<std::string> passes = ReportHeader(
      MakeReportHeaderInput(TSearchKind::Passes, o, true, period, "Torun", "UTC +2:00"));
  ASSERT_EQ(passes.size(), 10u);
  EXPECT_EQ(passes[2], "Search period : 2026-05-30 18:15:30 - 3 hour(s)");
  EXPECT_EQ(passes[3], "                2026-05-30 21:15:30");
  EXPECT_EQ(passes[6], "Conditions    : Maximum sun elevation = unimportant");
  EXPECT_EQ(passes[9], "!");
  std::vector<std::string> flares = ReportHeader(
      MakeReportHeaderInput(TSearchKind::Flares, o, false, period, "Torun", "UTC +2:00"));
  ASSERT_EQ(flares.size(), 11u);
  EXPECT_EQ(flares[2], "Search period : 2026-05-30 18:15:30");
  EXPECT_EQ(flares[8], "                Illumination required");
  EXPECT_EQ(flares[9], "                Maximum flare angle = 2.50 deg.");
}

}  // namespace
}  // namespace zen
