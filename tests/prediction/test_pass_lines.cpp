// Passes as one line each, their sunlit seconds and their path from horizon to horizon, checked
// against real searches and against every second counted on its own.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "core/observer.h"
#include "core/propagator.h"
#include "core/sun.h"
#include "prediction/pass_lines.h"
#include "prediction/pass_track.h"
#include "search_fixture.h"

namespace zen {
namespace {

using test::ReferenceSets;
using test::TorunRequest;

constexpr double kSecond = 1.0 / 86400.0;

TSearchRequest VisualRequest(bool illuminationRequired, bool brief) {
  TSearchRequest request = TorunRequest(TDateRec{2026, 2, 11, 15, 0, 0, 0}, 48.0);
  request.satellites = ReferenceSets("visual_2026-02-11.tle", [](const std::string& name) {
    return name.starts_with("ISS (ZARYA)") || name.starts_with("HST") ||
           name.starts_with("ENVISAT") || name.starts_with("SEASAT 1");
  });
  request.illuminationRequired = illuminationRequired;
  request.brief = brief;
  request.level = 2;
  return request;
}

TSearchOutcome Search(const TSearchRequest& request) {
  TSearchFlags flags;
  return RunSearch(request, flags, nullptr);
}

TGeodetic SiteOf(const TSearchRequest& request) {
  return ObserverFromSite(request.latitudeDeg, request.longitudeDeg, request.altitudeM);
}

// The state of a satellite at one moment, worked out on its own.
struct TSeen {
  double elevationDeg = 0.0;
  bool sunlit = false;
};
TSeen SeenAt(const TCatalogSet& set, const TGeodetic& site, double jd) {
  TPropagator propagator;
  propagator.LoadElements(set.elements);
  TVector pos;
  TVector vel;
  EXPECT_EQ(propagator.Propagate(pos, vel, jd), TPropagationStatus::Ok);
  TPropagator::ScaleStateToKm(pos, vel);
  const TLookAngles look = LookAngles(pos, vel, site, jd);
  return {Degrees(look.second), EclipseState(pos, SunPosition(jd)) == kSunlit};
}

// Every pass of a full search is one line: the rise, culmination and set rows of each pass
// belong to one line with the same moments, the brief search finds the same lines, and a pass
// that enters the shadow while rising (its highest second is its last) is one line too.
TEST(PassLines, OneLinePerPassOfARealSearch) {
  const TSearchRequest request = VisualRequest(true, false);
  ZEN_ASSERT_LOADED(request.satellites);
  const TSearchOutcome full = Search(request);
  const TSearchOutcome brief = Search(VisualRequest(true, true));
  const std::vector<TPassLine>& lines = full.passes;
  ASSERT_EQ(static_cast<int>(lines.size()), full.totalCount);
  ASSERT_GE(lines.size(), 5u);
  ASSERT_EQ(full.rows.size(), 4 * lines.size());

  std::vector<int> rowsOfLine(lines.size(), 0);
  int endedAtHighest = 0;
  for (size_t p = 0; p < lines.size(); ++p) {
    const TFound& rise = *full.rows[4 * p];
    const TFound& culmination = *full.rows[4 * p + 1];
    const TFound& set = *full.rows[4 * p + 2];
    const int line = PassOfRow(lines, culmination);
    ASSERT_GE(line, 0);
    EXPECT_EQ(PassOfRow(lines, rise), line);
    EXPECT_EQ(PassOfRow(lines, set), line);
    ++rowsOfLine[static_cast<size_t>(line)];
    const TPassLine& l = lines[static_cast<size_t>(line)];
    EXPECT_EQ(l.rise.timeUtc, rise.timeUtc);
    EXPECT_EQ(l.culmination.timeUtc, culmination.timeUtc);
    EXPECT_EQ(l.set.timeUtc, set.timeUtc);
    EXPECT_EQ(l.sunlitSeconds, l.DurationSeconds()) << "every second of a visible pass is sunlit";
    if (culmination.timeUtc == set.timeUtc) ++endedAtHighest;
  }
  EXPECT_TRUE(std::all_of(rowsOfLine.begin(), rowsOfLine.end(), [](int n) { return n == 1; }));
  EXPECT_GE(endedAtHighest, 1) << "the period holds a pass that rises into the shadow";
  EXPECT_FALSE(PassOfRow(lines, TFound{}) >= 0);

  ASSERT_EQ(brief.passes.size(), lines.size());
  for (size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(brief.passes[i].rise.timeUtc, lines[i].rise.timeUtc);
    EXPECT_EQ(brief.passes[i].set.timeUtc, lines[i].set.timeUtc);
    if (i > 0) {
      EXPECT_LE(lines[i - 1].culmination.timeUtc, lines[i].culmination.timeUtc);
    }
  }
}

// Without the illumination condition a pass may be partly dark: its sunlit seconds are those
// that every second of it, worked out on its own, finds sunlit.
TEST(PassLines, SunlitSecondsAreTheSunlitSecondsOfThePass) {
  const TSearchRequest request = VisualRequest(false, false);
  ZEN_ASSERT_LOADED(request.satellites);
  const TSearchOutcome outcome = Search(request);
  const TGeodetic site = SiteOf(request);
  int partlyDark = 0;
  for (const TPassLine& line : outcome.passes) {
    const TCatalogSet& set = request.satellites[line.satellite].set;
    int64_t sunlit = 0;
    for (int64_t s = 0; s < line.DurationSeconds(); ++s) {
      if (SeenAt(set, site, line.rise.timeUtc + static_cast<double>(s) * kSecond).sunlit) ++sunlit;
    }
    EXPECT_EQ(line.sunlitSeconds, sunlit) << line.culmination.sat << " " << DateRecToText(line.rise.time);
    if (sunlit > 0 && sunlit < line.DurationSeconds()) ++partlyDark;
  }
  EXPECT_GE(partlyDark, 1);
}

// A pass is marked in progress exactly when, seen on its own at the period's first moment, the
// satellite was above the lowest elevation and met the conditions there: then it is that
// satellite's first pass, its rows all carry the mark and its rise lies before the start, and
// the one-line view marks its rise time. Every other pass rises after the start.
TEST(PassLines, PassesUnderWayAtTheStartAreMarked) {
  for (const bool illuminationRequired : {false, true}) {
    SCOPED_TRACE(illuminationRequired ? "sunlit" : "lit or not");
    TSearchRequest request = TorunRequest(TDateRec{2026, 2, 11, 17, 0, 0, 0}, 6.0);
    request.satellites = ReferenceSets("visual_2026-02-11.tle");
    ZEN_ASSERT_LOADED(request.satellites);
    request.illuminationRequired = illuminationRequired;
    request.maxSunElevationDeg = 90.0;
    const TSearchOutcome outcome = Search(request);
    const double startUtc = LocalToUtc(request.periodStartLocal, request.utcOffsetHours);
    const TGeodetic site = SiteOf(request);

    std::vector<bool> seen(request.satellites.size(), false);
    int marked = 0;
    for (const TPassLine& line : outcome.passes) {
      const bool first = !seen[line.satellite];
      seen[line.satellite] = true;
      const TSeen atStart = SeenAt(request.satellites[line.satellite].set, site, startUtc);
      const bool under = atStart.elevationDeg > request.minSatElevationDeg &&
                         (atStart.sunlit || !illuminationRequired);
      SCOPED_TRACE(line.culmination.sat + " " + DateRecToText(line.rise.time));
      EXPECT_EQ(line.rise.inProgress, first && under);
      EXPECT_EQ(line.culmination.inProgress, line.rise.inProgress);
      EXPECT_EQ(line.set.inProgress, line.rise.inProgress);
      const std::string riseCell = PassLineCells(line)[1];
      if (line.rise.inProgress) {
        ++marked;
        EXPECT_LE(line.rise.timeUtc, startUtc + 0.5 * kSecond);
        EXPECT_EQ(riseCell, DateRecToText(line.rise.time).substr(5) + kInProgressMark);
      } else {
        EXPECT_GT(line.rise.timeUtc, startUtc);
        EXPECT_EQ(riseCell, DateRecToText(line.rise.time).substr(5));
      }
    }
    EXPECT_GE(marked, 2) << "the start finds several satellites up";
    for (const std::optional<TFound>& row : outcome.rows) {
      if (!row) continue;
      const int line = PassOfRow(outcome.passes, *row);
      ASSERT_GE(line, 0);
      EXPECT_EQ(row->inProgress, outcome.passes[static_cast<size_t>(line)].rise.inProgress);
    }
  }
}

// The picture's path begins at the last second below the horizon's first second above and ends
// at the last second above it, passes through the rows' moments and peaks at the culmination.
TEST(PassTrack, FromHorizonToHorizonThroughThePass) {
  const TSearchRequest request = VisualRequest(true, false);
  ZEN_ASSERT_LOADED(request.satellites);
  const TSearchOutcome outcome = Search(request);
  const TGeodetic site = SiteOf(request);
  ASSERT_GE(outcome.passes.size(), 3u);
  for (size_t i = 0; i < 3; ++i) {
    const TPassLine& line = outcome.passes[i];
    const TCatalogSet& set = request.satellites[line.satellite].set;
    const TTrackSpan span = HorizonSpan(set, site, line.rise.timeUtc, line.set.timeUtc, 1800);
    EXPECT_GE(SeenAt(set, site, span.fromUtc).elevationDeg, 0.0);
    EXPECT_LT(SeenAt(set, site, span.fromUtc - kSecond).elevationDeg, 0.0);
    EXPECT_GE(SeenAt(set, site, span.toUtc).elevationDeg, 0.0);
    EXPECT_LT(SeenAt(set, site, span.toUtc + kSecond).elevationDeg, 0.0);

    const TPassTrack track = TrackBetween(set, site, span.fromUtc, span.toUtc,
                                          line.culmination.timeUtc);
    ASSERT_FALSE(track.points.empty());
    EXPECT_EQ(track.points.front().timeUtc, span.fromUtc);
    EXPECT_NEAR(track.points.back().timeUtc, span.toUtc, 1e-9);
    // The highest second of the visible part; the path may climb higher in the shadow.
    std::vector<TTrackPoint> visible;
    std::copy_if(track.points.begin(), track.points.end(), std::back_inserter(visible),
                 [&](const TTrackPoint& p) {
                   return p.timeUtc >= line.rise.timeUtc - 0.5 * kSecond &&
                          p.timeUtc <= line.set.timeUtc + 0.5 * kSecond;
                 });
    ASSERT_EQ(static_cast<int64_t>(visible.size()), line.DurationSeconds() + 1);
    EXPECT_NEAR(visible.front().azimuthDeg, line.rise.azimuth, 1e-4);
    EXPECT_NEAR(visible.back().azimuthDeg, line.set.azimuth, 1e-4);
    const auto highest = std::max_element(
        visible.begin(), visible.end(),
        [](const TTrackPoint& a, const TTrackPoint& b) { return a.elevationDeg < b.elevationDeg; });
    EXPECT_NEAR(highest->elevationDeg, line.culmination.elevation, 1e-4);
    EXPECT_NEAR(highest->timeUtc, line.culmination.timeUtc, 0.5 * kSecond);
    EXPECT_NEAR(track.sunElevationDeg, line.culmination.sunElevation, 1e-9);
  }
}

// Sorting by any column orders the lines by it either way, and lines that tie keep their order.
TEST(PassLines, OrderByAnyColumn) {
  std::vector<TPassLine> lines(6);
  const double elevations[] = {40.0, 12.5, 40.0, 80.0, 12.5, 33.0};
  const char* const names[] = {"NOAA 19", "ISS", "HST", "ISS", "AJISAI", "HST"};
  for (size_t i = 0; i < lines.size(); ++i) {
    TPassLine& l = lines[i];
    l.rise.timeUtc = 2461000.0 + static_cast<double>(i) * 0.1;
    l.culmination = l.rise;
    l.culmination.timeUtc += static_cast<double>(i % 3 + 1) * 60.0 * kSecond;
    l.culmination.elevation = elevations[i];
    l.culmination.sat = names[i];
    l.set = l.culmination;
    l.set.timeUtc += 120.0 * kSecond;
    l.sunlitSeconds = static_cast<int64_t>(i % 2) * 30;
  }
  for (int column = 0; column < kPassColumnCount; ++column) {
    for (bool descending : {false, true}) {
      SCOPED_TRACE(std::to_string(column) + (descending ? " descending" : " ascending"));
      const std::vector<size_t> order =
          PassLineOrder(lines, static_cast<TPassColumn>(column), descending);
      std::vector<size_t> sorted = order;
      std::sort(sorted.begin(), sorted.end());
      ASSERT_EQ(sorted, (std::vector<size_t>{0, 1, 2, 3, 4, 5}));
      for (size_t r = 1; r < order.size(); ++r) {
        const std::string a = PassLineCells(lines[order[r - 1]])[static_cast<size_t>(column)];
        const std::string b = PassLineCells(lines[order[r]])[static_cast<size_t>(column)];
        if (column == 0 || column == 4 || column == 8) {
          if (a == b) {
            EXPECT_LT(order[r - 1], order[r]) << "ties keep their order";
          }
        }
        if (column == 4) {
          const double x = lines[order[r - 1]].culmination.elevation;
          const double y = lines[order[r]].culmination.elevation;
          EXPECT_TRUE(descending ? x >= y : x <= y);
        }
        if (column == 0) {
          EXPECT_TRUE(descending ? a >= b : a <= b);
        }
      }
    }
  }
}

TEST(PassLines, DurationAndCompassTexts) {
  const std::pair<int64_t, const char*> durations[] = {
      {0, "0:00"}, {59, "0:59"}, {60, "1:00"}, {3599, "59:59"}, {3600, "1:00:00"},
      {3723, "1:02:03"}, {-5, "0:00"}};
  for (const auto& [seconds, text] : durations) EXPECT_EQ(DurationText(seconds), text) << seconds;
  const std::pair<double, const char*> points[] = {
      {0.0, "N"},     {11.24, "N"},    {11.25, "NNE"}, {90.0, "E"},   {247.5, "WSW"},
      {348.74, "NNW"}, {348.75, "N"}, {359.9, "N"},   {-22.5, "NNW"}, {720.0, "N"}};
  for (const auto& [az, name] : points) EXPECT_STREQ(CompassPoint(az), name) << az;
}

}  // namespace
}  // namespace zen
