// ".loc" lines: what reads, what is refused, and what is written.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "locations/location_db.h"
#include "locations/site_fields.h"

namespace zen {
namespace {

struct TLineCase {
  const char* line;
  const char* name;  // "ERROR!" when refused
  const char* sign;
  double longitude, latitude, altitude;
};

TEST(DecodeLoc, ReadsValidLinesAndRefusesBrokenOnes) {
  const TLineCase cases[] = {
      {R"("Torun","SP2",18.6107,53.0217,5.0)", "Torun", "SP2", 18.6107, 53.0217, 5.0},
      {R"("Washington, D.C.","",-77.0364,38.8951,7.0)", "Washington, D.C.", "", -77.0364, 38.8951,
       7.0},
      {R"("Edge","E",-180,90,-12000)", "Edge", "E", -180.0, 90.0, -12000.0},
      {R"("Top","T",180, -90, 10000)", "Top", "T", 180.0, -90.0, 10000.0},
      // A decimal comma splits the numbers at every comma.
      {R"("Comma","C",21,5,52,3,100,0)", "Comma", "C", 21.0, 5.0, 52.0},
      {R"("Lon","L",200,50,0)", "ERROR!", "", 0, 0, 0},
      {R"("Lat","L",20,90.5,0)", "ERROR!", "", 0, 0, 0},
      {R"("High","H",20,50,10000.1)", "ERROR!", "", 0, 0, 0},
      {R"("Deep","D",20,50,-12000.1)", "ERROR!", "", 0, 0, 0},
      {R"("Two","T",20,50)", "ERROR!", "", 0, 0, 0},
      {R"("","T",20,50,0)", "ERROR!", "", 0, 0, 0},
      {R"("Word","W",20,north,0)", "ERROR!", "", 0, 0, 0},
      {R"("Trail","W",20,50 ,0)", "ERROR!", "", 0, 0, 0},
      {R"("Inf","W",inf,50,0)", "ERROR!", "", 0, 0, 0},
      {R"("Empty","W",20,,0)", "ERROR!", "", 0, 0, 0},
      {R"("Unclosed,20,50,0)", "ERROR!", "", 0, 0, 0},
      {"", "ERROR!", "", 0, 0, 0},
  };
  for (const TLineCase& c : cases) {
    SCOPED_TRACE(c.line);
    const TDecodedLoc loc = DecodeLoc(c.line);
    EXPECT_EQ(loc.name, c.name);
    if (loc.name == "ERROR!") continue;
    EXPECT_EQ(loc.sign, c.sign);
    EXPECT_DOUBLE_EQ(loc.longitude, c.longitude);
    EXPECT_DOUBLE_EQ(loc.latitude, c.latitude);
    EXPECT_DOUBLE_EQ(loc.altitude, c.altitude);
  }
}

TEST(DecodeLoc, CutsNamesAndSignsByCharacters) {
  std::string name;
  for (int i = 0; i < 30; ++i) name += "\xC5\x81";  // "Ł", two bytes each
  const TDecodedLoc loc = DecodeLoc("\"" + name + "\",\"ABCDEFGHIJKLMNOPQRST\",1,2,3");
  EXPECT_EQ(loc.name, name.substr(0, 50));
  EXPECT_EQ(loc.sign, "ABCDEFGHIJKLMNO");
}

TEST(DecodeLoc, SurvivesBinaryBytesAndLongLines) {
  std::mt19937 random(7);
  std::string bytes(1 << 20, '\0');
  for (char& b : bytes) b = static_cast<char>(random());
  EXPECT_NO_FATAL_FAILURE(DecodeLoc(bytes));
  const std::string longName(1 << 20, 'x');
  EXPECT_EQ(DecodeLoc("\"" + longName + "\",\"s\",1,2,3").name, std::string(25, 'x'));
}

TEST(EncodeLoc, WritesTheLineFormat) {
  EXPECT_EQ(EncodeLoc("Torun", {53.0217, 18.6107, 5.0, "SP2"}),
            R"("Torun","SP2",18.6107,53.0217,5.0)");
  EXPECT_EQ(EncodeLoc("Rio", {-22.90642, -43.18223, 1234.56, "BR"}),
            R"("Rio","BR",-43.1822,-22.9064,1235.0)");
  // Quotes cannot be stored: they are left out so the line still reads.
  EXPECT_EQ(EncodeLoc("a\"b", {0, 0, 0, "\"s"}), R"("ab","s",0.0000,0.0000,0.0)");
}

TEST(EncodeLoc, HighAndDeepAltitudesReadBackUnchanged) {
  for (double altitude : {10000.0, -10000.0, -12000.0, -11234.5, -10987.25, 9999.0}) {
    SCOPED_TRACE(altitude);
    const std::string line = EncodeLoc("P", {1.0, 2.0, altitude, "S"});
    const TDecodedLoc loc = DecodeLoc(line);
    ASSERT_EQ(loc.name, "P");
    EXPECT_EQ(loc.altitude, altitude);
    EXPECT_EQ(EncodeLoc(loc.name, {loc.latitude, loc.longitude, loc.altitude, loc.sign}), line);
  }
}

}  // namespace
}  // namespace zen
