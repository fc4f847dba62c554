// Texts of the information tables.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "core/catalog.h"
#include "core/elements.h"
#include "core/omm.h"
#include "test_support.h"
#include "tracking/info_texts.h"

namespace zen {
namespace {

struct CoordinateCase {
  double value;
  bool latitude;
  const char* text;
};

TEST(InfoTexts, CoordinatesCarryTheirHemisphereLetter) {
  const CoordinateCase cases[] = {
      {0.0, false, "0.0000\u00B0 E"},     {0.0, true, "0.0000\u00B0 N"},
      {-12.34567, false, "12.3457\u00B0 W"}, {-0.00001, true, "0.0000\u00B0 S"},
      {179.99994, false, "179.9999\u00B0 E"}, {179.99996, false, "180.0000\u00B0 E"}, {45.5, true, "45.5000\u00B0 N"},
  };
  for (const CoordinateCase& c : cases) {
    EXPECT_EQ(LatLonText(c.value, c.latitude), c.text) << c.value;
  }
  EXPECT_EQ(AngleText(-5.0), "-5.000\u00B0");
  EXPECT_EQ(AngleText(359.9996), "360.000\u00B0");
}

struct PeriodCase {
  double minutes;
  const char* text;
};

TEST(InfoTexts, PeriodTexts) {
  const PeriodCase cases[] = {
      {92.75, "1h 32m 45s (92.75 min)"},
      {100.05, "1h 40m 03s (100.05 min)"},
      {1436.0, "23h 56m 00s (1436.00 min)"},
      {1440.0 + 717.5, "35h 57m 30s (2157.50 min)"},
      {59.0 + 59.0 / 60.0, "0h 59m 59s (59.98 min)"},
  };
  for (const PeriodCase& c : cases) {
    EXPECT_EQ(PeriodText(c.minutes / 1440.0), c.text) << c.minutes;
  }
}

TEST(InfoTexts, EclipseAndDirectionWords) {
  EXPECT_EQ(EclipseText(0), "No");
  EXPECT_EQ(EclipseText(1), "Penumbral");
  EXPECT_EQ(EclipseText(2), "Umbral");
  EXPECT_EQ(EclipseText(7), "No");
  EXPECT_EQ(DirectionText(0.0), "Ascending");
  EXPECT_EQ(DirectionText(-1e-9), "Descending");
}

TEST(InfoTexts, LiveTableWithoutActiveSatelliteShowsOnlyTheSun) {
  TSatelliteList list;
  TSunNow sun;
  sun.azimuth = 123.4567;
  sun.elevation = -12.0;
  sun.subLongitude = -40.0;
  sun.subLatitude = 22.0;
  sun.position.w = 147123456.78;
  auto v = LiveTableValues(list, sun);
  for (int r = 0; r <= 13; ++r) EXPECT_EQ(v[static_cast<size_t>(r)], "") << r;
  EXPECT_EQ(v[14], "");
  EXPECT_EQ(v[15], "123.457\u00B0");
  EXPECT_EQ(v[16], "-12.000\u00B0");
  EXPECT_EQ(v[17], "40.0000\u00B0 W");
  EXPECT_EQ(v[18], "22.0000\u00B0 N");
  EXPECT_EQ(v[19], "147123456.8");
}

TEST(InfoTexts, OrbitTableOfTheStationSet) {
  TActiveSnapshot s;
  s.valid = true;
  s.name = "ISS";
  LoadElements(SelfTestLines(1), s.elements);
  s.revsPerDay = 1.0 / s.elements.periodDays;
  auto v = OrbitTableValues(s);
  EXPECT_EQ(v[1], "25544");
  EXPECT_EQ(v[2], "1998-067-A");
  EXPECT_EQ(v[3], "858");
  EXPECT_EQ(v[4], "2001-12-18 03:32:39");
  EXPECT_EQ(v[5], "17578");
  EXPECT_EQ(v[6], "51.640\u00B0");
  EXPECT_EQ(v[8], "0.0003252");
  EXPECT_EQ(v[10], "15.59935715");
  EXPECT_EQ(v[11], "1h 32m 18s (92.30 min)");
  EXPECT_EQ(v[12], "6766 km");
  EXPECT_EQ(v[13], "385 x 390 km");
  EXPECT_EQ(v[15], "0.000948540 1/ER");
  EXPECT_EQ(v[16], "SGP4");
  EXPECT_EQ(OrbitTableValues(TActiveSnapshot{})[0], "");
}

bool ShowsANonNumber(const std::string& text) {
  return text.find("inf") != std::string::npos || text.find("nan") != std::string::npos;
}

// Values that are not finite, and sets whose fields are numbers but describe no orbit (decoded
// without the validation that keeps them out of the catalogue), show "-" where a number fails.
TEST(InfoTexts, ValuesThatAreNotFiniteShowAsUnavailable) {
  for (double x : {std::nan(""), HUGE_VAL, -HUGE_VAL, 1.0e300}) {
    EXPECT_EQ(LatLonText(x, true) + AngleText(x) + PeriodText(x), "---") << x;
  }
  EXPECT_EQ(PeriodText(0.0) + PeriodText(-1.0), "--");
  TSunNow sun;
  sun.azimuth = sun.elevation = sun.subLatitude = sun.subLongitude = std::nan("");
  sun.position.w = HUGE_VAL;
  for (const std::string& value : LiveTableValues(TSatelliteList{}, sun)) {
    EXPECT_FALSE(ShowsANonNumber(value)) << value;
  }
  const std::string l1 = SelfTestSatellites[1].line1;
  const std::string l2 = SelfTestSatellites[1].line2;
  const TTleLines broken[] = {
      {l1, test::Patched(l2, 53, "00.00000000")}, {l1, test::Patched(l2, 53, "-1.00000000")},
      {l1, test::Patched(l2, 53, " 0.00000001")}, {l1, test::Patched(l2, 27, "1.0e+07")},
      {l1, test::Patched(l2, 27, "9.9e+99")},     {test::Patched(l1, 19, "99999.9999e+15"), l2}};
  for (const TTleLines& lines : broken) {
    TActiveSnapshot s;
    s.valid = true;
    LoadElements(lines, s.elements);
    s.revsPerDay = 1.0 / s.elements.periodDays;
    for (const std::string& value : OrbitTableValues(s)) {
      EXPECT_FALSE(ShowsANonNumber(value)) << lines.line1 << "\n" << lines.line2 << ": " << value;
    }
  }
}

TEST(InfoTexts, TableTextPadsLabelsRightAndValuesLeft) {
  std::vector<std::string> labels = {"Range (km)", "Az", ""};
  std::vector<std::string> values = {"12.3", "12345678", ""};
  std::string text = TableText(labels, values);
  std::istringstream lines(text);
  std::string line;
  std::vector<std::string> got;
  while (std::getline(lines, line, '\n')) got.push_back(line);
  ASSERT_EQ(got.size(), 3u);
  EXPECT_EQ(got[0], "Range (km)     12.3\r");
  EXPECT_EQ(got[1], "Az         12345678\r");
  EXPECT_EQ(got[2], std::string(19, ' ') + "\r");
  // The degree sign is one character wide.
  EXPECT_EQ(TableText({"A"}, {"1.0\u00B0", "10.0\u00B0"}), "A  1.0\u00B0\r\n  10.0\u00B0\r\n");
}


// A message set's box shows the message's own values again, its epoch to the microsecond in
// the day it falls in.
TEST(InfoTexts, MessageSetShowsTheValuesItWasReadFrom) {
  struct Case {
    const char* epoch;
    const char* shown;
  };
  const Case cases[] = {
      {"2026-05-30T12:34:56.123456", "2026-05-30T12:34:56.123456"},
      {"2026-05-30T00:00:00.000000", "2026-05-30T00:00:00.000000"},
      {"2026-05-30T23:59:59.999999", "2026-05-30T23:59:59.999999"},
      // Rounds to the next midnight: the next day at 00:00, never 24:00.
      {"2026-12-31T23:59:59.9999997", "2027-01-01T00:00:00.000000"},
  };
  for (const Case& c : cases) {
    const std::string csv =
        std::string("OBJECT_NAME,OBJECT_ID,EPOCH,MEAN_MOTION,ECCENTRICITY,INCLINATION,"
                    "RA_OF_ASC_NODE,ARG_OF_PERICENTER,MEAN_ANOMALY,EPHEMERIS_TYPE,"
                    "CLASSIFICATION_TYPE,NORAD_CAT_ID,ELEMENT_SET_NO,REV_AT_EPOCH,BSTAR,"
                    "MEAN_MOTION_DOT,MEAN_MOTION_DDOT\n") +
        "SAT,2026-101A," + c.epoch +
        ",15.06123456,0.0002345,53.0512,120.5432,90.1234,270.0123,0,U,340005,999,1200,"
        "3.1e-04,0.00002345,0\n";
    const TOmmReadResult read = ReadOmmText(csv);
    ASSERT_EQ(read.sets.size(), 1u) << c.epoch;
    TCatalogSet set;
    set.elements = read.sets[0].elements;
    set.number = read.sets[0].catalogNumber;
    const std::string text = ElementSetText(set);
    EXPECT_NE(text.find(std::string("EPOCH = ") + c.shown + "\n"), std::string::npos) << text;
    for (const char* field :
         {"MEAN_MOTION = 15.06123456\n", "ECCENTRICITY = 0.0002345\n", "INCLINATION = 53.0512\n",
          "RA_OF_ASC_NODE = 120.5432\n", "ARG_OF_PERICENTER = 90.1234\n",
          "MEAN_ANOMALY = 270.0123\n", "NORAD_CAT_ID = 340005\n", "REV_AT_EPOCH = 1200\n",
          "BSTAR = 3.10000e-04\n", "MEAN_MOTION_DOT = 0.00002345\n"}) {
      EXPECT_NE(text.find(field), std::string::npos) << field << " in\n" << text;
    }
  }
}

}  // namespace
}  // namespace zen
