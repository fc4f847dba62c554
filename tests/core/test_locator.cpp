// Maidenhead grid locators: characters, places to locators and locators to square centres.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "core/locator.h"

namespace zen {
namespace {

constexpr double kExactDeg = 1e-9;
// Half a subsquare: 2.5 minutes of longitude, 1.25 of latitude.
constexpr double kHalfSubsquareLonDeg = 1.0 / 24.0;
constexpr double kHalfSubsquareLatDeg = 1.0 / 48.0;

struct CharCase {
  int value;
  int kind;
  char character;
};

TEST(LocatorChar, GivesTheCharacterOfEachKindAndClampsOnlyTheTop) {
  const CharCase cases[] = {
      {0, 1, 'A'},  {17, 1, 'R'}, {18, 1, 'R'}, {100, 1, 'R'}, {0, 2, '0'}, {9, 2, '9'},
      {10, 2, '9'}, {0, 3, 'a'},  {23, 3, 'x'}, {24, 3, 'x'},  {5, 0, '?'}, {5, 4, '?'},
  };
  for (const CharCase& c : cases) {
    EXPECT_EQ(LocatorChar(c.value, c.kind), c.character) << c.value << " of kind " << c.kind;
  }
}

TEST(LocatorValue, ReadsEachKindCaseSensitively) {
  const CharCase cases[] = {
      {0, 1, 'A'},  {17, 1, 'R'}, {-1, 1, 'S'}, {-1, 1, 'a'}, {-1, 1, '0'}, {0, 2, '0'},
      {9, 2, '9'},  {-1, 2, 'A'}, {-1, 2, '/'}, {0, 3, 'a'},  {23, 3, 'x'}, {-1, 3, 'y'},
      {-1, 3, 'A'}, {-1, 0, 'A'}, {-1, 4, 'a'}, {-1, 1, '@'},
  };
  for (const CharCase& c : cases) {
    EXPECT_EQ(LocatorValue(c.character, c.kind), c.value) << c.character << " as kind " << c.kind;
  }
}

struct PlaceCase {
  double latitudeDeg;
  double longitudeDeg;
  const char* locator;
};

TEST(LatLonToLocator, KnownPlacesAndTheEdgesOfTheGrid) {
  const PlaceCase cases[] = {
      {0.0, 0.0, "JJ00aa"},           {90.0, 180.0, "RR99xx"},       // clamped just inside the last
                                                                     // subsquare
      {-90.0, -180.0, "AA00aa"},      {51.4779, -0.0015, "IO91xl"},  // Greenwich
      {-33.8688, 151.2093, "QF56od"},                                // Sydney
      {40.6892, -74.0445, "FN20xq"},  {-0.0001, -0.0001, "II99xx"}, {89.99, -179.99, "AR09ax"},
      {-91.0, -200.0, "AA00aa"},  // beyond the grid: its nearest corner
      {95.0, 400.0, "RR99xx"},
  };
  for (const PlaceCase& c : cases) {
    EXPECT_EQ(LatLonToLocator(c.latitudeDeg, c.longitudeDeg), c.locator)
        << c.latitudeDeg << ", " << c.longitudeDeg;
  }
}

TEST(LatLonToLocator, CoordinateThatIsNotANumberStillGivesAValidLocator) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  std::string text = LatLonToLocator(nan, nan);
  double lat = 0.0;
  double lon = 0.0;
  EXPECT_TRUE(LocatorToLatLon(text, lat, lon)) << text;
}

struct TextCase {
  const char* text;
  const char* normalised;
  double latitudeDeg;
  double longitudeDeg;
};

TEST(LocatorToLatLon, AcceptsAndNormalisesFourAndSixCharacters) {
  const TextCase cases[] = {
      {"jj00", "JJ00", 0.5, 1.0},
      {"JJ00AA", "JJ00aa", 1.0 / 48.0, 1.0 / 24.0},
      {"Jj00Aa", "JJ00aa", 1.0 / 48.0, 1.0 / 24.0},
      {"io91xl", "IO91xl", 51.4791666667, -0.0416666667},
      {"AA00", "AA00", -89.5, -179.0},
      {"RR99xx", "RR99xx", 90.0 - 1.0 / 48.0, 180.0 - 1.0 / 24.0},
  };
  for (const TextCase& c : cases) {
    std::string text = c.text;
    double lat = 0.0;
    double lon = 0.0;
    ASSERT_TRUE(LocatorToLatLon(text, lat, lon)) << c.text;
    EXPECT_EQ(text, c.normalised);
    EXPECT_NEAR(lat, c.latitudeDeg, kExactDeg) << c.text;
    EXPECT_NEAR(lon, c.longitudeDeg, kExactDeg) << c.text;
  }
}

TEST(LocatorToLatLon, RefusesWrongLengthsAndCharactersOutOfRange) {
  const char* refused[] = {"",       "J",      "JJ0",  "JJ00a", "JJ00aaa", "SS00aa", "JJ00ay",
                           "JJA0aa", "JJ0Aaa", "1J00", "J 00",  "JJ00a1",  "JJ00aa "};
  for (const char* t : refused) {
    std::string text = t;
    double lat = 12.5;
    double lon = -7.25;
    EXPECT_FALSE(LocatorToLatLon(text, lat, lon)) << t;
    // A refused locator leaves the caller's coordinates as they were.
    EXPECT_EQ(lat, 12.5) << t;
    EXPECT_EQ(lon, -7.25) << t;
  }
}

TEST(LocatorToLatLon, WrongLengthLeavesTheTextAsTyped) {
  std::string text = "jj00a";
  double lat = 0.0;
  double lon = 0.0;
  EXPECT_FALSE(LocatorToLatLon(text, lat, lon));
  EXPECT_EQ(text, "jj00a");
}

TEST(Locator, EveryFourCharacterSquareRoundTrips) {
  for (char f1 = 'A'; f1 <= 'R'; ++f1) {
    for (char f2 = 'A'; f2 <= 'R'; ++f2) {
      for (char s1 = '0'; s1 <= '9'; ++s1) {
        for (char s2 = '0'; s2 <= '9'; ++s2) {
          std::string text{f1, f2, s1, s2};
          double lat = 0.0;
          double lon = 0.0;
          ASSERT_TRUE(LocatorToLatLon(text, lat, lon)) << text;
          ASSERT_EQ(LatLonToLocator(lat, lon).substr(0, 4), text);
          // The centre of a 2 x 1 degree square lies on an odd longitude and a half latitude.
          ASSERT_NEAR(std::fmod(lon + 181.0, 2.0), 0.0, kExactDeg) << text;
          ASSERT_NEAR(std::fmod(lat + 90.5, 1.0), 0.0, kExactDeg) << text;
        }
      }
    }
  }
}

TEST(Locator, EverySixCharacterSubsquareRoundTrips) {
  std::string text(6, ' ');
  std::string back;
  for (char f1 = 'A'; f1 <= 'R'; ++f1) {
    for (char f2 = 'A'; f2 <= 'R'; ++f2) {
      for (char s1 = '0'; s1 <= '9'; ++s1) {
        for (char s2 = '0'; s2 <= '9'; ++s2) {
          for (char u1 = 'a'; u1 <= 'x'; ++u1) {
            for (char u2 = 'a'; u2 <= 'x'; ++u2) {
              text[0] = f1;
              text[1] = f2;
              text[2] = s1;
              text[3] = s2;
              text[4] = u1;
              text[5] = u2;
              double lat = 0.0;
              double lon = 0.0;
              if (!LocatorToLatLon(text, lat, lon)) FAIL() << text;
              back = LatLonToLocator(lat, lon);
              if (back != text) FAIL() << text << " came back as " << back;
            }
          }
        }
      }
    }
  }
}

TEST(Locator, PlacesOverAGridOfTheGlobeLieInTheirSubsquare) {
  for (double lat = -89.97; lat < 90.0; lat += 0.731) {
    for (double lon = -179.93; lon < 180.0; lon += 1.173) {
      std::string text = LatLonToLocator(lat, lon);
      double centreLat = 0.0;
      double centreLon = 0.0;
      ASSERT_TRUE(LocatorToLatLon(text, centreLat, centreLon)) << text;
      ASSERT_LE(std::fabs(centreLat - lat), kHalfSubsquareLatDeg + kExactDeg) << text;
      ASSERT_LE(std::fabs(centreLon - lon), kHalfSubsquareLonDeg + kExactDeg) << text;
      std::string square = text.substr(0, 4);
      ASSERT_TRUE(LocatorToLatLon(square, centreLat, centreLon)) << square;
      ASSERT_LE(std::fabs(centreLat - lat), 0.5 + kExactDeg) << square;
      ASSERT_LE(std::fabs(centreLon - lon), 1.0 + kExactDeg) << square;
    }
  }
}

}  // namespace
}  // namespace zen
