// A pass or a flare followed through time.
#include "prediction/pass_track.h"

#include <algorithm>
#include <cmath>

#include "core/sun.h"

namespace zen {

namespace {

// Light is sampled this often through a pass; a change between two samples is found to the
// second. The earth's shadow lasts tens of minutes for the lowest orbits, so no stretch of light
// or shadow inside a pass is shorter than a step except at its ends, where it is found exactly.
constexpr int64_t kLightStepSeconds = 20;
// The horizon is looked for this far apart, and then to the second.
constexpr int64_t kHorizonStepSeconds = 30;
// A long span is drawn with about this many points.
constexpr int64_t kMostTrackPoints = 2000;

double SecondAfter(double fromUtc, int64_t second) {
  return fromUtc + static_cast<double>(second) / 86400.0;
}

bool SunlitAt(TPropagator& propagator, double jd) {
  TVector pos;
  TVector vel;
  if (propagator.Propagate(pos, vel, jd) != TPropagationStatus::Ok) return false;
  TPropagator::ScaleStateToKm(pos, vel);
  return EclipseState(pos, SunPosition(jd)) == kSunlit;
}

// Whether the satellite is above the horizon (refracted elevation at least 0).
bool UpAt(TPropagator& propagator, const TGeodetic& site, double jd) {
  TVector pos;
  TVector vel;
  if (propagator.Propagate(pos, vel, jd) != TPropagationStatus::Ok) return false;
  TPropagator::ScaleStateToKm(pos, vel);
  return ElevationInFrame(ObserverFrameAt(site, jd), pos) >= 0.0;
}

// The first second of lo+1..hi at which test differs from its value at lo, where it is known to
// differ at hi.
template <typename Test>
int64_t FirstChange(int64_t lo, int64_t hi, Test test) {
  const bool atLo = test(lo);
  while (hi - lo > 1) {
    const int64_t mid = lo + (hi - lo) / 2;
    if (test(mid) == atLo) {
      lo = mid;
    } else {
      hi = mid;
    }
  }
  return hi;
}

// The farthest second (counted away from the start, up to reach) at which the satellite is still
// up without a moment below the horizon in between, as far as the samples show.
int64_t SecondsStillUp(TPropagator& propagator, const TGeodetic& site, double startUtc,
                       int64_t direction, int64_t reach) {
  auto up = [&](int64_t s) { return UpAt(propagator, site, SecondAfter(startUtc, direction * s)); };
  int64_t s = 0;
  while (s < reach) {
    const int64_t next = std::min(s + kHorizonStepSeconds, reach);
    if (!up(next)) return FirstChange(s, next, up) - 1;
    s = next;
  }
  return reach;
}

}  // namespace

int64_t SunlitSeconds(TPropagator& propagator, double fromUtc, int64_t seconds) {
  if (seconds <= 0) return 0;
  auto lit = [&](int64_t s) { return SunlitAt(propagator, SecondAfter(fromUtc, s)); };
  const int64_t last = seconds - 1;
  int64_t count = 0;
  int64_t a = 0;
  bool litA = lit(0);
  while (a < last) {
    const int64_t e = std::min(a + kLightStepSeconds, last);
    const bool litE = lit(e);
    if (litE == litA) {
      if (litA) count += e - a;
    } else {
      const int64_t change = FirstChange(a, e, lit);
      count += litA ? change - a : e - change;
    }
    a = e;
    litA = litE;
  }
  return count + (litA ? 1 : 0);
}

TTrackSpan HorizonSpan(const TCatalogSet& set, const TGeodetic& site, double fromUtc, double toUtc,
                       int64_t reachSeconds) {
  TTrackSpan span{fromUtc, toUtc};
  if (!set.decodable || reachSeconds <= 0) return span;
  TPropagator propagator;
  propagator.LoadElements(set.elements);
  if (UpAt(propagator, site, fromUtc)) {
    span.fromUtc = SecondAfter(fromUtc, -SecondsStillUp(propagator, site, fromUtc, -1, reachSeconds));
  }
  if (UpAt(propagator, site, toUtc)) {
    span.toUtc = SecondAfter(toUtc, SecondsStillUp(propagator, site, toUtc, 1, reachSeconds));
  }
  return span;
}

TPassTrack TrackBetween(const TCatalogSet& set, const TGeodetic& site, double fromUtc,
                        double toUtc, double sunAtUtc) {
  TPassTrack track;
  {
    const TObserverFrame frame = ObserverFrameAt(site, sunAtUtc);
    const TLookAngles sun = LookAnglesInFrame(frame, SunPosition(sunAtUtc), TVector{});
    track.sunAzimuthDeg = Degrees(sun.first);
    track.sunElevationDeg = Degrees(sun.second);
  }
  if (!set.decodable || !(toUtc >= fromUtc)) return track;
  TPropagator propagator;
  propagator.LoadElements(set.elements);
  const int64_t seconds = std::llround((toUtc - fromUtc) * 86400.0);
  const int64_t step = std::max<int64_t>(1, (seconds + kMostTrackPoints - 1) / kMostTrackPoints);
  track.points.reserve(static_cast<size_t>(seconds / step + 2));
  for (int64_t s = 0;; s = std::min(s + step, seconds)) {
    const double jd = SecondAfter(fromUtc, s);
    TVector pos;
    TVector vel;
    if (propagator.Propagate(pos, vel, jd) == TPropagationStatus::Ok) {
      TPropagator::ScaleStateToKm(pos, vel);
      const TLookAngles look = LookAnglesInFrame(ObserverFrameAt(site, jd), pos, vel);
      TTrackPoint point;
      point.timeUtc = jd;
      point.azimuthDeg = Degrees(look.first);
      point.elevationDeg = Degrees(look.second);
      point.rangeKm = look.third;
      point.sunlit = EclipseState(pos, SunPosition(jd)) == kSunlit;
      track.points.push_back(point);
    }
    if (s == seconds) break;
  }
  return track;
}

}  // namespace zen
