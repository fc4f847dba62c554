// The "Location" page's field texts: forms shown and the rules of leaving a field.
#include <gtest/gtest.h>

#include "locations/site_fields.h"

namespace zen {
namespace {

TEST(SiteFieldTexts, ShowHemisphereLettersAndFixedDecimals) {
  EXPECT_EQ(LatitudeText(53.0217), "53.0217 N");
  EXPECT_EQ(LatitudeText(-33.9), "33.9000 S");
  EXPECT_EQ(LatitudeText(0.0), "0.0000 N");
  EXPECT_EQ(LongitudeText(18.6107), "18.6107 E");
  EXPECT_EQ(LongitudeText(-10.0), "10.0000 W");
  EXPECT_EQ(LongitudeText(-179.99994), "179.9999 W");
  EXPECT_EQ(AltitudeText(5.0), "5.0");
  EXPECT_EQ(AltitudeText(1234.56), "1235.0");
  EXPECT_EQ(AltitudeText(-0.04), "0.0");
}

// One field's text, the reader of that field, and what it must give.
struct TFieldCase {
  bool (*read)(std::string_view, double&);
  const char* text;
  bool valid;
  double value;
};

TEST(SiteFieldTexts, LeavingRulesOfTheThreeNumberFields) {
  const auto lat = &ReadLatitudeText;
  const auto lon = &ReadLongitudeText;
  const auto alt = &ReadAltitudeText;
  const TFieldCase cases[] = {
      {lat, "52,5 N", true, 52.5},
      {lat, "52.5", false, 0},
      {lat, "95 N", false, 0},
      {lat, "90 S", true, -90.0},
      {lat, "53.0217 n", true, 53.0217},
      {lat, "12 s", true, -12.0},
      {lat, "12 E", false, 0},
      {lat, "12N", false, 0},
      {lat, "12 N ", false, 0},
      {lat, " N", false, 0},
      {lat, "x N", false, 0},
      {lat, "", false, 0},
      {lon, "10.0000 W", true, -10.0},
      {lon, "180 w", true, -180.0},
      {lon, "181 E", false, 0},
      {lon, "21,25 E", true, 21.25},
      {lon, "21 N", false, 0},
      {lon, "21", false, 0},
      {alt, "120,5", true, 120.5},
      {alt, "10000", true, 10000.0},
      {alt, "-12000", true, -12000.0},
      {alt, "10000.1", false, 0},
      {alt, "12 m", false, 0},
      {alt, "", false, 0},
  };
  for (const TFieldCase& c : cases) {
    SCOPED_TRACE(c.text);
    double value = 123.0;
    EXPECT_EQ(c.read(c.text, value), c.valid);
    EXPECT_DOUBLE_EQ(value, c.valid ? c.value : 123.0);
  }
}

TEST(SiteFieldTexts, ShownTextsReadBack) {
  for (double degrees : {53.0217, -33.9, 0.0001, -89.9999, 90.0}) {
    double value = 0.0;
    ASSERT_TRUE(ReadLatitudeText(LatitudeText(degrees), value));
    EXPECT_DOUBLE_EQ(value, degrees);
  }
  for (double degrees : {18.6107, -10.0, 179.9999, -180.0}) {
    double value = 0.0;
    ASSERT_TRUE(ReadLongitudeText(LongitudeText(degrees), value));
    EXPECT_DOUBLE_EQ(value, degrees);
  }
}

TEST(FieldsToSite, ReadsTheSixFieldsLeniently) {
  const TSite site = FieldsToSite("Torun", "SP2", "53.0217 N", "18.6107 W", "5.0", "JO93haXY");
  EXPECT_EQ(site.name, "Torun");
  EXPECT_EQ(site.sign, "SP2");
  EXPECT_EQ(site.locator, "JO93ha");
  EXPECT_DOUBLE_EQ(site.latitude, 53.0217);
  EXPECT_DOUBLE_EQ(site.longitude, -18.6107);
  EXPECT_DOUBLE_EQ(site.altitude, 5.0);

  const TSite broken = FieldsToSite("", "", "north", "x", "high", "");
  EXPECT_EQ(broken.latitude, 0.0);
  EXPECT_EQ(broken.longitude, 0.0);
  EXPECT_EQ(broken.altitude, 0.0);
  EXPECT_DOUBLE_EQ(FieldsToSite("", "", "33.9 s", "", "", "").latitude, -33.9);
}

}  // namespace
}  // namespace zen
