#include "sky/sky_site.h"

#include <cmath>

namespace zen {
namespace {

constexpr double kSynodicMonthDays = 29.530588853;
// The obliquity of the ecliptic at J2000 (IAU 2006), radians.
constexpr double kObliquityJ2000 = 84381.406 / 3600.0 * kPi / 180.0;
// Almanacs' refraction at the horizon: 34'.
constexpr double kHorizonRefraction = 34.0 / 60.0 * kPi / 180.0;

double EclipticLongitude(const TVector& j2000) {
  const double y = j2000.y * std::cos(kObliquityJ2000) + j2000.z * std::sin(kObliquityJ2000);
  return std::atan2(y, j2000.x);
}

// The Moon's ecliptic longitude less the Sun's, taken into (-pi, pi].
double Elongation(double jdUtc) {
  double d = EclipticLongitude(MoonJ2000(jdUtc).pos) - EclipticLongitude(SunJ2000(jdUtc).pos);
  d = std::remainder(d, kTwoPi);
  return d;
}

// The Moon's geometric elevation seen from the site, with its semidiameter.
double MoonElevation(const TGeodetic& site, double jdUtc, double& semidiameter) {
  const TObserverFrame frame = ObserverFrameAt(site, jdUtc);
  const TVector moon = Rotate(ModelFrameFromJ2000(jdUtc), MoonJ2000(jdUtc).pos);
  double range = 0.0;
  const double sine = ElevationSineInFrame(frame, moon, range);
  semidiameter = std::asin(kMoonRadiusKm / range);
  return std::asin(std::fmax(-1.0, std::fmin(1.0, sine)));
}

// Above zero while the upper limb stands above the almanacs' refracted horizon.
double LimbAboveHorizon(const TGeodetic& site, double jdUtc) {
  double semidiameter = 0.0;
  const double h = MoonElevation(site, jdUtc, semidiameter);
  return h + semidiameter + kHorizonRefraction;
}

// The rate of the centre's elevation (its difference over a minute).
double ElevationRate(const TGeodetic& site, double jdUtc) {
  constexpr double kHalfMinute = 30.0 / 86400.0;
  double s = 0.0;
  return MoonElevation(site, jdUtc + kHalfMinute, s) - MoonElevation(site, jdUtc - kHalfMinute, s);
}

// The moment in [a, b] where f changes sign, f(a) and f(b) of opposite signs; to 0.1 s.
template <typename F>
double Crossing(F f, double a, double b, double fa) {
  constexpr double kTolerance = 0.1 / 86400.0;
  while (b - a > kTolerance) {
    const double m = 0.5 * (a + b);
    const double fm = f(m);
    if ((fm > 0.0) == (fa > 0.0)) {
      a = m;
      fa = fm;
    } else {
      b = m;
    }
  }
  return 0.5 * (a + b);
}

}  // namespace

TBodyView BodyView(const TSky& sky, const TObserverFrame& frame, const TBodyState& body,
                   double radiusKm) {
  TBodyView view;
  view.look = LookAnglesInFrame(frame, body.pos, body.vel);
  const TLookAngles raDec = RaDecInFrame(frame, view.look);
  view.raDate = raDec.first;
  view.decDate = raDec.second;
  J2000RaDecInFrame(sky, frame, body.pos, view.raJ2000, view.decJ2000);
  double range = 0.0;
  const double sine = ElevationSineInFrame(frame, body.pos, range);
  view.geometricElevation = std::asin(std::fmax(-1.0, std::fmin(1.0, sine)));
  view.semidiameter = std::asin(std::fmin(1.0, radiusKm / range));
  return view;
}

void J2000RaDecInFrame(const TSky& sky, const TObserverFrame& frame, const TVector& target,
                       double& ra, double& dec) {
  RaDecOf(sky.ToJ2000(VecSub(target, frame.pos)), ra, dec);
}

TMoonPhase MoonPhase(const TSky& sky, const TObserverFrame& frame, double ageDays) {
  TMoonPhase phase;
  TVector toSun = VecSub(sky.Sun().pos, sky.Moon().pos);
  TVector toObserver = VecSub(frame.pos, sky.Moon().pos);
  phase.phaseAngle = VecAngle(toSun, toObserver);
  phase.illuminated = 0.5 * (1.0 + std::cos(phase.phaseAngle));
  phase.ageDays = ageDays;
  return phase;
}

double MoonAgeDays(double jdUtc) {
  // The elongation grows by a full turn each synodic month; step back to where it was zero.
  double elongation = Elongation(jdUtc);
  if (elongation < 0.0) elongation += kTwoPi;
  double age = elongation / kTwoPi * kSynodicMonthDays;
  for (int i = 0; i < 8; ++i) {
    const double step = Elongation(jdUtc - age) / kTwoPi * kSynodicMonthDays;
    age += step;
    if (std::fabs(step) < 1e-7) break;
  }
  return age;
}

TRiseSet MoonRiseSet(const TGeodetic& site, double dayStartUtc) {
  // Sampled every ten minutes: the Moon cannot rise and set again within that time outside
  // the polar circles' grazing days.
  constexpr int kSteps = 144;
  constexpr double kStep = 1.0 / kSteps;
  const auto limb = [&](double t) { return LimbAboveHorizon(site, t); };
  const auto rate = [&](double t) { return ElevationRate(site, t); };
  TRiseSet events;
  double t0 = dayStartUtc;
  double up0 = limb(t0);
  double rate0 = rate(t0);
  for (int i = 1; i <= kSteps; ++i) {
    const double t1 = dayStartUtc + i * kStep;
    const double up1 = limb(t1);
    const double rate1 = rate(t1);
    if (up0 <= 0.0 && up1 > 0.0 && std::isnan(events.rise))
      events.rise = Crossing(limb, t0, t1, up0);
    if (up0 > 0.0 && up1 <= 0.0 && std::isnan(events.set))
      events.set = Crossing(limb, t0, t1, up0);
    if (rate0 > 0.0 && rate1 <= 0.0 && std::isnan(events.culmination))
      events.culmination = Crossing(rate, t0, t1, rate0);
    t0 = t1;
    up0 = up1;
    rate0 = rate1;
  }
  // An event that rounds to the next day's first instant belongs to the next day.
  for (double* e : {&events.rise, &events.culmination, &events.set})
    if (!(*e < dayStartUtc + 1.0)) *e = kNoEvent;
  return events;
}

}  // namespace zen
