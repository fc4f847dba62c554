// When and where to move the rotator: pre-positioning before a pass, following it, parking after.
#pragma once

#include <limits>
#include <optional>

#include "station/pass_window.h"
#include "station/rotator_path.h"
#include "station/satellite_look.h"

namespace zen::station {

struct TRotatorSettings {
  double minElevationDeg = 0;  // followed from this elevation up
  // A new command only when the aim moved more than this on either axis since the last one.
  double toleranceDeg = 1.0;
  double cycleSeconds = 1.0;  // at least this long between commands while following
  double leadSeconds = 120;   // pre-positioned this long before the rise
  TRotatorGeometry geometry;
  bool park = false;  // go to parkAim after a pass
  TAim parkAim{0, 90};
};

struct TRotatorMove {
  enum class TKind { None, Point, Park } kind = TKind::None;
  TAim aim;  // within the rotator's range
};

// The rotator's controller. Step proposes; the caller sends the proposal and reports with Sent,
// so a command that failed is simply proposed again. The distance between aims is the larger of
// the azimuth and elevation differences in the rotator's own terms: the two axes move on their
// own, and near the zenith a small step in the sky can be a long way round in azimuth.
class TRotatorControl {
 public:
  explicit TRotatorControl(TRotatorSettings settings);

  // nowJd: the clock; lookAt: the target; pass: FindPass's answer for nowJd (the pass under way
  // or the next). Proposes:
  //  - within leadSeconds before the rise: the path is chosen from the pass's track, and the
  //    rotator pointed at the path's first aim (the rise azimuth at the horizon) unless it is
  //    there already;
  //  - during the pass, while the target is at or above minElevationDeg: Point when nothing was
  //    sent yet, or when cycleSeconds have passed since the last command and the aim moved by
  //    more than toleranceDeg;
  //  - once the followed pass has set: Park at parkAim (brought into the range by whole turns,
  //    the nearer of two to where the rotator was last known) when settings.park and the park
  //    is within reach, until it was sent, unless the next pass is already within its lead;
  //    otherwise nothing, and the rotator stays.
  // The path is chosen from looks every 2 s from the rise to the set; one chosen during a pass
  // covers the track from now on, one for a pass still up at the end of its search a day. A
  // clock set back (the tracker's time control) does not hold commands until it catches up.
  TRotatorMove Step(double nowJd, const TLookAt& lookAt, const TPassWindow& pass);
  // The move went out at nowJd.
  void Sent(const TRotatorMove& move, double nowJd);
  // After a failure or a reconnection: where the rotator stands is unknown, so the next Step
  // proposes a command again.
  void Forget();
  std::optional<TAim> LastSent() const { return lastSent_; }
  // The rotator read back where it stands.
  void Reported(const TAim& actual) { lastKnownAzDeg_ = actual.azDeg; }
  // The azimuth of the last command sent or position read, whichever came later; even after a
  // failure it tells which of two turns the rotator is nearer.
  std::optional<double> LastKnownAzDeg() const { return lastKnownAzDeg_; }
  // Another satellite is followed: its passes are prepared afresh even where they overlap the
  // last one's. Where the rotator stands is kept.
  void NewTarget();

  const TRotatorSettings& Settings() const { return settings_; }
  // The path of the pass being followed or prepared; null between passes.
  const TPassPath* Path() const { return path_ ? &*path_ : nullptr; }
  // How many paths were chosen so far: a caller sees a new one come.
  int PathsChosen() const { return pathsChosen_; }

 private:
  void ChoosePath(double nowJd, const TLookAt& lookAt, const TPassWindow& pass);
  TRotatorMove ParkIfDue() const;

  TRotatorSettings settings_;
  std::optional<TPassPath> path_;
  double pathRiseJd_ = std::numeric_limits<double>::quiet_NaN();
  double pathSetJd_ = std::numeric_limits<double>::quiet_NaN();
  // The last pass followed to its set. Searched again within its last second (the set is given
  // on the upper side of the limit), it comes back as under way; it must not be prepared anew.
  double finishedRiseJd_ = std::numeric_limits<double>::quiet_NaN();
  double finishedSetJd_ = std::numeric_limits<double>::quiet_NaN();
  TAim firstAim_;  // of path_
  bool parkDue_ = false;
  std::optional<TAim> lastSent_;
  std::optional<double> lastKnownAzDeg_;
  int pathsChosen_ = 0;
  double lastSentJd_ = std::numeric_limits<double>::quiet_NaN();
};

}  // namespace zen::station
