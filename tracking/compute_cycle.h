// The compute cycle: the Sun, the site, every tracked satellite, the counts, the day/night
// boundary and the active satellite's ground track at one moment.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/elements.h"
#include "core/observer.h"
#include "core/propagator.h"
#include "core/sdp4_batch.h"
#include "core/sgp4_batch.h"
#include "tracking/cycle_team.h"
#include "tracking/options.h"
#include "tracking/satellite_list.h"
#include "tracking/sky_now.h"
#include "tracking/time_control.h"

namespace zen {


// Any mode above 2 reads as "On".
TRadarMode RadarModeFromIndex(int mode);
// A satellite counts as visible from the horizon up (elevation >= 0 degrees).
inline bool AboveHorizon(double elevationDeg) { return elevationDeg >= 0.0; }
inline bool RadarShownFor(TRadarMode mode, int visibleCount) {
  return mode == TRadarMode::On || (mode == TRadarMode::Auto && visibleCount > 0);
}

struct TSunNow {
  double moment = 0.0;
  double azimuth = 0.0;        // degrees, seen from the site
  double elevation = 0.0;      // degrees
  double subLatitude = 0.0;    // degrees
  double subLongitude = 0.0;   // degrees, (-180, 180]
  TVector position;            // inertial, km
  TGeodetic geodetic;          // sub-solar point
  TLookAngles lookAngles;
  TLookAngles raDec;
  TVector sitePosition;
  TVector siteVelocity;
  TGeodetic site;
};

struct TTrackSample {
  double time = 0.0;       // Julian date, UTC
  double latitude = 0.0;   // degrees
  double longitude = 0.0;  // degrees, (-180, 180]
  double azimuth = 0.0;    // degrees
  double elevation = 0.0;  // degrees
  uint8_t umbra = 0;       // 1 in the full shadow
  TVector position;        // inertial, km
  bool computed = false;   // false where the model broke down
};

struct TLatLon {
  double latitude = 0.0;   // degrees
  double longitude = 0.0;  // degrees
};

inline constexpr int kTrackSamples = 101;
inline constexpr int kTerminatorPoints = 121;

// The active satellite's elements as the orbit page shows them.
struct TActiveSnapshot {
  bool valid = false;
  std::string name;
  TElements elements;
  double revsPerDay = 0.0;
};

// The point at a distance and bearing (degrees) from a start point on the sphere. Distances
// above 90 degrees are taken as 90; longitudes are folded only below -180.
void Skok(double& lat2, double& lon2, double distanceDeg, double bearingDeg, double lon1,
          double lat1);

// A tick computes the near-earth sets in the processor's vector units
// (TNearEarthBatch::PropagateVector: within a millimetre and a micrometre per second of
// TPropagator::Propagate, the same statuses) and the others one by one through their own
// propagators; what follows from the states (sub-point, look angles, right ascension and
// declination, shadow) is computed for a piece's states together in the vector units
// (SightsInFrame: within a few units in the last place of the one-satellite functions). A
// satellite's numbers are those of its set computed alone. A long list is shared with a few
// helper threads the cycle keeps from the first large load.
class TComputeCycle {
 public:
  TComputeCycle();

  // Computes everything for nowUtc. The site's theta is written; time supplies (and gets)
  // the unit lengths of the active satellite's period.
  void LiczWszo(double nowUtc, TGeodetic& site, TSatelliteList& list, TTimeControl& time,
                const TShowOptions& options);

  TSunNow SunNow;
  std::array<TLatLon, kTerminatorPoints> TerminatorPoints{};
  double TerminatorTime = 0.0;
  std::array<TTrackSample, kTrackSamples> ActiveTrack{};
  int VisibleCount = 0;  // a whole catalogue may be tracked: not a 16-bit count
  int VisibleEclipsedCount = 0;
  bool RadarShown = false;
  TActiveSnapshot ActiveSnapshot;
  // The Moon and the sky's frame at the moment; not valid outside the sky's dates.
  TSkyNow SkyNow;

  // The propagator of a catalogue slot, loaded once per catalogue load; nullptr when the
  // set cannot be decoded.
  TPropagator* PropagatorFor(const TSatelliteList& list, int catalogIndex);

 private:
  // What every satellite of one tick shares, worked out once per tick.
  struct TTickSky {
    double moment = 0.0;         // Julian date, UTC
    double siderealAngle = 0.0;  // Greenwich, rad
    TObserverFrame site;
    TVector sun;  // km
  };
  // How a tracked position is computed: not at all (no decodable set), in a lane of the
  // near-earth batch or of the deep-space batch, or through its own propagator.
  enum class TWay : uint8_t { None, Batch, DeepBatch, Single };

  bool SizedFor(const TSatelliteList& list) const;
  void SizeForLoad(const TSatelliteList& list);
  TTickSky ComputeSun(double nowUtc, TGeodetic& site);
  bool LayoutCurrent(const TSatelliteList& list) const;
  void LayOut(const TSatelliteList& list);
  void TakeActiveSnapshot(const TSatelliteList& list, TTimeControl& time);
  // Visible satellites and those of them in the full shadow.
  struct TCounts {
    int visible = 0;
    int eclipsed = 0;
  };
  void ComputeSatellites(TSatelliteList& list, const TTickSky& sky);
  TCounts ComputePiece(TSatelliteList& list, const TTickSky& sky, int first, int last);
  void ComputeTrack(TPropagator& propagator, double nowUtc, const TGeodetic& site,
                    TSatOnTrack satOnTrack);

  // One propagator per catalogue slot, so a tick does not set up every model again.
  std::vector<TPropagator> propagators_;
  std::vector<uint64_t> loadedGeneration_;  // catalogue generation each slot was loaded for
  std::vector<bool> decodable_;
  bool sized_ = false;
  uint64_t sizedGeneration_ = 0;

  // The tracked list as the satellites were last laid out, by tracked position (1-based),
  // sized at load: the slot, the model and the way of each position, and the first batch lane
  // of each position and of the ones after it.
  std::vector<int32_t> laidOutSlot_;
  std::vector<TPropagator*> models_;
  std::vector<TWay> ways_;
  std::vector<size_t> laneStart_;
  std::vector<size_t> deepLaneStart_;  // the same for the deep-space batch
  // The pieces of a tick, those with the most sets outside the near-earth batch first: a
  // deep-space set costs several near-earth lanes and a set of its own tens, and a heavy piece
  // taken last would keep the others waiting.
  std::vector<int> pieceOrder_;
  std::vector<int> pieceCost_;  // sets outside the near-earth batch, per piece
  int laidOutCount_ = -1;
  // A slot tracked twice would share one propagator between two threads: such a list is
  // computed on the calling thread alone.
  bool slotRepeated_ = false;
  std::vector<uint32_t> slotSeen_;  // layout stamp per catalogue slot
  uint32_t layoutStamp_ = 0;
  TNearEarthBatch batch_;
  // A deep-space lane is a copy of its set's propagator taken at layout and then fed only the
  // ticks' moments, so what the cycle shows does not hang on the ground track's or the
  // details' calls to the propagator (the deep-space model keeps state from call to call).
  TDeepSpaceBatch deepBatch_;
  std::unique_ptr<TCycleTeam> team_;  // started at the first load large enough to share
};

}  // namespace zen
