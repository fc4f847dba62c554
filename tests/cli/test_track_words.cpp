// The track command's words: what is refused, and what a full command line gives.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/track_words.h"

namespace zen::cli {
namespace {

std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  size_t start = 0;
  while (start < line.size()) {
    const size_t end = line.find(' ', start);
    words.push_back(line.substr(start, end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return words;
}

TEST(TrackWords, RefusesWhatCannotDriveAStation) {
  const std::string base = "f.tle --sat 25544 --site 52,21 ";
  const struct {
    std::string line;
    std::string problem;
  } cases[] = {
      {"f.tle --sat 25544 --rotator h:4533", "--site is needed"},
      {"f.tle --site 52,21 --rotator h:4533", "--sat is needed"},
      {base, "nothing to drive"},
      {base + "--rig h:4532", "--rig and --downlink go together"},
      {base + "--downlink 145.8", "--rig and --downlink go together"},
      {base + "--uplink-rig h:1 --downlink 145.8 --rig h:2",
       "--uplink-rig and --uplink go together"},
      {base + "--rotator h", "HOST:PORT"},
      {base + "--rotator h:0", "HOST:PORT"},
      {base + "--rotator h:65536", "HOST:PORT"},
      {base + "--rotator :4533", "HOST:PORT"},
      {base + "--rotator ::1:4533", "HOST:PORT"},
      {base + "--rotator [::1]", "HOST:PORT"},
      {base + "--rig h:1 --downlink 0", "--downlink needs a frequency"},
      {base + "--rig h:1 --downlink 300001", "--downlink needs a frequency"},
      {base + "--rotator h:1 --range 270", "--range needs"},
      {base + "--rotator h:1 --min-elev 91", "--min-elev needs degrees from 0 to 80"},
      {base + "--rotator h:1 --tolerance 0", "--tolerance needs degrees"},
      {base + "--rotator h:1 --park 10", "--park needs AZ,EL"},
      {base + "--rotator h:1 --park 10,181", "--park needs AZ,EL"},
      {base + "--rig h:1 --downlink 145.8 --park 0,90", "--park needs --rotator"},
      // No whole turn brings an elevation beyond the rotator's in; only --flip reaches 180.
      {base + "--rotator h:1 --park 10,95", "--park: elevation 95 is beyond the rotator's 0 to 90"},
      {base + "--rotator h:1 --range 450 --park 300,90.5", "--park: elevation 90.5 is beyond"},
      {base + "--rotator h:1 --for 0", "--for needs seconds"},
      {base + "--rotator h:1 --from 2026-13-01", "--from"},
      {base + "--rotator h:1 --speed 2", "unknown option --speed"},
      {base + "--rotator h:1 g.tle", "only one element file"},
  };
  for (const auto& c : cases) {
    TTrackWords words;
    const std::string problem = ParseTrackWords(Words(c.line), words);
    EXPECT_NE(problem.find(c.problem), std::string::npos)
        << c.line << "\n  gave: " << (problem.empty() ? "(accepted)" : problem);
  }
}

TEST(TrackWords, TakesAParkAtAnyAzimuthAndAnElevationTheRotatorReaches) {
  const std::string base = "f.tle --sat 25544 --site 52,21 --rotator h:1 ";
  const struct {
    std::string words;
    double azDeg, elDeg;
  } cases[] = {
      {"--range 180 --park 270,10", 270, 10},
      {"--range 360 --park -90,10", -90, 10},
      {"--range 450 --park -30,10", -30, 10},
      {"--park 400,10", 400, 10},
      {"--park 10,90", 10, 90},
      {"--flip --park 10,95", 10, 95},
      {"--park 10,180 --flip", 10, 180},
      {"--range 180 --park -180,0", -180, 0},
  };
  for (const auto& c : cases) {
    TTrackWords w;
    EXPECT_EQ(ParseTrackWords(Words(base + c.words), w), "") << c.words;
    EXPECT_TRUE(w.park) << c.words;
    EXPECT_EQ(w.parkAzDeg, c.azDeg) << c.words;
    EXPECT_EQ(w.parkElDeg, c.elDeg) << c.words;
  }
}

TEST(TrackWords, AFullLineGivesEveryValue) {
  TTrackWords w;
  ASSERT_EQ(ParseTrackWords(Words("f.tle --sat 25544 --site 52.5,21.25,110 --rotator [::1]:4533 "
                                  "--rig radio.local:4532 --downlink 145.8 --uplink-rig up:4534 "
                                  "--uplink=435.123456 --min-elev 5 --tolerance 2.5 --range 450 "
                                  "--flip --park 180,90 --from 2026-12-08T20:00:00Z --for 600"),
                            w),
            "");
  EXPECT_EQ(w.file, "f.tle");
  EXPECT_EQ(w.satelliteNumber, 25544);
  EXPECT_DOUBLE_EQ(w.site.altitudeM, 110.0);
  EXPECT_EQ(w.rotator.host, "::1");
  EXPECT_EQ(w.rotator.port, 4533);
  EXPECT_EQ(w.rig.host, "radio.local");
  EXPECT_DOUBLE_EQ(w.downlinkHz, 145800000.0);
  EXPECT_DOUBLE_EQ(w.uplinkHz, 435123456.0);
  EXPECT_EQ(w.azimuthRange, 450);
  EXPECT_TRUE(w.flip);
  EXPECT_TRUE(w.park);
  EXPECT_DOUBLE_EQ(w.parkAzDeg, 180.0);
  EXPECT_TRUE(w.haveFrom);
  EXPECT_DOUBLE_EQ(w.fromJd, 2461382.5 + 20.0 / 24.0);
  EXPECT_DOUBLE_EQ(w.forSeconds, 600.0);
}

// A runner that must not be reached: the words were to be refused first.
int Unreached(const TTrackWords&, std::ostream&, std::ostream&) {
  return 99;
}

// Sound lines reach the runner; the rest are refused with exit status 2 before it.
TEST(TrackWords, RefusesABodyItCannotFollowOrDriveWithExitStatus2) {
  const std::string moon = "--body moon --site -33.9,151.2 --rotator h:4533 ";
  const std::string sun = "--body sun --site -33.9,151.2 --rotator h:4533 ";
  const std::string outside =
      "--from: the Moon and the Sun are computed from 1950-01-01 to 2100-12-31";
  const struct {
    std::string line, said;
  } cases[] = {
      {"--body mars --site 52,21 --rotator h:1", "--body needs moon or sun, not \"mars\""},
      {moon + "--sat 25544", "--body moon follows a body, not a satellite"},
      {sun + "--rig h:4532 --downlink 1296", "--body sun tunes no radio"},
      {moon + "--rig h:4532 --downlink 1296 --uplink-rig h:4534 --uplink 1296",
       "--body moon tunes only the receiving radio"},
      {moon + "--from 1949-12-31T23:59:59", outside},
      {sun + "--from 2101-01-01", outside},
      {moon + "--rig h:4532 --downlink 1296.05 --from 1950-01-01", ""},
      {sun + "--range 180 --flip --park 0,90 --from 2100-12-31T23:59:59", ""},
  };
  SetTrackRunner(&Unreached);
  for (const auto& c : cases) {
    std::ostringstream out, err;
    EXPECT_EQ(RunTrack(Words(c.line), out, err), c.said.empty() ? 99 : 2) << c.line << err.str();
    if (!c.said.empty()) {
      EXPECT_EQ(err.str().rfind("zenarith track: " + c.said, 0), 0u) << err.str();
    }
  }
  SetTrackRunner(nullptr);
}

}  // namespace
}  // namespace zen::cli
