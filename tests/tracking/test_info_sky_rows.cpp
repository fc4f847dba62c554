// The live table's rows below the documented ones: the satellite's J2000 place and the Moon,
// against reductions made here from ERFA and the sky's bodies, and published phases.
#include <erfa.h>
#include <erfam.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "core/elements.h"
#include "core/timescale.h"
#include "tracking/info_texts.h"

namespace zen {
namespace {

namespace fs = std::filesystem;

// Half the last place of a three-decimal angle, and the sky's allowance against the full
// reduction (its minute cache, IAU 2000B against 2006/2000A).
constexpr double kShownDeg = 0.0005;
constexpr double kArcsecondDeg = 1.0 / 3600.0;
constexpr double kMinute = 1.0 / 1440.0;
enum Row : size_t { kRa = 1, kDec, kMoonAz = 5, kMoonEl, kPhase, kPhaseAngle, kLit, kAge, kRise,
                    kCulmination, kSet };

double Jd(int year, int month, int day, int hour, int minute) {
  double jd0 = 0.0, mjd = 0.0;
  eraCal2jd(year, month, day, &jd0, &mjd);
  return jd0 + mjd + (hour * 60 + minute) * kMinute;
}

TBodyState MoonInModelFrame(double jdUtc) {
  const TBodyState j2000 = MoonJ2000(jdUtc);
  const TMatrix3 turn = ModelFrameFromJ2000(jdUtc);
  return {Rotate(turn, j2000.pos), Rotate(turn, j2000.vel)};
}

// J2000 right ascension and declination (degrees) of a direction of the models' frame by the
// full reduction: TT from ERFA's leap seconds, the equation of the equinoxes to the true
// equinox, the IAU 2006/2000A precession-nutation back to the celestial frame.
void FullReductionRaDec(double jdUtc, const TVector& model, double& raDeg, double& decDeg) {
  int year = 0, month = 0, day = 0;
  double fraction = 0.0, taiMinusUtc = 0.0, npb[3][3], toTrue[3][3];
  eraJd2cal(jdUtc, 0.0, &year, &month, &day, &fraction);
  eraDat(year, month, day, fraction, &taiMinusUtc);
  const double tt = jdUtc - ERFA_DJM0 + (taiMinusUtc + 32.184) / 86400.0;
  eraPnm06a(ERFA_DJM0, tt, npb);
  eraIr(toTrue);
  eraRz(-eraEe06a(ERFA_DJM0, tt), toTrue);
  double r[3] = {model.x, model.y, model.z}, trueOfDate[3], celestial[3], ra = 0.0, dec = 0.0;
  eraRxp(toTrue, r, trueOfDate);
  eraTrxp(npb, trueOfDate, celestial);
  eraC2s(celestial, &ra, &dec);
  raDeg = eraAnp(ra) * ERFA_DR2D;
  decDeg = dec * ERFA_DR2D;
}

class InfoSkyRows : public ::testing::Test {
 protected:
  void SetUp() override {
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

  std::array<std::string, kLiveMoreRows> RowsAt(double jdUtc) {
    cycle_.LiczWszo(jdUtc, site_, list_, time_, options_);
    return LiveMoreValues(list_, cycle_.SunNow, cycle_.SkyNow);
  }

  fs::path dir_ = fs::temp_directory_path() /
                  ("zen_sky_rows_" + std::string(testing::UnitTest::GetInstance()
                                                     ->current_test_info()->name()));
  TGeodetic site_ = ObserverFromSite(52.23, 21.01, 110.0);
  TSatelliteList list_;
  TTimeControl time_;
  TComputeCycle cycle_;
  TShowOptions options_;
};

// Off the whole minute (the sky's cache at work), a near-earth and a deep-space set.
TEST_F(InfoSkyRows, SatelliteJ2000AndMoonAgreeWithIndependentReductions) {
  const double moment = JulianDateOfEpoch(1352.14768052) + 0.2345678;
  for (int active : {1, 2}) {
    list_.ActiveSat = active;
    const auto rows = RowsAt(moment);
    const TSatState& s = list_.TrackedSats[static_cast<size_t>(active)];
    ASSERT_TRUE(s.computed);
    double raDeg = 0.0, decDeg = 0.0;
    FullReductionRaDec(moment, VecSub(s.position, ObserverFrameAt(site_, moment).pos), raDeg,
                       decDeg);
    EXPECT_NEAR(std::stod(rows[kRa]), raDeg, kShownDeg + kArcsecondDeg) << rows[kRa];
    EXPECT_NEAR(std::stod(rows[kDec]), decDeg, kShownDeg + kArcsecondDeg) << rows[kDec];
    const TBodyState moon = MoonInModelFrame(moment);
    const TLookAngles look = LookAngles(moon.pos, moon.vel, site_, moment);
    EXPECT_NEAR(std::stod(rows[kMoonAz]), Degrees(look.first), kShownDeg + 1e-6);
    EXPECT_NEAR(std::stod(rows[kMoonEl]), Degrees(look.second), kShownDeg + 1e-6);
  }
}

// The published phases of January 2024 (new Moon 11 Jan 11:57 UTC, first quarter 18 Jan 03:52,
// full 25 Jan 17:54, last quarter 2 Feb 23:18): name, lit part and age from that new Moon.
TEST_F(InfoSkyRows, PhaseRowsAtPublishedPhases) {
  const double newMoon = Jd(2024, 1, 11, 11, 57);
  const struct {
    double moment;
    const char* name;
    double litPercent;
  } cases[] = {{newMoon + 0.2, "New Moon", 0.0},
               {Jd(2024, 1, 14, 12, 0), "Waxing crescent", 10.0},
               {Jd(2024, 1, 18, 3, 52), "First quarter", 50.0},
               {Jd(2024, 1, 25, 17, 54), "Full Moon", 100.0},
               {Jd(2024, 2, 2, 23, 18), "Last quarter", 50.0}};
  for (const auto& c : cases) {
    const auto rows = RowsAt(c.moment);
    EXPECT_EQ(rows[kPhase], c.name);
    EXPECT_NEAR(std::stod(rows[kLit]), c.litPercent, 3.0) << c.name;
    EXPECT_NEAR(std::stod(rows[kAge]), c.moment - newMoon, 0.06) << c.name;
  }
}

// Near the poles some local days have no moonrise: the Moon stays below (or above) the
// horizon all day, as its look angles every five minutes show here.
TEST_F(InfoSkyRows, DaysWithoutRiseOrSetShowNone) {
  const struct {
    double latitude, longitude, utcOffsetHours;
    int month, day;
    bool up;
  } cases[] = {{78.22, 15.65, 1.0, 1, 26, false},     // Longyearbyen, the Moon far south
               {78.22, 15.65, 1.0, 1, 10, true},      // a fortnight before, far north
               {-77.85, 166.67, 13.0, 1, 10, false}};  // McMurdo
  for (const auto& c : cases) {
    site_ = ObserverFromSite(c.latitude, c.longitude, 10.0);
    time_.SetUTCOffset(c.utcOffsetHours);
    const double dayStart = Jd(2025, c.month, c.day, 0, 0) - c.utcOffsetHours / 24.0;
    for (double t = dayStart; t <= dayStart + 1.0; t += 5 * kMinute) {
      const TBodyState moon = MoonInModelFrame(t);
      const double elevationDeg = Degrees(LookAngles(moon.pos, moon.vel, site_, t).second);
      ASSERT_GT(c.up ? elevationDeg : -elevationDeg, 2.0) << c.latitude << " " << c.day;
    }
    const auto rows = RowsAt(dayStart + 0.5);
    EXPECT_EQ(rows[kRise], "none");
    EXPECT_EQ(rows[kSet], "none");
  }
}

// Rise and set are local clock times within a minute of the upper limb meeting the horizon
// under the almanacs' 34' of refraction.
TEST_F(InfoSkyRows, RiseAndSetAreLocalTimesOfTheLimbOnTheHorizon) {
  const auto limb = [&](double t) {
    double rangeKm = 0.0;
    const double sine =
        ElevationSineInFrame(ObserverFrameAt(site_, t), MoonInModelFrame(t).pos, rangeKm);
    return std::asin(sine) + std::asin(kMoonRadiusKm / rangeKm) + Radians(34.0 / 60.0);
  };
  for (double offsetHours : {0.0, -5.5}) {
    time_.SetUTCOffset(offsetHours);
    const double dayStart = Jd(2024, 1, 20, 0, 0) - offsetHours / 24.0;
    const auto rows = RowsAt(dayStart + 0.5);
    for (Row row : {kRise, kSet}) {
      const std::string& text = rows[row];
      ASSERT_EQ(text.size(), 5u) << text;
      const double t = dayStart + (std::stoi(text) * 60 + std::stoi(text.substr(3))) * kMinute;
      const double sign = row == kRise ? 1.0 : -1.0;
      EXPECT_LT(sign * limb(t - kMinute), 0.0) << offsetHours << " " << text;
      EXPECT_GT(sign * limb(t + kMinute), 0.0) << offsetHours << " " << text;
    }
  }
}

// Outside the sky's dates, even after a moment that had values, the rows read unavailable.
TEST_F(InfoSkyRows, OutsideTheSkyDatesTheRowsShowADash) {
  EXPECT_NE(RowsAt(JulianDateOfEpoch(1352.14768052))[kMoonAz], "-");
  const double outside = Jd(1949, 12, 31, 12, 0);
  cycle_.SkyNow.Compute(outside, site_, ObserverFrameAt(site_, outside), 0.0);
  ASSERT_FALSE(cycle_.SkyNow.valid);
  const auto rows = LiveMoreValues(list_, cycle_.SunNow, cycle_.SkyNow);
  for (size_t r : {kRa, kDec, kMoonAz, kMoonEl, kPhase, kPhaseAngle, kLit, kAge, kRise,
                   kCulmination, kSet}) {
    EXPECT_EQ(rows[r], "-") << r;
  }
}

}  // namespace
}  // namespace zen
