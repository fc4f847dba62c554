// Element sets: checksum, validation and the decoded values of a set.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/elements.h"
#include "core/numeric.h"
#include "core/timescale.h"
#include "test_support.h"

namespace zen {
namespace {

using test::Patched;
using test::WithChecksum;

constexpr double kJulianRounding = 1e-9;
constexpr double kTenthKm = 0.05;
constexpr double kHundredthMinute = 0.005;

const std::string kIss1 = SelfTestSatellites[1].line1;
const std::string kIss2 = SelfTestSatellites[1].line2;

TEST(Checksum, OffByOneFailsAndMinusCountsOne) {
  EXPECT_TRUE(TleChecksumOk(kIss1));
  EXPECT_TRUE(TleChecksumOk(kIss2));
  std::string off = kIss1;
  off[68] = static_cast<char>(off[68] == '9' ? '0' : off[68] + 1);
  EXPECT_FALSE(TleChecksumOk(off));
  EXPECT_FALSE(TleChecksumOk(kIss1.substr(0, 68)));  // too short
  // Column 54 holds the sign of B*: "-" adds 1, "+" adds nothing, like a blank.
  std::string minus = kIss1;
  minus[53] = '-';
  EXPECT_EQ(test::ChecksumDigit(minus), static_cast<char>('0' + (kIss1[68] - '0' + 1) % 10));
  minus[68] = test::ChecksumDigit(minus);
  EXPECT_TRUE(TleChecksumOk(minus));
  std::string plus = kIss1;
  plus[53] = '+';
  EXPECT_TRUE(TleChecksumOk(plus));
}

struct InvalidCase {
  const char* what;
  TTleLines lines;
};

TEST(ElementSetValid, AcceptsSelfTestSetsAndRejectsEachBrokenRule) {
  for (size_t i = 0; i < SelfTestSatellites.size(); ++i) {
    EXPECT_TRUE(ElementSetValid(SelfTestLines(i))) << SelfTestSatellites[i].name;
  }
  const InvalidCase cases[] = {
      {"ephemeris type 2", {Patched(kIss1, 63, "2"), kIss2}},
      {"line 1 number", {Patched(kIss1, 1, "3"), kIss2}},
      {"line 2 number", {kIss1, Patched(kIss2, 1, "1")}},
      {"catalogue numbers differ", {kIss1, Patched(kIss2, 3, "25545")}},
      {"no point in epoch", {Patched(kIss1, 24, "5"), kIss2}},
      {"no point in first derivative", {Patched(kIss1, 35, "0"), kIss2}},
      {"no point in inclination", {kIss1, Patched(kIss2, 12, "0")}},
      {"no point in node", {kIss1, Patched(kIss2, 21, "0")}},
      {"no point in perigee", {kIss1, Patched(kIss2, 38, "0")}},
      {"no point in anomaly", {kIss1, Patched(kIss2, 47, "0")}},
      {"no point in mean motion", {kIss1, Patched(kIss2, 55, "0")}},
      {"bad checksum", {kIss1.substr(0, 68) + "0", kIss2}},
      {"empty lines", {"", ""}},
  };
  for (const InvalidCase& c : cases) {
    EXPECT_FALSE(ElementSetValid(c.lines)) << c.what;
  }
}

// An epoch that names no moment, or a mean motion that gives no orbit, makes the set invalid;
// the same layout with sound values at the edges stays valid.
TEST(ElementSetValid, RefusesEpochsAndMeanMotionsThatNameNoOrbit) {
  const std::pair<TTleLines, bool> cases[] = {
      {{Patched(kIss1, 19, "99999.9999e+15"), kIss2}, false},
      {{Patched(kIss1, 19, "-1001.00000000"), kIss2}, false},
      {{Patched(kIss1, 19, "26367.00000000"), kIss2}, false},
      {{Patched(kIss1, 19, "24366.99999999"), kIss2}, true},
      {{kIss1, Patched(kIss2, 53, "00.00000000")}, false},
      {{kIss1, Patched(kIss2, 53, "-1.00000000")}, false},
      {{kIss1, Patched(kIss2, 53, " 0.00000001")}, true},
  };
  for (const auto& [lines, valid] : cases) {
    EXPECT_EQ(ElementSetValid(lines), valid) << lines.line1 << "\n" << lines.line2;
  }
}

TEST(CatalogNumberText, BlanksBecomeLeadingZeros) {
  EXPECT_EQ(CatalogNumberText({kIss1, kIss2}), "25544");
  EXPECT_EQ(CatalogNumberText({Patched(kIss1, 3, "    5"), kIss2}), "00005");
}

// Columns that hold no number are printed as they are, but never a control byte or a piece of
// a character: the sets still pass the checks, which leave these columns alone.
TEST(CatalogNumberText, ColumnsWithoutANumberPrintOnlyAscii) {
  const std::pair<std::string, std::string> cases[] = {{"\x1B[2J ", "?[2J0"},
                                                       {std::string("2\0\r\n4", 5), "2???4"},
                                                       {"\x7F\xC3\xA9 x", "???0x"},
                                                       {"A~!Z ", "A~!Z0"}};
  for (const auto& [columns, text] : cases) {
    const TTleLines set{Patched(kIss1, 3, columns), Patched(kIss2, 3, columns)};
    EXPECT_TRUE(ElementSetValid(set)) << text;
    EXPECT_EQ(CatalogNumberText(set), text);
  }
}

TEST(LoadElements, DecodesTheNearEarthSelfTestSet) {
  TElements e;
  LoadElements(SelfTestLines(1), e);
  EXPECT_FALSE(e.UseDeepSpace);
  EXPECT_TRUE(e.ModelInitPending);
  EXPECT_EQ(e.catalogNumber, "25544");
  EXPECT_EQ(e.launchYear, "1998");
  EXPECT_EQ(e.designator, "1998-067-A");
  EXPECT_EQ(e.elementSetNumber, "858");
  EXPECT_EQ(e.revolutionNumber, 17578);
  EXPECT_NEAR(e.epochJulian, JulianDateOfYear(2001) + 352.14768052, kJulianRounding);
  EXPECT_NEAR(e.periodDays, 1.0 / 15.59935715, 1e-12);
  EXPECT_NEAR(kTwoPi / e.meanMotionRecovered, 92.32, kHundredthMinute);
  EXPECT_NEAR(e.semiMajorAxisKm, 6765.7, kTenthKm);
  EXPECT_NEAR(e.perigeeHeightKm, 385.4, kTenthKm);
  EXPECT_NEAR(e.apogeeHeightKm, 389.8, kTenthKm);
  EXPECT_NEAR(e.inclination, Radians(51.64), 1e-12);
  EXPECT_NEAR(e.rightAscension, Radians(243.048), 1e-12);
  EXPECT_NEAR(e.eccentricity, 0.0003252, 1e-15);
  EXPECT_NEAR(e.argPerigee, Radians(49.4561), 1e-12);
  EXPECT_NEAR(e.meanAnomaly, Radians(86.0846), 1e-12);
  EXPECT_NEAR(e.meanMotion, 15.59935715 * kTwoPi / 1440, 1e-15);
  EXPECT_NEAR(e.meanMotionDot2, 0.00078250 * kTwoPi / (1440.0 * 1440.0), 1e-18);
  EXPECT_EQ(e.meanMotionDdot6, 0.0);
  EXPECT_NEAR(e.bstar, 0.94854e-3, 1e-15);
}

TEST(LoadElements, DecodesTheDeepSpaceSelfTestSet) {
  TElements e;
  LoadElements(SelfTestLines(0), e);
  EXPECT_TRUE(e.UseDeepSpace);
  EXPECT_EQ(e.designator, "1997-066-A");
  EXPECT_EQ(e.launchYear, "1997");
  EXPECT_NEAR(e.epochJulian, 2452260.35148252, kJulianRounding);
  EXPECT_NEAR(kTwoPi / e.meanMotionRecovered, 466.57, kHundredthMinute);
  EXPECT_NEAR(e.perigeeHeightKm, 577.7, kTenthKm);
  EXPECT_NEAR(e.apogeeHeightKm, 26504.7, kTenthKm);
  EXPECT_NEAR(e.eccentricity, 0.6507984, 1e-15);
  EXPECT_NEAR(e.bstar, 0.82017e-2, 1e-15);
  EXPECT_EQ(e.revolutionNumber, 4652);
  EXPECT_EQ(e.elementSetNumber, "600");
}

TEST(LoadElements, SecondDerivativeAndNegativeDragExponents) {
  // Second derivative mantissa -12345 with exponent -6, B* -11606 with exponent -4.
  std::string l1 = Patched(Patched(kIss1, 45, "-12345-6"), 54, "-11606-4");
  TElements e;
  LoadElements({l1, kIss2}, e);
  EXPECT_NEAR(e.meanMotionDdot6, -0.12345e-6 * kTwoPi / (1440.0 * 1440.0 * 1440.0), 1e-24);
  EXPECT_NEAR(e.bstar, -0.11606e-4, 1e-18);
}

struct LaunchYearCase {
  const char* field;
  const char* year;
};

TEST(LoadElements, LaunchYearCentury) {
  const LaunchYearCase cases[] = {{"56", "2056"}, {"57", "1957"}, {"00", "2000"}, {"99", "1999"}};
  for (const LaunchYearCase& c : cases) {
    TElements e;
    LoadElements({Patched(kIss1, 10, c.field), kIss2}, e);
    EXPECT_EQ(e.launchYear, c.year) << c.field;
  }
}

TEST(LoadElements, KeepsMultiLetterPieces) {
  TElements e;
  LoadElements({Patched(kIss1, 10, "19029BH "), kIss2}, e);
  EXPECT_EQ(e.designator, "2019-029-BH");
  LoadElements({Patched(kIss1, 10, "99025ABC"), kIss2}, e);
  EXPECT_EQ(e.designator, "1999-025-ABC");
}

TEST(LoadElements, ModelChoiceAtTheDeepSpaceBoundary) {
  // 6.4 revolutions a day is exactly 225 minutes as read, but the k2-corrected mean motion
  // is slower at this inclination, so the choice must use the corrected one.
  TElements e;
  LoadElements({kIss1, Patched(kIss2, 53, " 6.40000000")}, e);
  EXPECT_TRUE(e.UseDeepSpace) << kTwoPi / e.meanMotionRecovered;
  LoadElements({kIss1, Patched(kIss2, 53, " 6.40050000")}, e);
  EXPECT_FALSE(e.UseDeepSpace) << kTwoPi / e.meanMotionRecovered;
}

struct StrictFieldCase {
  TTleLines lines;
  const char* message;
};

TEST(LoadElements, NonIntegerStrictFieldsThrowTheDocumentedMessage) {
  const StrictFieldCase cases[] = {
      {{Patched(kIss1, 10, "9x"), kIss2}, "'9x' is not a valid integer value"},
      {{Patched(kIss1, 10, "  "), kIss2}, "'  ' is not a valid integer value"},
      {{kIss1, Patched(kIss2, 64, "17 78")}, "'17 78' is not a valid integer value"},
      {{kIss1, Patched(kIss2, 64, "     ")}, "'     ' is not a valid integer value"},
  };
  for (const StrictFieldCase& c : cases) {
    TElements e;
    LoadElements(SelfTestLines(0), e);
    try {
      LoadElements(c.lines, e);
      ADD_FAILURE() << "no error for " << c.message;
    } catch (const TElementError& error) {
      EXPECT_STREQ(error.what(), c.message);
    }
    // A failed decode leaves the previous set whole.
    EXPECT_EQ(e.catalogNumber, "25023");
    EXPECT_TRUE(e.UseDeepSpace);
  }
}

TEST(LoadElements, ShortOrEmptyLinesNeverCrash) {
  TElements e;
  EXPECT_THROW(LoadElements({"", ""}, e), TElementError);
  EXPECT_THROW(LoadElements({"1 2", "2"}, e), TElementError);
  // Revolution number present but everything else missing: decodes to zeros without a crash.
  std::string l2(63, ' ');
  l2 += "    1";
  EXPECT_NO_THROW(LoadElements({kIss1, l2}, e));
  EXPECT_EQ(e.revolutionNumber, 1);
}

}  // namespace
}  // namespace zen
