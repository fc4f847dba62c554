// The words of the options that every command shares: UTC moments in their several forms and
// observer sites with or without an altitude.
#include <gtest/gtest.h>

#include <string>

#include "cli/option_words.h"
#include "core/timescale.h"

namespace zen::cli {
namespace {

// Every form names the moment that the full form with "T" and "Z" names, and the full form
// reads back from the text the program prints for that moment.
TEST(OptionWords, EveryFormOfAUtcMomentNamesTheSameMoment) {
  struct Case {
    const char* text;
    const char* full;  // the same moment, written out
  };
  const Case cases[] = {
      {"2026-05-30", "2026-05-30T00:00:00Z"},
      {"2026-05-30Z", "2026-05-30T00:00:00Z"},
      {"2026-05-30 12:34", "2026-05-30T12:34:00Z"},
      {"2026-05-30t12:34z", "2026-05-30T12:34:00Z"},
      {"2026-05-30 12:34Z", "2026-05-30T12:34:00Z"},
      {"2026-05-30 12:34:56", "2026-05-30T12:34:56Z"},
      {"2024-02-29 23:59:59", "2024-02-29T23:59:59Z"},
      {"2000-02-29", "2000-02-29T00:00:00Z"},
      {"1583-01-01", "1583-01-01T00:00:00Z"},
      {"9998-12-31 23:59:59", "9998-12-31T23:59:59Z"},
  };
  for (const Case& c : cases) {
    double jd = 0.0;
    double fullJd = -1.0;
    ASSERT_EQ(ParseUtcOption("--from", c.text, jd), "") << c.text;
    ASSERT_TRUE(ParseUtc(c.full, fullJd)) << c.full;
    EXPECT_EQ(jd, fullJd) << c.text;
    std::string printed = DateRecToText(JulianToDateRec(jd));
    printed[10] = 'T';
    EXPECT_EQ(printed + "Z", c.full) << c.text;
  }
}

TEST(OptionWords, MomentsThatAreNoMomentSayWhatIsWrong) {
  struct Case {
    const char* text;
    const char* said;  // the whole error of --to
  };
  const std::string layout =
      "--to needs a UTC time: YYYY-MM-DD, YYYY-MM-DD HH:MM or YYYY-MM-DD HH:MM:SS, with \"T\" or "
      "a blank between date and time and an optional closing \"Z\"";
  const Case cases[] = {
      {"2026-13-01", "--to 2026-13-01: there is no month 13"},
      {"2026-02-30", "--to 2026-02-30: February 2026 has 28 days"},
      {"2100-02-29", "--to 2100-02-29: February 2100 has 28 days"},
      {"2024-02-30", "--to 2024-02-30: February 2024 has 29 days"},
      {"2026-04-31 10:00", "--to 2026-04-31 10:00: April 2026 has 30 days"},
      {"2026-05-00", "--to 2026-05-00: there is no day 0"},
      {"2026-05-30 24:00", "--to 2026-05-30 24:00: the hour must be within 00..23"},
      {"2026-05-30T23:60", "--to 2026-05-30T23:60: the minute must be within 00..59"},
      {"2026-05-30T23:59:60Z", "--to 2026-05-30T23:59:60Z: the second must be within 00..59"},
      // Earlier moments would be printed in the Julian calendar, later ones past four digits.
      {"1582-12-31", "--to 1582-12-31: the year must be within 1583..9998"},
      {"9999-01-01", "--to 9999-01-01: the year must be within 1583..9998"},
      {"", layout.c_str()},
      {"tomorrow", layout.c_str()},
      {"2026-05-30T12", layout.c_str()},
      {"2026-05-30T12:00:00.5Z", layout.c_str()},
      {"2026-05-30_12:00", layout.c_str()},
      {"2026-05-30ZZ", layout.c_str()},
      {"2026-05-30 -1:00", layout.c_str()},
  };
  for (const Case& c : cases) {
    double jd = 12345.0;
    EXPECT_EQ(ParseUtcOption("--to", c.text, jd), c.said) << c.text;
    EXPECT_EQ(jd, 12345.0) << c.text << ": a refused moment leaves the value alone";
    EXPECT_FALSE(ParseUtc(c.text, jd)) << c.text;
  }
}

TEST(OptionWords, SitesWithAndWithoutAltitude) {
  struct Case {
    const char* text;
    const char* said;  // empty when sound
    double latitudeDeg, longitudeDeg, altitudeM;
  };
  const std::string form = "--site needs LAT,LON or LAT,LON,ALT_M (degrees and metres)";
  const Case cases[] = {
      {"52.23,21.01", "", 52.23, 21.01, 0.0},
      {"52.23,21.01,100", "", 52.23, 21.01, 100.0},
      {"-33.9,-70.6", "", -33.9, -70.6, 0.0},
      {"0,359.5,-10", "", 0.0, 359.5, -10.0},
      {"52.23", form.c_str(), 0, 0, 0},
      {"52.23,", form.c_str(), 0, 0, 0},
      {",21.01", form.c_str(), 0, 0, 0},
      {"52.23,21.01,", form.c_str(), 0, 0, 0},
      {"52.23,,100", form.c_str(), 0, 0, 0},
      {"52,23,21,01", form.c_str(), 0, 0, 0},
      {"52.23;21.01", form.c_str(), 0, 0, 0},
      {"91,0", "--site latitude must be within -90..90 degrees", 0, 0, 0},
      {"0,-181", "--site longitude must be within -180..360 degrees", 0, 0, 0},
      {"0,0,-1001", "--site altitude must be within -1000..100000 metres", 0, 0, 0},
  };
  for (const Case& c : cases) {
    TSiteWords site;
    site.altitudeM = 7.0;  // a value left from an earlier --site is not kept
    EXPECT_EQ(ParseSiteWords(c.text, site), c.said) << c.text;
    if (*c.said != '\0') continue;
    EXPECT_EQ(site.latitudeDeg, c.latitudeDeg) << c.text;
    EXPECT_EQ(site.longitudeDeg, c.longitudeDeg) << c.text;
    EXPECT_EQ(site.altitudeM, c.altitudeM) << c.text;
  }
}

}  // namespace
}  // namespace zen::cli
