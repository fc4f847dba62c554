// The path an azimuth-elevation rotator takes through a pass: which way round, and whether
// flipped over the top, so that the antenna never has to swing across its azimuth stop.
#pragma once

#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace zen::station {

// The azimuths a rotator reaches: 0..360 with its stop at north, -180..180 with its stop at
// south, or 0..450, where 0..90 can be reached two ways.
enum class TAzimuthRange { From0To360, From180To180, From0To450 };

struct TRotatorGeometry {
  TAzimuthRange range = TAzimuthRange::From0To360;
  // Elevation goes on to 180 degrees, so (az, el) can also be pointed as (az + 180, 180 - el).
  bool flip = false;
};

double LowestAzimuthDeg(TAzimuthRange range);
double HighestAzimuthDeg(TAzimuthRange range);
// 90, or 180 for a rotator that can flip.
double HighestElevationDeg(const TRotatorGeometry& geometry);

// A position in the rotator's own terms: azimuth within its range, elevation from 0 up to its
// highest.
struct TAim {
  double azDeg = 0;
  double elDeg = 0;
};

// The nearest position the rotator can take; a value that is not a number becomes the lowest.
// Every command of a pass's path passes through here, so none can leave the range whatever the
// path decided.
TAim ClampToRange(const TRotatorGeometry& geometry, TAim aim);

// A direction given by any azimuth (a park position, typed) as a position the rotator can take:
// the azimuth brought into the range by whole turns, so 270 is -90 in -180..180 and -30 is 330
// in 0..450. Where two turns fit (0..90 in 0..450, or the stop's own azimuth), the one nearest
// nearAzDeg, the rotator's last known azimuth; without it the azimuth as given when it fits, else
// the lowest. No turn changes an elevation: one outside 0 to HighestElevationDeg, or a value that
// is not a number, leaves the direction out of reach (nullopt).
std::optional<TAim> IntoRange(const TRotatorGeometry& geometry, TAim aim,
                              std::optional<double> nearAzDeg = {});
// Why IntoRange leaves aim out of reach ("elevation 95° is beyond the rotator's 0° to 90°"), or
// an empty text when it does not.
std::string OutOfReachText(const TRotatorGeometry& geometry, TAim aim);

// Chosen once at the start of a pass from the pass's whole track; then turns each look into a
// command that moves on from the previous one without jumping.
class TPassPath {
 public:
  // A path over no known track: plain azimuths (the lowest form within the range), not flipped.
  TPassPath() = default;
  explicit TPassPath(const TRotatorGeometry& geometry) : geometry_(geometry) {}

  // passLookDeg: the satellite's azimuth ([0, 360)) and elevation over the pass, in time order,
  // a few seconds apart. The track is unwrapped into a continuous run of azimuths, and a whole
  // number of turns is sought that puts all of it inside the range: first for the normal aims,
  // then, when the rotator flips, for the flipped ones. Where several turns fit, the one whose
  // first aim lies nearest rotatorNow (the most either axis must move) is taken, without
  // rotatorNow the lowest. When nothing fits, the normal aims with the fewest crossings of the
  // stop (one, for any pass shorter than a turn).
  static TPassPath Choose(const TRotatorGeometry& geometry, const std::vector<TAim>& passLookDeg,
                          std::optional<TAim> rotatorNow = {});

  bool Flipped() const { return flipped_; }
  // The pass cannot be followed without swinging across the stop once.
  bool CrossesStop() const { return crossesStop_; }

  // The command for the satellite at (azDeg, elDeg): the first call starts where the path
  // starts, each later one takes the azimuth nearest the previous one. Only when that would
  // leave the range by more than a small grace (a look a little past the sampled track) does
  // the azimuth swing round to the other end. Elevation below 0 points at the horizon.
  TAim AimFor(double azDeg, double elDeg);

 private:
  // The continuous azimuth for a look's azimuth (already flipped if so); counts a swing round.
  double NextAzimuthDeg(double azDeg, int& crossings);

  TRotatorGeometry geometry_;
  bool flipped_ = false;
  bool crossesStop_ = false;
  double startAzDeg_ = std::numeric_limits<double>::quiet_NaN();  // NaN: the plain form
  std::optional<double> previousAzDeg_;  // before clamping, so continuity survives the clamp
  std::optional<TAim> lastAim_;
};

}  // namespace zen::station
