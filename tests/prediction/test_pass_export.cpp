// The calendar and JSON texts of passes and flares: folding and escaping by the rules of
// RFC 5545, the events of constructed passes read back by the standard's unfolding, and the JSON
// parsed back.
#include <gtest/gtest.h>

#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "core/timescale.h"
#include "prediction/pass_export.h"
#include "prediction/search.h"

namespace zen {
namespace {

using nlohmann::json;

// RFC 5545 3.1: a line end followed by one blank is removed when unfolding.
std::string Unfold(std::string text) {
  size_t at = 0;
  while ((at = text.find("\r\n ", at)) != std::string::npos) text.erase(at, 3);
  return text;
}

// The unfolded content lines without their line ends.
std::vector<std::string> ContentLines(const std::string& calendar) {
  std::vector<std::string> lines;
  const std::string text = Unfold(calendar);
  size_t start = 0;
  size_t end = 0;
  while ((end = text.find("\r\n", start)) != std::string::npos) {
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  EXPECT_EQ(start, text.size()) << "text after the last line end";
  return lines;
}

// The properties of each event, by name (every property of an event occurs once).
std::vector<std::map<std::string, std::string>> Events(const std::string& calendar) {
  std::vector<std::map<std::string, std::string>> events;
  bool inside = false;
  for (const std::string& line : ContentLines(calendar)) {
    const size_t colon = line.find(':');
    const std::string name = line.substr(0, colon);
    const std::string value = line.substr(colon + 1);
    if (line == "BEGIN:VEVENT") {
      inside = true;
      events.emplace_back();
    } else if (line == "END:VEVENT") {
      inside = false;
    } else if (inside) {
      EXPECT_EQ(events.back().count(name), 0u) << name << " twice";
      events.back()[name] = value;
    }
  }
  return events;
}

// The escaping of RFC 5545 3.3.11 undone.
std::string Unescape(const std::string& value) {
  std::string text;
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '\\' && i + 1 < value.size()) {
      ++i;
      text += value[i] == 'n' || value[i] == 'N' ? '\n' : value[i];
    } else {
      text += value[i];
    }
  }
  return text;
}

double Utc(int year, int month, int day, int hour, int minute, double second) {
  const int whole = static_cast<int>(second);
  return DateRecToJulian(TDateRec{static_cast<uint16_t>(year), static_cast<uint16_t>(month),
                                  static_cast<uint16_t>(day), static_cast<uint16_t>(hour),
                                  static_cast<uint16_t>(minute), static_cast<uint16_t>(whole), 0}) +
         (second - whole) / 86400.0;
}

TFound Point(double timeUtc, double azimuth, double elevation, double range) {
  TFound f;
  f.timeUtc = timeUtc;
  f.sat = "ISS (ZARYA)";
  f.catalogNumber = "25544";
  f.azimuth = azimuth;
  f.elevation = elevation;
  f.range = range;
  return f;
}

// A pass of the station: rise 18:01:22.995 (the second 18:01:23), culmination at 67.4 degrees,
// set 18:08:02.
TPassLine StationPass() {
  TPassLine p;
  p.number = 25544;
  p.rise = Point(Utc(2026, 12, 8, 18, 1, 22.995), 245.14, 10.02, 1620.4);
  p.culmination = Point(Utc(2026, 12, 8, 18, 4, 40.0), 170.26, 67.4, 436.1237);
  p.set = Point(Utc(2026, 12, 8, 18, 8, 2.0), 63.92, 10.0, 1633.0);
  p.sunlitSeconds = 270;
  return p;
}

TEST(CalendarLine, FoldsAt75OctetsNeverInsideACharacter) {
  const std::string a74(74, 'a');
  const std::string a75(75, 'a');
  const std::string degree = "\u00B0";
  const std::string euro = "\u20AC";
  struct Case {
    std::string line;
    std::string folded;  // empty: only the general rules are checked
  };
  const Case cases[] = {
      {"", "\r\n"},
      {a74, a74 + "\r\n"},
      {a75, a75 + "\r\n"},
      {a75 + "b", a75 + "\r\n b\r\n"},
      // The degree sign's two octets would be the 75th and 76th: it moves to the next line.
      {a74 + degree + "b", a74 + "\r\n " + degree + "b\r\n"},
      {a75 + degree, a75 + "\r\n " + degree + "\r\n"},
      // Continuations hold 74 octets after their blank; a three-octet character at 73..75.
      {a75 + std::string(72, 'c') + euro,
       a75 + "\r\n " + std::string(72, 'c') + "\r\n " + euro + "\r\n"},
      {std::string(1000, 'x'), ""},
      {"SUMMARY:" +
           [&] {
             std::string signs;
             for (int i = 0; i < 150; ++i) signs += degree;
             return signs;
           }(),
       ""},
  };
  for (const Case& c : cases) {
    const std::string folded = FoldCalendarLine(c.line);
    if (!c.folded.empty()) {
      EXPECT_EQ(folded, c.folded) << c.line;
    }
    EXPECT_EQ(Unfold(folded), c.line + "\r\n") << c.line;
    size_t start = 0;
    size_t end = 0;
    while ((end = folded.find("\r\n", start)) != std::string::npos) {
      const std::string part = folded.substr(start, end - start);
      EXPECT_LE(part.size(), 75u) << c.line;
      if (start > 0) {
        ASSERT_FALSE(part.empty());
        EXPECT_EQ(part[0], ' ');
        // A part never begins in the middle of a UTF-8 character.
        if (part.size() > 1) {
          EXPECT_NE(static_cast<unsigned char>(part[1]) & 0xC0, 0x80);
        }
      }
      start = end + 2;
    }
    EXPECT_EQ(start, folded.size());
  }
}

TEST(CalendarText, EscapesAsTheStandardSays) {
  const struct {
    const char* text;
    const char* escaped;
  } cases[] = {
      // RFC 5545 3.8.1.5's description, its line ends written as \n.
      {"Meeting to provide technical review for \"Phoenix\" design.\nHappy Face Conference "
       "Room. Phoenix design team MUST attend this meeting.",
       "Meeting to provide technical review for \"Phoenix\" design.\\nHappy Face Conference "
       "Room. Phoenix design team MUST attend this meeting."},
      {"a,b;c\\d", "a\\,b\\;c\\\\d"},
      {"line\r\nnext\rlast", "line\\nnext\\nlast"},
      {"colon: and \"quotes\" stay", "colon: and \"quotes\" stay"},
      {"tab\tkept, bell\a dropped", "tab\tkept\\, bell dropped"},
      {"Toru\u0144 \u00B0", "Toru\u0144 \u00B0"},
      {"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EscapeCalendarText(c.text), c.escaped) << c.text;
  }
}

TEST(PassesCalendar, OneEventPerPassInWholeUtcSeconds) {
  TPassLine late = StationPass();
  late.number = 43013;
  late.rise.sat = late.culmination.sat = late.set.sat = "NOAA 20; \"JPSS-1\"";
  // 23:59:59.996 on the last day of the year is the next year's first second.
  late.rise.timeUtc = Utc(2026, 12, 31, 23, 59, 59.996);
  late.culmination.timeUtc = Utc(2027, 1, 1, 0, 4, 30.4);
  late.culmination.elevation = 89.6;
  late.set.timeUtc = Utc(2027, 1, 1, 0, 9, 0.6);
  TExportSite site{"Toru\u0144, PL", 53.0217, 18.6107, 1.0};
  const std::string calendar =
      PassesCalendar({StationPass(), late}, site, Utc(2026, 12, 8, 12, 30, 5.0));

  // Every line ends in CR LF: no line feed stands alone.
  for (size_t at = calendar.find('\n'); at != std::string::npos; at = calendar.find('\n', at + 1)) {
    ASSERT_GT(at, 0u);
    EXPECT_EQ(calendar[at - 1], '\r');
  }
  const std::vector<std::string> lines = ContentLines(calendar);
  ASSERT_GE(lines.size(), 6u);
  const std::vector<std::string> head(lines.begin(), lines.begin() + 5);
  EXPECT_EQ(head, (std::vector<std::string>{"BEGIN:VCALENDAR", "VERSION:2.0",
                                            "PRODID:-//Zenarith//Zenarith 1.0//EN",
                                            "CALSCALE:GREGORIAN", "METHOD:PUBLISH"}));
  EXPECT_EQ(lines.back(), "END:VCALENDAR");

  const auto events = Events(calendar);
  ASSERT_EQ(events.size(), 2u);
  const std::map<std::string, std::string> expected[] = {
      {{"UID", "25544-20261208T180123Z@zenarith"},
       {"DTSTAMP", "20261208T123005Z"},
       {"DTSTART", "20261208T180123Z"},
       {"DTEND", "20261208T180802Z"},
       {"SUMMARY", "ISS (ZARYA) pass\\, max 67\u00B0"},
       {"GEO", "53.0217;18.6107"},
       {"LOCATION", "Toru\u0144\\, PL"},
       {"TRANSP", "TRANSPARENT"}},
      {{"UID", "43013-20270101T000000Z@zenarith"},
       {"DTSTAMP", "20261208T123005Z"},
       {"DTSTART", "20270101T000000Z"},
       {"DTEND", "20270101T000901Z"},
       {"SUMMARY", "NOAA 20\\; \"JPSS-1\" pass\\, max 90\u00B0"},
       {"GEO", "53.0217;18.6107"},
       {"LOCATION", "Toru\u0144\\, PL"},
       {"TRANSP", "TRANSPARENT"}},
  };
  for (size_t i = 0; i < 2; ++i) {
    std::map<std::string, std::string> got = events[i];
    got.erase("DESCRIPTION");
    EXPECT_EQ(got, expected[i]) << i;
  }

  // The description on the site's clock (UTC +1): rise, culmination and set, their directions,
  // the duration and the sunlit time.
  const std::string description = Unescape(events[0].at("DESCRIPTION"));
  for (const char* part : {"Rise: 2026-12-08 19:01:23 UTC +1:00, azimuth 245.1\u00B0 (WSW)",
                           "Culmination: 2026-12-08 19:04:40 UTC +1:00, elevation 67.4\u00B0, "
                           "azimuth 170.3\u00B0 (S), range 436 km",
                           "Set: 2026-12-08 19:08:02 UTC +1:00, azimuth 63.9\u00B0 (ENE)",
                           "Duration: 6 min 39 s, sunlit 4 min 30 s", "25544"}) {
    EXPECT_NE(description.find(part), std::string::npos) << part << "\n" << description;
  }
  EXPECT_NE(Unescape(events[1].at("DESCRIPTION")).find("Rise: 2027-01-01 01:00:00 UTC +1:00"),
            std::string::npos);
}

TEST(PassesCalendar, TheUidDependsOnTheSatelliteAndTheRiseSecondOnly) {
  const TExportSite site;
  auto uid = [&](const TPassLine& p, double stamp) {
    const auto events = Events(PassesCalendar({p}, site, stamp));
    return events.size() == 1 ? events[0].at("UID") : std::string();
  };
  const TPassLine base = StationPass();
  const std::string first = uid(base, Utc(2026, 12, 8, 12, 0, 0.0));

  TPassLine again = base;  // found again later, its culmination and set a little different
  again.rise.timeUtc += 0.3 / 86400.0;
  again.culmination.elevation = 66.0;
  again.set.timeUtc += 4.0 / 86400.0;
  again.rise.sat = again.culmination.sat = "ISS";
  EXPECT_EQ(uid(again, Utc(2026, 12, 9, 0, 0, 0.0)), first);

  TPassLine otherSecond = base;
  otherSecond.rise.timeUtc += 1.0 / 86400.0;
  TPassLine otherSatellite = base;
  otherSatellite.number = 25545;
  EXPECT_NE(uid(otherSecond, 0.0), first);
  EXPECT_NE(uid(otherSatellite, 0.0), first);
}

TEST(PassesCalendar, NoPassesGiveACalendarWithoutEvents) {
  const std::string calendar = PassesCalendar({}, TExportSite{}, Utc(2026, 1, 1, 0, 0, 0.0));
  EXPECT_EQ(calendar.rfind("BEGIN:VCALENDAR\r\n", 0), 0u);
  EXPECT_TRUE(calendar.ends_with("END:VCALENDAR\r\n"));
  EXPECT_TRUE(Events(calendar).empty());
  EXPECT_EQ(calendar.find("LOCATION"), std::string::npos);
}

// Two flares with an empty row between them; the second satellite is not among those searched.
TResultRows Flares() {
  TFound f;
  f.timeUtc = Utc(2014, 9, 18, 19, 22, 7.0);
  f.sat = "17 +";
  f.catalogNumber = "24945";
  f.azimuth = 359.97;
  f.elevation = 42.1234;
  f.range = 812.3456;
  f.sunAzimuth = 301.5;
  f.sunElevation = -12.34;
  f.flareAngles = {2.5, 0.5349, 3.1};
  f.panel = 2;
  f.direction = 'D';
  TFound g = f;
  g.timeUtc = Utc(2014, 9, 18, 20, 1, 2.0);
  g.sat = "58 S";
  g.catalogNumber = "25274";
  g.flareAngles = {0.91, 2.0, 2.0};
  g.panel = 1;
  g.direction = 'A';
  return {f, std::nullopt, g};
}

std::vector<TSearchSatellite> IridiumSatellites() {
  TSearchSatellite s;
  s.name = "IRIDIUM 17";
  s.catalogNumberText = "24945";
  s.set.number = 24945;
  return {s};
}

TEST(FlaresCalendar, OneMinuteEventPerFlareNamedFromTheSatellites) {
  const auto events = Events(
      FlaresCalendar(Flares(), IridiumSatellites(), TExportSite{"", -33.5, 151.25, 10.0}, 0.0));
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].at("DTSTART"), "20140918T192207Z");
  EXPECT_EQ(events[0].at("DTEND"), "20140918T192307Z");
  EXPECT_EQ(events[0].at("SUMMARY"), "IRIDIUM 17 flare\\, angle 0.53\u00B0");
  EXPECT_EQ(events[0].at("GEO"), "-33.5;151.25");
  EXPECT_EQ(events[0].count("LOCATION"), 0u);
  // Not searched: the row's label names it.
  EXPECT_EQ(events[1].at("SUMMARY"), "58 S flare\\, angle 0.91\u00B0");
  EXPECT_NE(events[0].at("UID"), events[1].at("UID"));

  const std::string description = Unescape(events[0].at("DESCRIPTION"));
  for (const char* part :
       {"2014-09-19 05:22:07 UTC +10:00", "Azimuth 0.0\u00B0 (N)", "elevation 42.1\u00B0",
        "range 812 km", "Panel F", "descending", "Sun elevation -12.3\u00B0"}) {
    EXPECT_NE(description.find(part), std::string::npos) << part << "\n" << description;
  }
  EXPECT_NE(Unescape(events[1].at("DESCRIPTION")).find("Panel L, ascending"), std::string::npos);
}

TEST(PassesJson, ParsesBackToTheLinesValues) {
  TPassLine second = StationPass();
  second.number = 339995;
  second.rise.sat = second.culmination.sat = second.set.sat = "STARLINK-1008 \u00B0\"\\";
  second.culmination.elevation = -0.0001;  // shows as zero, without a sign
  const std::vector<TPassLine> lines = {StationPass(), second};
  const std::string text = PassesJson(lines);
  EXPECT_TRUE(text.ends_with("}\n]\n"));
  EXPECT_NE(text.find("\n  {\n    \"catno\": 25544,"), std::string::npos) << text;

  const json passes = json::parse(text);
  ASSERT_TRUE(passes.is_array());
  ASSERT_EQ(passes.size(), lines.size());
  for (size_t i = 0; i < lines.size(); ++i) {
    const TPassLine& line = lines[i];
    const json& p = passes[i];
    EXPECT_EQ(p.at("catno").get<int64_t>(), line.number);
    EXPECT_EQ(p.at("name").get<std::string>(), line.culmination.sat);
    EXPECT_EQ(p.at("duration_seconds").get<int64_t>(), 399);
    EXPECT_EQ(p.at("sunlit_seconds").get<int64_t>(), 270);
    const std::pair<const char*, const TFound*> points[] = {
        {"rise", &line.rise}, {"culmination", &line.culmination}, {"set", &line.set}};
    for (const auto& [key, found] : points) {
      const json& point = p.at(key);
      EXPECT_NEAR(point.at("az").get<double>(), found->azimuth, 0.0005) << key;
      EXPECT_NEAR(point.at("el").get<double>(), found->elevation, 0.0005) << key;
      EXPECT_NEAR(point.at("range").get<double>(), found->range, 0.0005) << key;
    }
    EXPECT_EQ(p.at("rise").at("time_utc"), "2026-12-08T18:01:23Z");
    EXPECT_EQ(p.at("culmination").at("time_utc"), "2026-12-08T18:04:40Z");
    EXPECT_EQ(p.at("set").at("time_utc"), "2026-12-08T18:08:02Z");
  }
  EXPECT_EQ(passes[1].at("culmination").at("el").dump(), "0.0");
  EXPECT_EQ(passes[0].at("culmination").at("range").dump(), "436.124");
  EXPECT_EQ(PassesJson({}), "[]\n");
}

TEST(FlaresJson, ParsesBackToTheRowsValues) {
  const json flares = json::parse(FlaresJson(Flares(), IridiumSatellites()));
  ASSERT_EQ(flares.size(), 2u);
  EXPECT_EQ(flares[0], json::parse(R"({
    "catno": 24945, "name": "IRIDIUM 17", "label": "17 +", "time_utc": "2014-09-18T19:22:07Z",
    "az": 359.97, "el": 42.123, "range": 812.346, "panel": "F", "direction": "D",
    "angle": 0.535, "sun_az": 301.5, "sun_el": -12.34})"));
  EXPECT_EQ(flares[1].at("catno"), 25274);
  EXPECT_EQ(flares[1].at("name"), "58 S");
  EXPECT_EQ(flares[1].at("panel"), "L");
  EXPECT_EQ(flares[1].at("direction"), "A");
  EXPECT_EQ(flares[1].at("angle"), 0.91);
  EXPECT_EQ(FlaresJson({std::nullopt}, {}), "[]\n");
}

}  // namespace
}  // namespace zen
