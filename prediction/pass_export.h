// Passes and flares taken along: iCalendar (RFC 5545) for calendars and JSON for scripts.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "prediction/search.h"

namespace zen {

// Where the events are seen from, and the clock their texts use.
struct TExportSite {
  std::string name;  // may be empty (a site given by its coordinates)
  double latitudeDeg = 0.0;
  double longitudeDeg = 0.0;
  double utcOffsetHours = 0.0;  // the local clock of the descriptions
};

// A text value of a calendar property: backslash, semicolon, comma and line ends escaped.
std::string EscapeCalendarText(std::string_view text);
// One content line folded at 75 octets (never inside a UTF-8 character), every part ending in
// CR LF, the continuations beginning with a blank.
std::string FoldCalendarLine(std::string_view line);

// A calendar with one event per pass, from rise to set in UTC. stampUtc (a Julian date) is the
// moment the calendar is made (DTSTAMP). The UID of an event depends only on the satellite's
// catalogue number and the rise second, so a pass exported again replaces itself.
std::string PassesCalendar(const std::vector<TPassLine>& passes, const TExportSite& site,
                           double stampUtc);
// A calendar with one event per flare (a minute from the flare's second). The names come from
// the satellites searched, by catalogue number; empty rows are left out.
std::string FlaresCalendar(const TResultRows& flares,
                           const std::vector<TSearchSatellite>& satellites,
                           const TExportSite& site, double stampUtc);

// An array with one object per pass: catno, name, rise, culmination and set (each time_utc,
// az, el, range), duration_seconds, sunlit_seconds and in_progress (the pass was under way at
// the period's start). Ends with a line end.
std::string PassesJson(const std::vector<TPassLine>& passes);
// An array with one object per flare: catno, name, label, time_utc, az, el, range, panel,
// direction, angle, sun_az, sun_el. Ends with a line end.
std::string FlaresJson(const TResultRows& flares, const std::vector<TSearchSatellite>& satellites);

}  // namespace zen
