// The look command: its options, its columns against the orbital routines, model breakdowns,
// a day of the space station over a mid-latitude site, the Moon against an independent
// reduction, and the J2000 columns.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/look.h"
#include "core/elements.h"
#include "core/observer.h"
#include "core/propagator.h"
#include "core/scratch_folder.h"
#include "core/sun.h"
#include "core/timescale.h"
#include "sky/independent_sky.h"
#include "test_support.h"

namespace zen::cli {
namespace {

namespace fs = std::filesystem;

// Printed values are rounded to these.
constexpr double kFourDecimals = 0.5e-4 + 1e-9;
constexpr double kThreeDecimals = 0.5e-3 + 1e-9;
constexpr size_t kColumns = 14;

// The station's element set of the speed test, and the same set with a drag term so large that
// the orbit decays within a day.
const char* const kStationLine1 =
    "1 25544U 98067A   01352.14768052  .00078250  00000-0  94854-3 0  8583";
const char* const kStationLine2 =
    "2 25544  51.6400 243.0480 0003252  49.4561  86.0846 15.59935715175780";

// The checksum digit that column 69 must hold for the first 68 columns of a line.
std::string WithChecksum(std::string line) {
  int sum = 0;
  for (size_t i = 0; i < 68; ++i) {
    if (line[i] >= '0' && line[i] <= '9') sum += line[i] - '0';
    if (line[i] == '-') sum += 1;
  }
  line.resize(68);
  return line + static_cast<char>('0' + sum % 10);
}

class LookCommand : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(folder_.path().empty());
    std::string heavy1 = kStationLine1;
    heavy1.replace(53, 8, " 50000-0");
    heavy1.replace(2, 5, "99999");
    std::string heavy2 = kStationLine2;
    heavy2.replace(2, 5, "99999");
    std::ofstream file(elements());
    file << "ISS (ZARYA)\r\n"
         << kStationLine1 << "\r\n"
         << kStationLine2 << "\r\n"
         << "HEAVY DRAG\n"
         << WithChecksum(heavy1) << "\n"
         << WithChecksum(heavy2) << "\n";
  }
  std::string elements() const { return (folder_.path() / "test.tle").string(); }

  int Run(std::vector<std::string> args) {
    out_.str("");
    err_.str("");
    return RunLook(args, out_, err_);
  }

  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    std::istringstream in(out_.str());
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  test::TScratchFolder folder_{"zen_look_"};
  std::ostringstream out_;
  std::ostringstream err_;
};

std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  std::istringstream in(line);
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

struct BadCase {
  std::vector<std::string> args;
  const char* message;
};

TEST_F(LookCommand, RefusesUnsoundOptionsWithUsage) {
  const std::string f = elements();
  const std::vector<std::string> site = {"--site", "48.2,16.37,190"};
  const BadCase cases[] = {
      {{"--sat", "25544"}, "no element file"},
      {{f, f, "--sat", "25544"}, "only one element file"},
      {{f, "--site", "1,2,3", "--from", "2001-12-18T00:00:00Z", "--to", "2001-12-18T01:00:00Z"},
       "--sat is needed"},
      {{f, "--sat", "25544", "--from", "2001-12-18T00:00:00Z", "--to", "2001-12-18T01:00:00Z"},
       "--site is needed"},
      {{f, "--sat", "25544", "--site", "1,2,3", "--to", "2001-12-18T01:00:00Z"}, "--from and --to"},
      {{f, "--sat", "x25544"}, "--sat needs"},
      {{f, "--sat", "-1"}, "--sat needs"},
      {{f, "--site", "48.2"}, "--site needs"},
      {{f, "--site", "48.2,16.37,"}, "--site needs"},
      {{f, "--site", "48.2;16.37;190"}, "--site needs"},
      {{f, "--site", "48,2,16,3,190"}, "--site needs"},
      {{f, "--site", "91,0,0"}, "latitude"},
      {{f, "--site", "0,-181,0"}, "longitude"},
      {{f, "--site", "0,0,200000"}, "altitude"},
      {{f, "--site", "nan,0,0"}, "--site needs"},
      {{f, "--from", "2026-13-01T00:00:00Z"}, "there is no month 13"},
      {{f, "--from", "2026-02-29T00:00:00Z"}, "February 2026 has 28 days"},
      {{f, "--from", "2026-05-30_12:00:00"}, "--from needs"},
      {{f, "--to", "2026-05-30T24:00:00Z"}, "the hour must be within 00..23"},
      {{f, "--to", "2026-05-30T12Z"}, "--to needs"},
      {{f, "--step", "0"}, "--step needs"},
      {{f, "--step", "1.5"}, "--step needs"},
      {{f, "--step"}, "--step needs a value"},
      {{f, "--colour", "red"}, "unknown option --colour"},
      {{f, "--sat", "25544", "--site", "0,0,0", "--from", "2001-12-18T01:00:00Z", "--to",
        "2001-12-18T00:00:00Z"},
       "--to must not be before --from"},
      {{f, "--sat", "25544", "--site", "0,0,0", "--from", "2001-01-01T00:00:00Z", "--to",
        "2101-01-01T00:00:00Z", "--step", "1"},
       "too many steps"},
  };
  for (const BadCase& c : cases) {
    EXPECT_EQ(Run(c.args), 2) << testing::PrintToString(c.args);
    EXPECT_NE(err_.str().find(c.message), std::string::npos)
        << testing::PrintToString(c.args) << " said: " << err_.str();
    EXPECT_NE(err_.str().find("usage: zenarith look"), std::string::npos);
    EXPECT_EQ(out_.str(), "");
  }
}

TEST_F(LookCommand, MissingFileOrSatelliteIsAnError) {
  const std::vector<std::string> rest = {
      "--site", "0,0,0", "--from", "2001-12-18T00:00:00Z", "--to", "2001-12-18T00:01:00Z"};
  std::vector<std::string> missing = {(folder_.path() / "none.tle").string(), "--sat", "25544"};
  missing.insert(missing.end(), rest.begin(), rest.end());
  EXPECT_EQ(Run(missing), 1);
  EXPECT_NE(err_.str().find("cannot open"), std::string::npos);

  std::vector<std::string> unknown = {elements(), "--sat", "12345"};
  unknown.insert(unknown.end(), rest.begin(), rest.end());
  EXPECT_EQ(Run(unknown), 1);
  EXPECT_NE(err_.str().find("no set with catalogue number 12345"), std::string::npos);
  EXPECT_EQ(out_.str(), "");
}

TEST_F(LookCommand, PrintsAHeaderAndOneLinePerStepUpToTheEnd) {
  ASSERT_EQ(Run({elements(), "--sat", "25544", "--site", "48.2,16.37,190", "--from",
                 "2001-12-31T23:58:00Z", "--to=2002-01-01T00:02:30Z", "--step=60"}),
            0)
      << err_.str();
  const std::vector<std::string> lines = Lines();
  ASSERT_EQ(lines.size(), 6u);  // the header, then 23:58 .. 00:02; 00:02:30 is no step
  const std::vector<std::string> header = Words(lines[0]);
  EXPECT_EQ(header, (std::vector<std::string>{"date", "time", "lat_deg", "lon_deg", "alt_km",
                                              "az_deg", "el_deg", "range_km", "rate_km_s", "ra_deg",
                                              "dec_deg", "eclipse", "sun_az_deg", "sun_el_deg"}));
  const char* const moments[] = {"2001-12-31 23:58:00", "2001-12-31 23:59:00",
                                 "2002-01-01 00:00:00", "2002-01-01 00:01:00",
                                 "2002-01-01 00:02:00"};
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(lines[i + 1].substr(0, 19), moments[i]);
    EXPECT_EQ(Words(lines[i + 1]).size(), kColumns) << lines[i + 1];
  }
  EXPECT_EQ(err_.str(), "");
}

// The short forms of a site and of the moments give the lines of their written-out forms: a
// site without altitude is at sea level, a date alone is its midnight.
TEST_F(LookCommand, ShortFormsAreTheirWrittenOutForms) {
  struct Case {
    std::vector<std::string> shortForm;
    std::vector<std::string> fullForm;
  };
  const Case cases[] = {
      {{"--site", "48.2,16.37"}, {"--site", "48.2,16.37,0"}},
      {{"--site=-33.87,151.21"}, {"--site", "-33.87,151.21,0.0"}},
      {{"--from", "2001-12-18"}, {"--from", "2001-12-18T00:00:00Z"}},
      {{"--from", "2001-12-18 00:00"}, {"--from", "2001-12-18T00:00:00Z"}},
      {{"--to", "2001-12-18 00:10"}, {"--to", "2001-12-18T00:10:00Z"}},
      {{"--to", "2001-12-18T00:10"}, {"--to", "2001-12-18T00:10:00Z"}},
      {{"--to=2001-12-18 00:10:00z"}, {"--to", "2001-12-18T00:10:00Z"}},
  };
  // Every option but the one the case writes, in the full form.
  const std::vector<std::pair<std::string, std::string>> base = {{"--site", "48.2,16.37,0"},
                                                                 {"--from", "2001-12-18T00:00:00Z"},
                                                                 {"--to", "2001-12-18T00:10:00Z"}};
  auto run = [&](const std::vector<std::string>& words) {
    std::vector<std::string> args = {elements(), "--sat", "25544", "--step", "120"};
    const std::string written = words[0].substr(0, words[0].find('='));
    for (const auto& [option, value] : base) {
      if (option != written) args.insert(args.end(), {option, value});
    }
    args.insert(args.end(), words.begin(), words.end());
    EXPECT_EQ(Run(args), 0) << testing::PrintToString(args) << err_.str();
    return out_.str();
  };
  for (const Case& c : cases) {
    const std::string shortOut = run(c.shortForm);
    const std::string fullOut = run(c.fullForm);
    EXPECT_EQ(shortOut, fullOut) << testing::PrintToString(c.shortForm);
    EXPECT_EQ(Lines().size(), 7u) << testing::PrintToString(c.shortForm);
  }
  // The altitude still counts where it is given.
  EXPECT_NE(run({"--site", "48.2,16.37,3000"}), run({"--site", "48.2,16.37"}));
}

// With --frame j2000 the documented columns stay as they are (--frame date) and the J2000 ones
// follow, within 1" of the full precession-nutation reduction of the same position.
TEST_F(LookCommand, ColumnsAreThoseOfTheOrbitalRoutines) {
  const double latDeg = -33.87;
  const double lonDeg = 151.21;
  const double altM = 58.0;
  std::vector<std::string> args = {elements(), "--sat", "25544", "--site", "-33.87,151.21,58",
                                   "--from", "2001-12-18T10:00:00Z", "--to",
                                   "2001-12-18T11:30:00Z", "--step", "450", "--frame", "date"};
  ASSERT_EQ(Run(args), 0);
  const std::vector<std::string> dateLines = Lines();
  args.back() = "j2000";
  ASSERT_EQ(Run(args), 0);
  const std::vector<std::string> lines = Lines();
  ASSERT_EQ(lines.size(), 14u);
  EXPECT_EQ(lines[0], dateLines[0] + " ra_j2000_deg dec_j2000_deg");
  constexpr double kArcsecDeg = 1.0 / 3600.0 + 0.5e-4;
  TPropagator propagator;
  propagator.LoadElements(TTleLines{kStationLine1, kStationLine2});
  const TGeodetic site = ObserverFromSite(latDeg, lonDeg, altM);
  const double from = DateRecToJulian(TDateRec{2001, 12, 18, 10, 0, 0, 0});
  for (size_t i = 1; i < lines.size(); ++i) {
    const double jd = from + (i - 1) * 450.0 / 86400.0;
    TVector pos;
    TVector vel;
    ASSERT_EQ(propagator.Propagate(pos, vel, jd), TPropagationStatus::Ok);
    TPropagator::ScaleStateToKm(pos, vel);
    const TGeodetic under = EciToGeodetic(pos, jd);
    const TLookAngles look = LookAngles(pos, vel, site, jd);
    const TLookAngles radec = TopocentricRaDec(pos, vel, site, jd);
    const TVector sun = SunPosition(jd);
    const TLookAngles sunLook = LookAngles(sun, TVector{}, site, jd);
    double lon = Degrees(under.longitude);
    if (lon > 180.0) lon -= 360.0;

    const std::vector<std::string> w = Words(lines[i]);
    ASSERT_EQ(w.size(), kColumns + 2) << lines[i];
    EXPECT_EQ(lines[i].substr(0, dateLines[i].size()), dateLines[i]);
    double model[3] = {pos.x, pos.y, pos.z}, ra = 0.0, dec = 0.0;
    test::IndependentJ2000RaDec(model, latDeg, lonDeg, altM / 1000.0, jd, ra, dec);
    EXPECT_LT(std::fabs(std::remainder(std::stod(w[14]) - Degrees(ra), 360.0)) * std::cos(dec),
              kArcsecDeg) << lines[i];
    EXPECT_NEAR(std::stod(w[15]), Degrees(dec), kArcsecDeg) << lines[i];
    EXPECT_EQ(w[0] + " " + w[1], DateRecToText(JulianToDateRec(jd)));
    EXPECT_NEAR(std::stod(w[2]), Degrees(under.latitude), kFourDecimals) << lines[i];
    EXPECT_NEAR(std::stod(w[3]), lon, kFourDecimals) << lines[i];
    EXPECT_NEAR(std::stod(w[4]), under.altitude, kThreeDecimals) << lines[i];
    EXPECT_NEAR(std::stod(w[5]), Degrees(look.first), kThreeDecimals) << lines[i];
    EXPECT_NEAR(std::stod(w[6]), Degrees(look.second), kThreeDecimals) << lines[i];
    EXPECT_NEAR(std::stod(w[7]), look.third, kThreeDecimals) << lines[i];
    EXPECT_NEAR(std::stod(w[8]), look.fourth, kFourDecimals) << lines[i];
    EXPECT_NEAR(std::stod(w[9]), Degrees(radec.first), kFourDecimals) << lines[i];
    EXPECT_NEAR(std::stod(w[10]), Degrees(radec.second), kFourDecimals) << lines[i];
    EXPECT_EQ(std::stoi(w[11]), EclipseState(pos, sun)) << lines[i];
    EXPECT_NEAR(std::stod(w[12]), Degrees(sunLook.first), kThreeDecimals) << lines[i];
    EXPECT_NEAR(std::stod(w[13]), Degrees(sunLook.second), kThreeDecimals) << lines[i];
  }
}

TEST_F(LookCommand, LongitudeBeyond180IsTheSameSiteAsItsWesternForm) {
  const std::vector<std::string> rest = {
      "--sat",  "25544", "--from", "2001-12-18T10:00:00Z", "--to", "2001-12-18T10:30:00Z",
      "--step", "300"};
  std::vector<std::string> west = {elements(), "--site", "40,-105,1650"};
  west.insert(west.end(), rest.begin(), rest.end());
  std::vector<std::string> east = {elements(), "--site", "40,255,1650"};
  east.insert(east.end(), rest.begin(), rest.end());
  ASSERT_EQ(Run(west), 0);
  const std::string westText = out_.str();
  ASSERT_EQ(Run(east), 0);
  EXPECT_EQ(out_.str(), westText);
}

TEST_F(LookCommand, MomentsWhereTheModelBrokeDownArePrintedAsSuch) {
  ASSERT_EQ(Run({elements(), "--sat", "99999", "--site", "0,0,0", "--from", "2001-12-18T00:00:00Z",
                 "--to", "2001-12-22T00:00:00Z", "--step", "21600"}),
            0);
  const std::vector<std::string> lines = Lines();
  ASSERT_EQ(lines.size(), 18u);
  size_t broken = 0;
  for (size_t i = 1; i < lines.size(); ++i) {
    if (lines[i].find("model breakdown: ") != std::string::npos) {
      ++broken;
      EXPECT_EQ(Words(lines[i]).size(), 5u) << lines[i];
    } else {
      EXPECT_EQ(broken, 0u) << "a position after the breakdown: " << lines[i];
      EXPECT_EQ(Words(lines[i]).size(), kColumns) << lines[i];
    }
  }
  EXPECT_GT(broken, 10u);
  EXPECT_EQ(out_.str().find("nan"), std::string::npos);
  EXPECT_EQ(out_.str().find("inf"), std::string::npos);
}

TEST_F(LookCommand, ADayOfTheStationOverAMidLatitudeSite) {
  const fs::path file = test::ReferenceDataDir() / "tle" / "stations_2026-05-30.tle";
  ASSERT_EQ(Run({file.string(), "--sat", "25544", "--site", "48.2,16.37,190", "--from",
                 "2026-05-30T00:00:00Z", "--to", "2026-05-31T00:00:00Z", "--step", "30"}),
            0);
  const std::vector<std::string> lines = Lines();
  ASSERT_EQ(lines.size(), 1u + 2881u);
  int passes = 0;
  bool up = false;
  int shadowStates[3] = {0, 0, 0};
  double sunHighDeg = -90.0;
  double sunLowDeg = 90.0;
  for (size_t i = 1; i < lines.size(); ++i) {
    const std::vector<std::string> w = Words(lines[i]);
    ASSERT_EQ(w.size(), kColumns) << lines[i];
    const double lonDeg = std::stod(w[3]);
    EXPECT_GT(lonDeg, -180.0);
    EXPECT_LE(lonDeg, 180.0);
    // The station flies between about 410 and 440 km, never above 51.7 degrees of latitude.
    EXPECT_GT(std::stod(w[4]), 400.0) << lines[i];
    EXPECT_LT(std::stod(w[4]), 450.0) << lines[i];
    EXPECT_LT(std::fabs(std::stod(w[2])), 51.8) << lines[i];
    const double elDeg = std::stod(w[6]);
    if (elDeg > 0.0 && !up) ++passes;
    up = elDeg > 0.0;
    // Above the horizon it is never farther than the horizon distance for 440 km.
    if (up) {
      EXPECT_LT(std::stod(w[7]), 2500.0) << lines[i];
    }
    ++shadowStates[std::stoi(w[11])];
    sunHighDeg = std::fmax(sunHighDeg, std::stod(w[13]));
    sunLowDeg = std::fmin(sunLowDeg, std::stod(w[13]));
  }
  EXPECT_GE(passes, 3);
  EXPECT_LE(passes, 8);
  EXPECT_GT(shadowStates[kSunlit], 0);
  EXPECT_GT(shadowStates[kUmbra], 0);
  // At 48.2 degrees north at the end of May the Sun culminates near 63.6 degrees and stays
  // about 20 degrees below the horizon at midnight.
  EXPECT_NEAR(sunHighDeg, 63.6, 0.3);
  EXPECT_NEAR(sunLowDeg, -20.0, 0.5);
}

// The bodies' options and the J2000 frame: each fault said, exit 2, nothing printed.
TEST_F(LookCommand, RefusesUnsoundBodiesFramesAndDates) {
  const std::string f = elements();
  auto body = [](const char* name, const char* from, const char* to) {
    return std::vector<std::string>{"--body", name, "--site", "48.2,16.37", "--from", from,
                                    "--to", to};
  };
  auto sat = [&](const char* frame, const char* from, const char* to) {
    return std::vector<std::string>{f, "--sat", "25544", "--site", "48.2,16.37", "--from", from,
                                    "--to", to, "--frame", frame};
  };
  auto plus = [](std::vector<std::string> args, std::vector<std::string> more) {
    args.insert(args.end(), more.begin(), more.end());
    return args;
  };
  const std::vector<std::string> moon = body("moon", "2024-01-01", "2024-01-02");
  const BadCase cases[] = {
      {body("mars", "2024-01-01", "2024-01-02"), "--body needs moon or sun, not mars"},
      {{"--body"}, "--body needs a value"},
      {sat("J2000", "2001-12-18", "2001-12-19"), "--frame needs date or j2000, not J2000"},
      {plus(moon, {"--frame", "b1950"}), "--frame needs date or j2000, not b1950"},
      {plus(moon, {f}), "--body takes no element file"},
      {plus(moon, {"--sat", "25544"}), "--body and --sat exclude each other"},
      {body("moon", "1949-12-31 23:59:59", "1950-01-01"), "--body takes moments from 1950-01-01"},
      {body("sun", "2100-12-31", "2101-01-01"), "--body takes moments from 1950-01-01"},
      {sat("j2000", "1949-12-31", "1950-01-02"), "--frame j2000 takes moments from"},
      {sat("j2000", "2100-12-31", "2101-01-01 00:00:01"), "--frame j2000 takes moments"},
  };
  for (const BadCase& c : cases) {
    EXPECT_EQ(Run(c.args), 2) << testing::PrintToString(c.args);
    EXPECT_NE(err_.str().find(c.message), std::string::npos) << err_.str();
    EXPECT_NE(err_.str().find("usage: zenarith look"), std::string::npos);
    EXPECT_EQ(out_.str(), "");
  }
  // The span's first moment is accepted, and the date frame outside it.
  EXPECT_EQ(Run(body("moon", "1950-01-01", "1950-01-01 00:02")), 0) << err_.str();
  EXPECT_EQ(Run(sat("date", "1949-12-31", "1949-12-31 00:02")), 0) << err_.str();
}

// The Moon's lines against the independent reduction: look angles within 0.01 deg, range
// within a kilometre, the J2000 place within 1" as printed, the phase from the independent
// Moon and Sun.
TEST_F(LookCommand, MoonAgreesWithAnIndependentReduction) {
  using test::TIndependentBody;
  const double latDeg = -33.87, lonDeg = 151.21, altKm = 0.058;
  ASSERT_EQ(Run({"--body", "moon", "--site", "-33.87,151.21,58", "--from", "2031-05-21T00:00:00Z",
                 "--to", "2031-05-22T00:00:00Z", "--step", "21600", "--frame", "j2000"}),
            0) << err_.str();
  const std::vector<std::string> lines = Lines();
  ASSERT_EQ(lines.size(), 6u);
  for (size_t i = 1; i < lines.size(); ++i) {
    SCOPED_TRACE(lines[i]);
    const double jd = test::IndependentJd(2031, 5, 21, (i - 1) * 6.0);
    const std::vector<std::string> w = Words(lines[i]);
    ASSERT_EQ(w.size(), 12u);
    auto near = [&](size_t column, double expectedDeg, double tolerance, double scale = 1.0) {
      EXPECT_LT(std::fabs(std::remainder(std::stod(w[column]) - expectedDeg, 360.0)) * scale,
                tolerance) << column;
    };
    const test::TIndependentLook ref =
        test::IndependentBodyLook(TIndependentBody::Moon, latDeg, lonDeg, altKm, jd);
    near(2, Degrees(ref.azimuth), 0.01, std::cos(ref.elevation));
    near(3, Degrees(RefractedElevation(ref.elevation)), 0.01);
    EXPECT_NEAR(std::stod(w[4]), ref.rangeKm, 1.0);

    const test::TIndependentTimes t = test::IndependentTimes(jd);
    double site[3], seen[3], sun[3], toSun[3], toSite[3], ra = 0.0, dec = 0.0;
    test::IndependentSiteGcrsKm(latDeg, lonDeg, altKm, jd, site);
    test::IndependentSeenKm(TIndependentBody::Moon, t.tt1, t.tt2, site, seen);
    test::IndependentSeenKm(TIndependentBody::Sun, t.tt1, t.tt2, site, sun);
    eraC2s(seen, &ra, &dec);
    near(10, Degrees(ra), 1.0 / 3600.0 + 0.5e-4, std::cos(dec));
    near(11, Degrees(dec), 1.0 / 3600.0 + 0.5e-4);
    eraPmp(sun, seen, toSun);
    eraSxp(-1.0, seen, toSite);
    const double phase = eraSepp(toSun, toSite);
    near(8, Degrees(phase), 0.01);
    EXPECT_NEAR(std::stod(w[9]), 0.5 * (1.0 + std::cos(phase)), 1e-4);
  }
}

}  // namespace
}  // namespace zen::cli
