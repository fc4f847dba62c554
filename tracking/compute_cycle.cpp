// The compute cycle: the Sun, the site, every tracked satellite, the counts, the day/night
// boundary and the active satellite's ground track at one moment.
#include "tracking/compute_cycle.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>

#include "core/numeric.h"
#include "core/observer_vector.h"
#include "core/sun.h"
#include "core/timescale.h"

namespace zen {

namespace {

// Tracked positions computed as one piece of a tick: one block of batch lanes at most.
constexpr int kPiecePositions = static_cast<int>(TNearEarthBatch::kBlockLanes);
// From this many tracked satellites on, a tick is shared with the helper threads; below it
// waking them costs about what they would save.
constexpr int kSharedFrom = 512;
// Threads of the team, the cycle's own included; more than this seldom pays for a tick.
constexpr unsigned kMaxTeamMembers = 8;
// The propagators' unit of speed, earth radii per minute, in km/s (as ScaleStateToKm has it).
constexpr double kKmPerSecond = kEarthRadiusKm / 60.0;

}  // namespace

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

bool TComputeCycle::SizedFor(const TSatelliteList& list) const {
  return sized_ && sizedGeneration_ == list.CatalogGeneration &&
         laneStart_.size() == list.TrackedSats.size() + 1;
}

void TComputeCycle::SizeForLoad(const TSatelliteList& list) {
  // Sized once per load, for every loaded set and every tracked position the list has room
  // for, so that a tick never allocates.
  sized_ = true;
  sizedGeneration_ = list.CatalogGeneration;
  const size_t slots = static_cast<size_t>(list.LoadedCount) + 1;
  propagators_.assign(slots, TPropagator{});
  loadedGeneration_.assign(slots, 0);
  decodable_.assign(slots, false);
  slotSeen_.assign(slots, 0);
  // Positions run from 1 to at most TrackedSats.size() - 1; laneStart_ holds one past the last.
  const size_t positions = list.TrackedSats.size() + 1;
  laidOutSlot_.assign(positions, 0);
  models_.assign(positions, nullptr);
  ways_.assign(positions, TWay::None);
  laneStart_.assign(positions, 0);
  deepLaneStart_.assign(positions, 0);
  const size_t pieces = positions / static_cast<size_t>(kPiecePositions) + 1;
  pieceOrder_.clear();
  pieceOrder_.reserve(pieces);
  pieceCost_.clear();
  pieceCost_.reserve(pieces);
  laidOutCount_ = -1;
  batch_.Resize(positions);
  deepBatch_.Resize(positions);
  const unsigned members = std::min(std::thread::hardware_concurrency(), kMaxTeamMembers);
  if (team_ == nullptr && list.LoadedCount >= kSharedFrom && members > 1) {
    team_ = std::make_unique<TCycleTeam>(static_cast<int>(members));
  }
}

TPropagator* TComputeCycle::PropagatorFor(const TSatelliteList& list, int catalogIndex) {
  size_t slot = static_cast<size_t>(catalogIndex);
  if (catalogIndex < 1 || catalogIndex > list.LoadedCount) return nullptr;
  if (!SizedFor(list)) SizeForLoad(list);
  if (loadedGeneration_[slot] != list.CatalogGeneration) {
    loadedGeneration_[slot] = list.CatalogGeneration;
    const TCatalogSet& set = list.Catalog.CatalogElements[slot];
    decodable_[slot] = set.decodable;
    if (set.decodable) propagators_[slot].LoadElements(set.elements);
  }
  return decodable_[slot] ? &propagators_[slot] : nullptr;
}

TComputeCycle::TTickSky TComputeCycle::ComputeSun(double nowUtc, TGeodetic& site) {
  TTickSky sky;
  sky.moment = nowUtc;
  sky.siderealAngle = SiderealTime(nowUtc);
  sky.site = ObserverFrameAt(site, nowUtc);
  SunNow.moment = nowUtc;
  SunNow.position = SunPosition(nowUtc);
  sky.sun = SunNow.position;
  SunNow.geodetic = EciToGeodeticAtSidereal(SunNow.position, sky.siderealAngle);
  const TVector noVelocity{};
  SunNow.lookAngles = LookAnglesInFrame(sky.site, SunNow.position, noVelocity);
  SunNow.raDec = RaDecInFrame(sky.site, SunNow.lookAngles);
  ObserverPosVel(site, nowUtc, SunNow.sitePosition, SunNow.siteVelocity);
  SunNow.site = site;
  SunNow.azimuth = Degrees(SunNow.lookAngles.first);
  SunNow.elevation = Degrees(SunNow.lookAngles.second);
  SunNow.subLatitude = Degrees(SunNow.geodetic.latitude);
  SunNow.subLongitude = FoldLongitude(Degrees(SunNow.geodetic.longitude));
  return sky;
}

bool TComputeCycle::LayoutCurrent(const TSatelliteList& list) const {
  if (laidOutCount_ != list.TrackedCount) return false;
  for (int i = 1; i <= list.TrackedCount; ++i) {
    const size_t position = static_cast<size_t>(i);
    if (laidOutSlot_[position] != list.TrackedSats[position].catalogIndex) return false;
  }
  return true;
}

void TComputeCycle::LayOut(const TSatelliteList& list) {
  ++layoutStamp_;
  slotRepeated_ = false;
  size_t lanes = 0;
  size_t deepLanes = 0;
  for (int i = 1; i <= list.TrackedCount; ++i) {
    const size_t position = static_cast<size_t>(i);
    const int slot = list.TrackedSats[position].catalogIndex;
    laidOutSlot_[position] = slot;
    laneStart_[position] = lanes;
    deepLaneStart_[position] = deepLanes;
    TPropagator* model = PropagatorFor(list, slot);
    models_[position] = model;
    if (model == nullptr) {
      ways_[position] = TWay::None;
      continue;
    }
    uint32_t& seen = slotSeen_[static_cast<size_t>(slot)];
    slotRepeated_ = slotRepeated_ || seen == layoutStamp_;
    seen = layoutStamp_;
    model->PrepareModel();
    if (TNearEarthBatch::Fits(*model)) {
      ways_[position] = TWay::Batch;
      batch_.SetLane(lanes++, *model);
    } else if (TDeepSpaceBatch::Fits(*model)) {
      ways_[position] = TWay::DeepBatch;
      deepBatch_.SetLane(deepLanes++, *model);
    } else {
      ways_[position] = TWay::Single;
    }
  }
  laneStart_[static_cast<size_t>(list.TrackedCount) + 1] = lanes;
  deepLaneStart_[static_cast<size_t>(list.TrackedCount) + 1] = deepLanes;
  laidOutCount_ = list.TrackedCount;
  const int pieces = (list.TrackedCount + kPiecePositions - 1) / kPiecePositions;
  pieceCost_.assign(static_cast<size_t>(pieces), 0);
  for (int i = 1; i <= list.TrackedCount; ++i) {
    pieceCost_[static_cast<size_t>((i - 1) / kPiecePositions)] +=
        ways_[static_cast<size_t>(i)] == TWay::Batch ? 0 : 1;
  }
  pieceOrder_.resize(static_cast<size_t>(pieces));
  for (int k = 0; k < pieces; ++k) pieceOrder_[static_cast<size_t>(k)] = k;
  std::stable_sort(pieceOrder_.begin(), pieceOrder_.end(), [this](int a, int b) {
    return pieceCost_[static_cast<size_t>(a)] > pieceCost_[static_cast<size_t>(b)];
  });
}

void TComputeCycle::TakeActiveSnapshot(const TSatelliteList& list, TTimeControl& time) {
  if (!list.HasActiveSat() || list.InfoShownSat == list.ActiveSat) return;
  const TPropagator* model = models_[static_cast<size_t>(list.ActiveSat)];
  if (model == nullptr) return;
  const TElements& e = model->CurrentElements;
  time.SetActivePeriod(e.periodDays);
  ActiveSnapshot.valid = true;
  ActiveSnapshot.name = list.NameOf(list.ActiveSat);
  ActiveSnapshot.elements = e;
  ActiveSnapshot.revsPerDay = 1.0 / e.periodDays;
}

void TComputeCycle::ComputeSatellites(TSatelliteList& list, const TTickSky& sky) {
  const int positions = list.TrackedCount;
  const int pieces = (positions + kPiecePositions - 1) / kPiecePositions;
  // Each piece counts its own satellites while their states are at hand.
  std::atomic<int> visible{0};
  std::atomic<int> eclipsed{0};
  auto piece = [&](int k) {
    const int first = 1 + pieceOrder_[static_cast<size_t>(k)] * kPiecePositions;
    const TCounts counts =
        ComputePiece(list, sky, first, std::min(positions + 1, first + kPiecePositions));
    visible.fetch_add(counts.visible, std::memory_order_relaxed);
    eclipsed.fetch_add(counts.eclipsed, std::memory_order_relaxed);
  };
  if (team_ != nullptr && positions >= kSharedFrom && !slotRepeated_) {
    team_->Share(pieces, piece);
  } else {
    for (int k = 0; k < pieces; ++k) piece(k);
  }
  VisibleCount = visible.load(std::memory_order_relaxed);
  VisibleEclipsedCount = eclipsed.load(std::memory_order_relaxed);
}

// Positions [first, last): the lanes of each batch among them propagated together, the others
// each by its own propagator; then what the site sees of every state that came out, in the
// vector units. Pieces touch disjoint positions, lanes and propagators, so several threads can compute
// several pieces at once.
TComputeCycle::TCounts TComputeCycle::ComputePiece(TSatelliteList& list, const TTickSky& sky,
                                                   int first, int last) {
  static_assert(kPiecePositions <= static_cast<int>(TSightBlock::kCapacity),
                "a piece's states must fit one block");
  size_t lane = laneStart_[static_cast<size_t>(first)];
  const size_t laneEnd = laneStart_[static_cast<size_t>(last)];
  if (lane < laneEnd) batch_.PropagateVector(lane, laneEnd, sky.moment);
  size_t deepLane = deepLaneStart_[static_cast<size_t>(first)];
  const size_t deepLaneEnd = deepLaneStart_[static_cast<size_t>(last)];
  if (deepLane < deepLaneEnd) deepBatch_.PropagateVector(deepLane, deepLaneEnd, sky.moment);
  TSightBlock block;
  int seen[TSightBlock::kCapacity];
  size_t count = 0;
  for (int i = first; i < last; ++i) {
    const size_t position = static_cast<size_t>(i);
    TSatState& state = list.TrackedSats[position];
    TVector pos;
    TVector vel;
    TPropagationStatus status = TPropagationStatus::Ok;
    switch (ways_[position]) {
      case TWay::Batch:
        status = batch_.Result(lane++, pos, vel);
        break;
      case TWay::DeepBatch:
        status = deepBatch_.Result(deepLane++, pos, vel);
        break;
      case TWay::Single:
        status = models_[position]->Propagate(pos, vel, sky.moment);
        break;
      case TWay::None:
        state.computed = false;
        continue;
    }
    if (status != TPropagationStatus::Ok) {
      state.computed = false;
      continue;
    }
    // TPropagator::ScaleStateToKm, the magnitudes left to the vector units.
    block.x[count] = pos.x * kEarthRadiusKm;
    block.y[count] = pos.y * kEarthRadiusKm;
    block.z[count] = pos.z * kEarthRadiusKm;
    block.vx[count] = vel.x * kKmPerSecond;
    block.vy[count] = vel.y * kKmPerSecond;
    block.vz[count] = vel.z * kKmPerSecond;
    seen[count++] = i;
  }
  SightsInFrame(sky.site, sky.siderealAngle, sky.sun, block, count);
  TCounts counts;
  for (size_t k = 0; k < count; ++k) {
    TSatState& state = list.TrackedSats[static_cast<size_t>(seen[k])];
    state.position = TVector{block.x[k], block.y[k], block.z[k], block.distance[k]};
    state.velocity = TVector{block.vx[k], block.vy[k], block.vz[k], block.speed[k]};
    state.geodetic = TGeodetic{block.latitude[k], block.longitude[k], block.altitude[k],
                               block.theta[k]};
    state.lookAngles =
        TLookAngles{block.azimuth[k], block.elevation[k], block.range[k], block.rangeRate[k]};
    state.raDec = TLookAngles{block.rightAscension[k], block.declination[k], block.range[k],
                              block.rangeRate[k]};
    state.eclipse = block.eclipse[k];
    state.latitude = block.latitudeDeg[k];
    state.longitude = FoldLongitude(block.longitudeDeg[k]);
    state.azimuth = block.azimuthDeg[k];
    state.elevation = block.elevationDeg[k];
    state.rightAscension = block.rightAscensionDeg[k];
    state.declination = block.declinationDeg[k];
    state.computed = std::isfinite(state.latitude) && std::isfinite(state.longitude) &&
                     std::isfinite(state.elevation);
    if (state.computed && AboveHorizon(state.elevation)) {
      ++counts.visible;
      if (state.eclipse == kUmbra) ++counts.eclipsed;
    }
  }
  return counts;
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
  if (!SizedFor(list)) SizeForLoad(list);

  // 1. The Sun and the site.
  const TTickSky sky = ComputeSun(nowUtc, site);

  // 2. The day/night boundary, at most once a minute of computed time.
  if (options.solarIllumination && std::fabs(nowUtc - TerminatorTime) >= time.UnitLength[1]) {
    TerminatorTime = nowUtc;
    for (int i = 0; i < kTerminatorPoints; ++i) {
      TLatLon& p = TerminatorPoints[static_cast<size_t>(i)];
      Skok(p.latitude, p.longitude, 90.0, i * 3.0, SunNow.subLongitude, SunNow.subLatitude);
    }
  }

  // The Moon and the sky's frame.
  SkyNow.Compute(nowUtc, site, sky.site, time.UtcOffsetHours());

  // 3.-4. Every tracked satellite, counted in list order.
  if (!LayoutCurrent(list)) LayOut(list);
  TakeActiveSnapshot(list, time);
  ComputeSatellites(list, sky);

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
