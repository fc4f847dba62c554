// The compute cycle: the Sun, the site, every tracked satellite, the counts, the day/night
// boundary and the active satellite's ground track at one moment.
#include "tracking/compute_cycle.h"

#include <algorithm>
#include <cmath>

#include "core/numeric.h"
#include "core/sun.h"

namespace zen {

TRadarMode RadarModeFromIndex(int mode) {
  if (mode == 1) return TRadarMode::Off;
  if (mode == 2) return TRadarMode::Auto;
  return TRadarMode::On;
}

void Skok(double& lat2, double& lon2, double distanceDeg, double bearingDeg, double lon1,
          double lat1) {
  if (lat1 >= 90.0) lat1 = 89.999;
  if (!(lat1 > -90.0)) lat1 = -89.999;
  double colat = Radians(90.0 - lat1);
  double dist = Radians(std::min(distanceDeg, 90.0));
  double brg = Radians(bearingDeg);
  double cosC = std::cos(colat) * std::cos(dist) + std::sin(colat) * std::sin(dist) * std::cos(brg);
  double c = std::acos(std::clamp(cosC, -1.0, 1.0));
  double s = std::sin(dist) * std::sin(brg) / std::sin(c);
  double dlon = 0.0;
  if (std::sin(colat) * (std::cos(dist) - std::cos(colat) * cosC) / std::sin(c) >= 0.0) {
    dlon = ArcSin(s);
  } else {
    dlon = kPi - ArcSin(s);
  }
  lat2 = 90.0 - Degrees(c);
  lon2 = lon1 + Degrees(dlon);
  if (lon2 < -180.0) lon2 += 360.0;
}

TComputeCycle::TComputeCycle() = default;

TPropagator* TComputeCycle::PropagatorFor(const TSatelliteList& list, int catalogIndex) {
  size_t slot = static_cast<size_t>(catalogIndex);
  if (catalogIndex < 1 || catalogIndex > list.LoadedCount) return nullptr;
  if (sizedGeneration_ != list.CatalogGeneration) {
    // Sized once per load, for every loaded set, so a tick never allocates.
    sizedGeneration_ = list.CatalogGeneration;
    const size_t slots = static_cast<size_t>(list.LoadedCount) + 1;
    propagators_.assign(slots, TPropagator{});
    loadedGeneration_.assign(slots, 0);
    decodable_.assign(slots, false);
  }
  if (loadedGeneration_[slot] != list.CatalogGeneration) {
    loadedGeneration_[slot] = list.CatalogGeneration;
    const TCatalogSet& set = list.Catalog.CatalogElements[slot];
    decodable_[slot] = set.decodable;
    if (set.decodable) propagators_[slot].LoadElements(set.elements);
  }
  return decodable_[slot] ? &propagators_[slot] : nullptr;
}

void TComputeCycle::ComputeSatellite(TSatState& state, TPropagator& propagator, double nowUtc,
                                     const TGeodetic& site) {
  TVector pos;
  TVector vel;
  if (propagator.Propagate(pos, vel, nowUtc) != TPropagationStatus::Ok) {
    state.computed = false;
    return;
  }
  TPropagator::ScaleStateToKm(pos, vel);
  state.position = pos;
  state.velocity = vel;
  state.geodetic = EciToGeodetic(pos, nowUtc);
  state.lookAngles = LookAngles(pos, vel, site, nowUtc);
  state.raDec = TopocentricRaDec(pos, vel, site, nowUtc);
  state.eclipse = static_cast<uint8_t>(EclipseState(pos, SunNow.position));
  state.latitude = Degrees(state.geodetic.latitude);
  state.longitude = FoldLongitude(Degrees(state.geodetic.longitude));
  state.azimuth = Degrees(state.lookAngles.first);
  state.elevation = Degrees(state.lookAngles.second);
  state.rightAscension = Degrees(state.raDec.first);
  state.declination = Degrees(state.raDec.second);
  state.computed = std::isfinite(state.latitude) && std::isfinite(state.longitude) &&
                   std::isfinite(state.elevation);
}

void TComputeCycle::ComputeTrack(TPropagator& propagator, double nowUtc, const TGeodetic& site,
                                 TSatOnTrack satOnTrack) {
  double period = propagator.CurrentElements.periodDays;
  double step = period / 100.0;
  double start = nowUtc;
  if (satOnTrack == TSatOnTrack::Middle) start = nowUtc - period / 2.0;
  if (satOnTrack == TSatOnTrack::End) start = nowUtc - period;
  for (int k = 0; k < kTrackSamples; ++k) {
    TTrackSample& sample = ActiveTrack[static_cast<size_t>(k)];
    double t = start + k * step;
    sample.time = t;
    TVector pos;
    TVector vel;
    if (propagator.Propagate(pos, vel, t) != TPropagationStatus::Ok) {
      sample.computed = false;
      continue;
    }
    TPropagator::ScaleStateToKm(pos, vel);
    TGeodetic g = EciToGeodetic(pos, t);
    TVector sun = SunPosition(t);
    TLookAngles look = LookAngles(pos, vel, site, t);
    sample.position = pos;
    sample.latitude = Degrees(g.latitude);
    sample.longitude = FoldLongitude(Degrees(g.longitude));
    sample.umbra = EclipseState(pos, sun) == kUmbra ? 1 : 0;
    sample.azimuth = Degrees(look.first);
    sample.elevation = Degrees(look.second);
    sample.computed = std::isfinite(sample.latitude) && std::isfinite(sample.longitude);
  }
}

void TComputeCycle::LiczWszo(double nowUtc, TGeodetic& site, TSatelliteList& list,
                             TTimeControl& time, const TShowOptions& options) {
  // 1. The Sun and the site.
  SunNow.moment = nowUtc;
  SunNow.position = SunPosition(nowUtc);
  SunNow.geodetic = EciToGeodetic(SunNow.position, nowUtc);
  const TVector noVelocity{};
  SunNow.lookAngles = LookAngles(SunNow.position, noVelocity, site, nowUtc);
  SunNow.raDec = TopocentricRaDec(SunNow.position, noVelocity, site, nowUtc);
  ObserverPosVel(site, nowUtc, SunNow.sitePosition, SunNow.siteVelocity);
  SunNow.site = site;
  SunNow.azimuth = Degrees(SunNow.lookAngles.first);
  SunNow.elevation = Degrees(SunNow.lookAngles.second);
  SunNow.subLatitude = Degrees(SunNow.geodetic.latitude);
  SunNow.subLongitude = FoldLongitude(Degrees(SunNow.geodetic.longitude));

  // 2. The day/night boundary, at most once a minute of computed time.
  if (options.solarIllumination && std::fabs(nowUtc - TerminatorTime) >= time.UnitLength[1]) {
    TerminatorTime = nowUtc;
    for (int i = 0; i < kTerminatorPoints; ++i) {
      TLatLon& p = TerminatorPoints[static_cast<size_t>(i)];
      Skok(p.latitude, p.longitude, 90.0, i * 3.0, SunNow.subLongitude, SunNow.subLatitude);
    }
  }

  // 3.-4. Every tracked satellite, in list order.
  VisibleCount = 0;
  VisibleEclipsedCount = 0;
  for (int i = 1; i <= list.TrackedCount; ++i) {
    TSatState& state = list.TrackedSats[static_cast<size_t>(i)];
    TPropagator* propagator = PropagatorFor(list, state.catalogIndex);
    if (propagator == nullptr) {
      state.computed = false;
      continue;
    }
    if (i == list.ActiveSat && list.InfoShownSat != list.ActiveSat) {
      const TElements& e = propagator->CurrentElements;
      time.SetActivePeriod(e.periodDays);
      ActiveSnapshot.valid = true;
      ActiveSnapshot.name = list.NameOf(i);
      ActiveSnapshot.elements = e;
      ActiveSnapshot.revsPerDay = 1.0 / e.periodDays;
    }
    ComputeSatellite(state, *propagator, nowUtc, site);
    if (state.computed && AboveHorizon(state.elevation)) {
      ++VisibleCount;
      if (state.eclipse == kUmbra) ++VisibleEclipsedCount;
    }
  }

  // 5. The radar.
  RadarShown = RadarShownFor(options.radarMode, VisibleCount);

  // 6. The active satellite's ground track.
  bool trackWanted =
      options.trackLine || options.trackMarkers || options.radarTrack || options.radarMarkers;
  if (list.HasActiveSat() && trackWanted) {
    TPropagator* propagator =
        PropagatorFor(list, list.TrackedSats[static_cast<size_t>(list.ActiveSat)].catalogIndex);
    if (propagator != nullptr) ComputeTrack(*propagator, nowUtc, site, options.satOnTrack);
  }
}

}  // namespace zen
