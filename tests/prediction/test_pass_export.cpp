// The calendar and JSON texts of passes and flares: folding and escaping by the rules of
// RFC 5545, events read back by the standard's unfolding, JSON parsed back.
#include <gtest/gtest.h>

#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "core/timescale.h"
#include "prediction/pass_export.h"

namespace zen {
namespace {

using nlohmann::json;
using TEvent = std::map<std::string, std::string>;

// RFC 5545 3.1: unfolding removes every line end that a blank follows.
std::string Unfold(std::string text) {
  for (size_t at = 0; (at = text.find("\r\n ", at)) != std::string::npos;) text.erase(at, 3);
  return text;
}

// The properties of each event by name.
std::vector<TEvent> Events(const std::string& calendar) {
  std::vector<TEvent> events;
  const std::string text = Unfold(calendar);
  bool inside = false;
  for (size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos;
       start = end + 2) {
    const std::string line = text.substr(start, end - start);
    const size_t colon = line.find(':');
    if (line == "BEGIN:VEVENT") events.emplace_back();
    inside = (inside || line == "BEGIN:VEVENT") && line != "END:VEVENT";
    if (inside && line != "BEGIN:VEVENT")
      events.back()[line.substr(0, colon)] = line.substr(colon + 1);
  }
  return events;
}

double Utc(uint16_t month, uint16_t day, uint16_t hour, uint16_t minute, double second) {
  const auto whole = static_cast<uint16_t>(second);
  return DateRecToJulian(TDateRec{2026, month, day, hour, minute, whole, 0}) +
         (second - whole) / 86400.0;
}

TFound Point(double timeUtc, double azimuth, double elevation, double range) {
  TFound f;
  f.timeUtc = timeUtc;
  f.sat = "ISS (ZARYA)";
  f.azimuth = azimuth;
  f.elevation = elevation;
  f.range = range;
  return f;
}

// Rise 18:01:22.995, which is the second 18:01:23; culmination at 67.4 degrees; set 18:08:02.
TPassLine StationPass() {
  TPassLine p;
  p.number = 25544;
  p.rise = Point(Utc(12, 8, 18, 1, 22.995), 245.14, 10.02, 1620.4);
  p.culmination = Point(Utc(12, 8, 18, 4, 40.0), 170.26, 67.4, 436.1237);
  p.set = Point(Utc(12, 8, 18, 8, 2.0), 63.92, 10.0, 1633.0);
  p.sunlitSeconds = 270;
  return p;
}

TEST(CalendarLine, FoldsAt75OctetsNeverInsideACharacter) {
  const std::string a74(74, 'a'), a75(75, 'a'), degree = "\u00B0";
  std::string degrees;
  for (int i = 0; i < 150; ++i) degrees += degree;
  const struct {
    std::string line, folded;  // folded empty: the general rules only
  } cases[] = {
      {a74, a74 + "\r\n"},
      {a75, a75 + "\r\n"},
      {a75 + "b", a75 + "\r\n b\r\n"},
      // The degree sign's two octets would be the 75th and 76th.
      {a74 + degree + "b", a74 + "\r\n " + degree + "b\r\n"},
      // Continuations hold 74 octets after their blank; the euro sign would take 73..75.
      {a75 + std::string(72, 'c') + "\u20AC",
       a75 + "\r\n " + std::string(72, 'c') + "\r\n \u20AC\r\n"},
      {std::string(1000, 'x'), ""},
      {"SUMMARY:" + degrees, ""},
  };
  for (const auto& c : cases) {
    const std::string folded = FoldCalendarLine(c.line);
    if (!c.folded.empty()) {
      EXPECT_EQ(folded, c.folded);
    }
    EXPECT_EQ(Unfold(folded), c.line + "\r\n");
    for (size_t start = 0, end; (end = folded.find("\r\n", start)) != std::string::npos;
         start = end + 2) {
      EXPECT_LE(end - start, 75u) << c.line;
      // No part begins inside a UTF-8 character (10xxxxxx).
      EXPECT_NE(static_cast<unsigned char>(folded[start + (start > 0)]) & 0xC0, 0x80);
    }
  }
}

TEST(CalendarText, EscapesAsTheStandardSays) {
  const std::pair<std::string, std::string> cases[] = {
      // RFC 5545 3.8.1.5's example, its line end written as \n.
      {"review for \"Phoenix\" design.\nHappy Face Conference Room.",
       "review for \"Phoenix\" design.\\nHappy Face Conference Room."},
      {"a,b;c\\d: e", "a\\,b\\;c\\\\d: e"},
      {"line\r\nnext\rlast", "line\\nnext\\nlast"},
      {"tab\tkept bell\a dropped Toru\u0144", "tab\tkept bell dropped Toru\u0144"},
  };
  for (const auto& [text, escaped] : cases) EXPECT_EQ(EscapeCalendarText(text), escaped);
}

TEST(PassesCalendar, OneEventPerPassInWholeUtcSeconds) {
  TPassLine late = StationPass();
  late.number = 43013;
  late.culmination.sat = "NOAA 20; \"JPSS-1\"";
  // 23:59:59.996 on the year's last day is the next year's first second.
  late.rise.timeUtc = Utc(12, 31, 23, 59, 59.996);
  late.culmination.elevation = 89.6;
  late.set.timeUtc = late.rise.timeUtc + 540.6 / 86400.0;
  const std::string calendar =
      PassesCalendar({StationPass(), late}, TExportSite{"Toru\u0144, PL", 53.0217, 18.6107, 1.0},
                     Utc(12, 8, 12, 30, 5.0));

  EXPECT_EQ(calendar.rfind("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Zenarith//Zenarith 1.0//EN"
                           "\r\nCALSCALE:GREGORIAN\r\nMETHOD:PUBLISH\r\n",
                           0),
            0u);
  EXPECT_TRUE(calendar.ends_with("END:VEVENT\r\nEND:VCALENDAR\r\n"));
  std::string bare = calendar;  // with every CR LF taken out: no CR or LF is left
  for (size_t at = 0; (at = bare.find("\r\n", at)) != std::string::npos;) bare.erase(at, 2);
  EXPECT_EQ(bare.find_first_of("\r\n"), std::string::npos);
  std::vector<TEvent> events = Events(calendar);
  ASSERT_EQ(events.size(), 2u);
  const std::string description = events[0]["DESCRIPTION"];
  for (TEvent& e : events) e.erase("DESCRIPTION");
  const TEvent common = {{"DTSTAMP", "20261208T123005Z"},
                         {"GEO", "53.0217;18.6107"},
                         {"LOCATION", "Toru\u0144\\, PL"},
                         {"TRANSP", "TRANSPARENT"}};
  TEvent first = common, second = common;
  first.insert({{"UID", "25544-20261208T180123Z@zenarith"},
                {"DTSTART", "20261208T180123Z"},
                {"DTEND", "20261208T180802Z"},
                {"SUMMARY", "ISS (ZARYA) pass\\, max 67\u00B0"}});
  second.insert({{"UID", "43013-20270101T000000Z@zenarith"},
                 {"DTSTART", "20270101T000000Z"},
                 {"DTEND", "20270101T000901Z"},
                 {"SUMMARY", "NOAA 20\\; \"JPSS-1\" pass\\, max 90\u00B0"}});
  EXPECT_EQ(events[0], first);
  EXPECT_EQ(events[1], second);
  // On the site's clock, an hour ahead.
  for (const char* part :
       {"Rise: 2026-12-08 19:01:23 UTC +1:00\\, azimuth 245.1\u00B0 (WSW)",
        "19:04:40 UTC +1:00\\, elevation 67.4\u00B0\\, azimuth 170.3\u00B0 (S)",
        "Set: 2026-12-08 19:08:02 UTC +1:00", "6 min 39 s\\, sunlit 4 min 30 s"}) {
    EXPECT_NE(description.find(part), std::string::npos) << part << "\n" << description;
  }
}

TEST(PassesCalendar, TheUidDependsOnTheSatelliteAndTheRiseSecondOnly) {
  auto uid = [](const TPassLine& p, double stamp) {
    return Events(PassesCalendar({p}, TExportSite{}, stamp)).at(0).at("UID");
  };
  const std::string first = uid(StationPass(), 0.0);
  TPassLine again = StationPass();  // found again later, a little different
  again.rise.timeUtc += 0.3 / 86400.0;
  again.culmination.elevation = 66.0;
  again.set.timeUtc += 4.0 / 86400.0;
  again.culmination.sat = "ISS";
  EXPECT_EQ(uid(again, 1.0), first);
  TPassLine otherSecond = StationPass(), otherSatellite = StationPass();
  otherSecond.rise.timeUtc += 1.0 / 86400.0;
  otherSatellite.number = 25545;
  EXPECT_NE(uid(otherSecond, 0.0), first);
  EXPECT_NE(uid(otherSatellite, 0.0), first);
}

// Two flares with an empty row between them; the second one's satellite was not searched.
TResultRows Flares() {
  TFound f{{},     Utc(9, 18, 19, 22, 7.0), "17 +", "24945", 359.97, 42.1234, 812.3456, 301.5,
           -12.34, {2.5, 0.5349, 3.1},      2,      'D'};
  TFound g = f;
  g.timeUtc = Utc(9, 18, 20, 1, 2.0);
  g.sat = "58 S";
  g.catalogNumber = "25274";
  g.flareAngles[0] = 0.91;
  g.panel = 1;
  g.direction = 'A';
  return {f, std::nullopt, g};
}

std::vector<TSearchSatellite> Searched() {
  TSearchSatellite s{{}, "IRIDIUM 17", "24945"};
  s.set.number = 24945;
  return {s};
}

TEST(FlaresCalendar, OneMinuteEventPerFlareNamedFromTheSatellites) {
  const auto events =
      Events(FlaresCalendar(Flares(), Searched(), TExportSite{"", -33.5, 151.25, 10.0}, 0.0));
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].at("DTSTART"), "20260918T192207Z");
  EXPECT_EQ(events[0].at("DTEND"), "20260918T192307Z");
  EXPECT_EQ(events[0].at("SUMMARY"), "IRIDIUM 17 flare\\, angle 0.53\u00B0");
  EXPECT_EQ(events[0].at("GEO"), "-33.5;151.25");
  EXPECT_EQ(events[0].count("LOCATION"), 0u);
  EXPECT_EQ(events[1].at("SUMMARY"), "58 S flare\\, angle 0.91\u00B0");  // the label
  EXPECT_NE(events[0].at("UID"), events[1].at("UID"));
  for (const char* part : {"2026-09-19 05:22:07 UTC +10:00", "Azimuth 0.0\u00B0 (N)",
                           "range 812 km", "Panel F\\, descending", "Sun elevation -12.3\u00B0"}) {
    EXPECT_NE(events[0].at("DESCRIPTION").find(part), std::string::npos) << part;
  }
}

TEST(PassesJson, ParsesBackToTheLinesValues) {
  TPassLine second = StationPass();
  second.number = 339995;
  second.culmination.sat = "STARLINK \u00B0\"\\";
  second.culmination.elevation = -0.0001;  // shows as zero, without a sign
  second.rise.inProgress = true;
  const std::string text = PassesJson({StationPass(), second});
  EXPECT_TRUE(text.ends_with("}\n]\n"));
  EXPECT_NE(text.find("\n  {\n    \"catno\": 25544,"), std::string::npos) << text;
  const json passes = json::parse(text);
  ASSERT_EQ(passes.size(), 2u);
  EXPECT_EQ(passes[0], json::parse(R"j({"catno": 25544, "name": "ISS (ZARYA)",
    "rise": {"time_utc": "2026-12-08T18:01:23Z", "az": 245.14, "el": 10.02, "range": 1620.4},
    "culmination": {"time_utc": "2026-12-08T18:04:40Z", "az": 170.26, "el": 67.4,
                    "range": 436.124},
    "set": {"time_utc": "2026-12-08T18:08:02Z", "az": 63.92, "el": 10.0, "range": 1633.0},
    "duration_seconds": 399, "sunlit_seconds": 270, "in_progress": false})j"));
  EXPECT_EQ(passes[1].at("name"), second.culmination.sat);
  EXPECT_EQ(passes[1].at("catno"), 339995);
  EXPECT_EQ(passes[1].at("culmination").at("el").dump(), "0.0");
  EXPECT_EQ(passes[1].at("in_progress"), true);
  EXPECT_EQ(PassesJson({}), "[]\n");
}

TEST(FlaresJson, ParsesBackToTheRowsValues) {
  const json flares = json::parse(FlaresJson(Flares(), Searched()));
  ASSERT_EQ(flares.size(), 2u);
  EXPECT_EQ(flares[0], json::parse(R"({
    "catno": 24945, "name": "IRIDIUM 17", "label": "17 +", "time_utc": "2026-09-18T19:22:07Z",
    "az": 359.97, "el": 42.123, "range": 812.346, "panel": "F", "direction": "D",
    "angle": 0.535, "sun_az": 301.5, "sun_el": -12.34})"));
  EXPECT_EQ(flares[1].at("catno"), 25274);
  EXPECT_EQ(flares[1].at("name"), "58 S");
  EXPECT_EQ(flares[1].at("panel"), "L");
  EXPECT_EQ(flares[1].at("angle"), 0.91);
  EXPECT_EQ(FlaresJson({std::nullopt}, {}), "[]\n");
}

}  // namespace
}  // namespace zen
