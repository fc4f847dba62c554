// The live table's rows below the documented ones: the satellite's J2000 place and the Moon,
// against reductions made here from ERFA and the sky's bodies, and published phases.
#include <erfa.h>
#include <erfam.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/elements.h"
#include "core/timescale.h"
#include "tracking/compute_cycle.h"
#include "tracking/info_texts.h"

namespace zen {
namespace {

namespace fs = std::filesystem;

// Half the last place of a three-decimal angle, and what the sky may differ from the
// reductions here by (its minute cache, IAU 2000B against 2006/2000A).
constexpr double kShownDeg = 0.0005;
constexpr double kArcsecondDeg = 1.0 / 3600.0;
constexpr double kMinute = 1.0 / 1440.0;
enum Row { kRa = 1, kDec = 2, kMoonAz = 5, kMoonEl, kPhase, kPhaseAngle, kLit, kAge, kRise,
           kCulmination, kSet };

double Jd(int year, int month, int day, int hour, int minute) {
  return DateRecToJulian(TDateRec{static_cast<uint16_t>(year), static_cast<uint16_t>(month),
                                  static_cast<uint16_t>(day), static_cast<uint16_t>(hour),
                                  static_cast<uint16_t>(minute), 0, 0});
}

// The Moon in the models' frame at a moment, straight from its J2000 place.
TBodyState MoonInModelFrame(double jdUtc) {
  const TBodyState j2000 = MoonJ2000(jdUtc);
  const TMatrix3 turn = ModelFrameFromJ2000(jdUtc);
  return {Rotate(turn, j2000.pos), Rotate(turn, j2000.vel)};
}

// The J2000 right ascension and declination (degrees) of a direction of the models' frame by
// the full reduction: TT from ERFA's leap seconds, the equation of the equinoxes to the true
// equinox, and the IAU 2006/2000A precession-nutation back to the celestial frame.
void FullReductionRaDec(double jdUtc, const TVector& model, double& raDeg, double& decDeg) {
  int year = 0, month = 0, day = 0;
  double fraction = 0.0, taiMinusUtc = 0.0;
  eraJd2cal(jdUtc, 0.0, &year, &month, &day, &fraction);
  eraDat(year, month, day, fraction, &taiMinusUtc);
  const double tt = jdUtc - ERFA_DJM0 + (taiMinusUtc + 32.184) / 86400.0;
  double npb[3][3];
  eraPnm06a(ERFA_DJM0, tt, npb);
  double toTrue[3][3];
  eraIr(toTrue);
  eraRz(-eraEe06a(ERFA_DJM0, tt), toTrue);
  double r[3] = {model.x, model.y, model.z};
  double trueOfDate[3];
  double celestial[3];
  eraRxp(toTrue, r, trueOfDate);
  eraTrxp(npb, trueOfDate, celestial);
  double ra = 0.0, dec = 0.0;
  eraC2s(celestial, &ra, &dec);
  raDeg = eraAnp(ra) * ERFA_DR2D;
  decDeg = dec * ERFA_DR2D;
}

class InfoSkyRows : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("zen_sky_rows_" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::create_directories(dir_);
    std::ofstream out(dir_ / "sats.tle", std::ios::binary);
    for (const TNamedElements& s : SelfTestSatellites) {
      out << s.name << "\n" << s.line1 << "\n" << s.line2 << "\n";
    }
    out.close();
    list_.TleFileName = (dir_ / "sats.tle").string();
    list_.zapodawajSatelity(dir_);
    TSelection none;
    list_.AddTr(true, false, 0, none);
    list_.ActiveSat = 1;
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::array<std::string, kLiveMoreRows> RowsAt(double jdUtc, TGeodetic& site) {
    cycle_.LiczWszo(jdUtc, site, list_, time_, options_);
    return LiveMoreValues(list_, cycle_.SunNow, cycle_.SkyNow);
  }

  fs::path dir_;
  TSatelliteList list_;
  TTimeControl time_;
  TComputeCycle cycle_;
  TShowOptions options_;
};

// A moment off the whole minute, so that the sky's minute cache is at work, for both
// satellites (a near-earth and a deep-space set) seen from Warsaw.
TEST_F(InfoSkyRows, SatelliteJ2000AndMoonAgreeWithIndependentReductions) {
  TGeodetic site = ObserverFromSite(52.23, 21.01, 110.0);
  const double moment = JulianDateOfEpoch(1352.14768052) + 0.2345678;
  for (int active : {1, 2}) {
    SCOPED_TRACE(active);
    list_.ActiveSat = active;
    const auto rows = RowsAt(moment, site);
    const TSatState& s = list_.TrackedSats[static_cast<size_t>(active)];
    ASSERT_TRUE(s.computed);
    const TObserverFrame frame = ObserverFrameAt(site, moment);
    double raDeg = 0.0, decDeg = 0.0;
    FullReductionRaDec(moment, VecSub(s.position, frame.pos), raDeg, decDeg);
    EXPECT_NEAR(std::stod(rows[kRa]), raDeg, kShownDeg + kArcsecondDeg) << rows[kRa];
    EXPECT_NEAR(std::stod(rows[kDec]), decDeg, kShownDeg + kArcsecondDeg) << rows[kDec];
    EXPECT_EQ(rows[kRa], AngleText(std::stod(rows[kRa])));  // formatted as the "RA" row

    const TBodyState moon = MoonInModelFrame(moment);
    const TLookAngles look = LookAngles(moon.pos, moon.vel, site, moment);
    EXPECT_NEAR(std::stod(rows[kMoonAz]), Degrees(look.first), kShownDeg + 1e-6);
    EXPECT_NEAR(std::stod(rows[kMoonEl]), Degrees(look.second), kShownDeg + 1e-6);
  }
}

// At the published instants of the Moon's phases of January 2024 (new Moon 11 Jan 11:57 UTC,
// first quarter 18 Jan 03:52, full 25 Jan 17:54, last quarter 2 Feb 23:18): the name, the
// lit part and the age counted from that new Moon.
TEST_F(InfoSkyRows, PhaseRowsAtPublishedPhases) {
  struct TCase {
    double moment;
    const char* name;
    double litPercent;
    double litTolerance;
  };
  const double newMoon = Jd(2024, 1, 11, 11, 57);
  const TCase cases[] = {
      {newMoon + 0.2, "New Moon", 0.0, 1.0},
      {Jd(2024, 1, 18, 3, 52), "First quarter", 50.0, 1.5},
      {Jd(2024, 1, 25, 17, 54), "Full Moon", 100.0, 0.5},
      {Jd(2024, 2, 2, 23, 18), "Last quarter", 50.0, 1.5},
      {Jd(2024, 1, 14, 12, 0), "Waxing crescent", 12.0, 8.0},
      {Jd(2024, 1, 30, 0, 0), "Waning gibbous", 80.0, 10.0},
  };
  TGeodetic site = ObserverFromSite(52.23, 21.01, 110.0);
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    const auto rows = RowsAt(c.moment, site);
    EXPECT_EQ(rows[kPhase], c.name);
    EXPECT_NEAR(std::stod(rows[kLit]), c.litPercent, c.litTolerance);
    // The lit part and the phase angle shown agree as a disc lit from one side must.
    const double angle = Radians(std::stod(rows[kPhaseAngle]));
    EXPECT_NEAR(std::stod(rows[kLit]), 50.0 * (1.0 + std::cos(angle)), 0.06);
    const double age = std::stod(rows[kAge]);
    EXPECT_NEAR(age, c.moment - newMoon, 0.06);
  }
}

// Near the poles some local days have no moonrise: the Moon stays below (or above) the
// horizon the whole day, as sampling its look angles every five minutes shows here.
TEST_F(InfoSkyRows, DaysWithoutRiseOrSetShowNone) {
  struct TCase {
    double latitude;
    double longitude;
    double utcOffsetHours;
    int year, month, day;
    bool up;
  };
  const TCase cases[] = {
      {78.22, 15.65, 1.0, 2025, 1, 26, false},  // Longyearbyen, the Moon far south
      {78.22, 15.65, 1.0, 2025, 1, 10, true},   // and a fortnight before, far north
      {-77.85, 166.67, 13.0, 2025, 1, 10, false},  // McMurdo, the same days reversed
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.latitude << " " << c.month << "-" << c.day);
    TGeodetic site = ObserverFromSite(c.latitude, c.longitude, 10.0);
    time_.SetUTCOffset(c.utcOffsetHours);
    const double dayStart = Jd(c.year, c.month, c.day, 0, 0) - c.utcOffsetHours / 24.0;
    for (int k = 0; k <= 288; ++k) {
      const double t = dayStart + k / 288.0;
      const TBodyState moon = MoonInModelFrame(t);
      const double elevationDeg = Degrees(LookAngles(moon.pos, moon.vel, site, t).second);
      EXPECT_EQ(elevationDeg > 2.0, c.up) << k;
      EXPECT_EQ(elevationDeg < -2.0, !c.up) << k;
    }
    const auto rows = RowsAt(dayStart + 0.5, site);
    EXPECT_EQ(rows[kRise], "none");
    EXPECT_EQ(rows[kSet], "none");
  }
}

// On an ordinary day the rise and set shown are local clock times within a minute of where
// the upper limb, under the almanacs' 34' of refraction, crosses the horizon.
TEST_F(InfoSkyRows, RiseAndSetAreLocalTimesOfTheLimbOnTheHorizon) {
  constexpr double kHorizonRefractionDeg = 34.0 / 60.0;
  TGeodetic site = ObserverFromSite(52.23, 21.01, 110.0);
  const auto limbDeg = [&](double t) {
    const TBodyState moon = MoonInModelFrame(t);
    const TObserverFrame frame = ObserverFrameAt(site, t);
    const TVector d = VecSub(moon.pos, frame.pos);
    const double range = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
    const double up[3] = {frame.cosLatitude * frame.cosTheta, frame.cosLatitude * frame.sinTheta,
                          frame.sinLatitude};
    const double sine = (d.x * up[0] + d.y * up[1] + d.z * up[2]) / range;
    return Degrees(std::asin(sine) + std::asin(kMoonRadiusKm / range)) + kHorizonRefractionDeg;
  };
  for (double offsetHours : {0.0, 1.0, -5.5}) {
    SCOPED_TRACE(offsetHours);
    time_.SetUTCOffset(offsetHours);
    const double dayStart = Jd(2024, 1, 20, 0, 0) - offsetHours / 24.0;
    const auto rows = RowsAt(dayStart + 0.5, site);
    for (Row row : {kRise, kSet}) {
      const std::string& text = rows[row];
      ASSERT_EQ(text.size(), 5u) << text;
      const double t = dayStart + (std::stoi(text) * 60 + std::stoi(text.substr(3))) * kMinute;
      const double sign = row == kRise ? 1.0 : -1.0;
      EXPECT_LT(sign * limbDeg(t - kMinute), 0.0) << text;
      EXPECT_GT(sign * limbDeg(t + kMinute), 0.0) << text;
    }
  }
}

// Outside the sky's dates every Moon row and the satellite's J2000 place read unavailable, even
// after a moment when they had values; nothing shows a NaN.
TEST_F(InfoSkyRows, OutsideTheSkyDatesTheRowsShowADash) {
  TGeodetic site = ObserverFromSite(52.23, 21.01, 110.0);
  const auto before = RowsAt(JulianDateOfEpoch(1352.14768052), site);
  EXPECT_NE(before[kMoonAz], "-");
  EXPECT_NE(before[kRa], "-");
  const double outside = Jd(1949, 12, 31, 12, 0);
  cycle_.SkyNow.Compute(outside, site, ObserverFrameAt(site, outside), 0.0);
  const TSkyNow never;
  for (const TSkyNow* sky : {static_cast<const TSkyNow*>(&cycle_.SkyNow), &never}) {
    ASSERT_FALSE(sky->valid);
    const auto rows = LiveMoreValues(list_, cycle_.SunNow, *sky);
    EXPECT_EQ(rows[kRa], "-");
    EXPECT_EQ(rows[kDec], "-");
    for (size_t r = kMoonAz; r <= kSet; ++r) EXPECT_EQ(rows[r], "-") << r;
  }
  // Without an active satellite its rows are empty, as the documented satellite rows are.
  list_.ActiveSat = 0;
  const auto rows = RowsAt(Jd(2101, 1, 2, 0, 0), site);
  EXPECT_EQ(rows[kRa], "");
  for (const std::string& text : rows) EXPECT_EQ(text.find("nan"), std::string::npos) << text;
}

}  // namespace
}  // namespace zen
