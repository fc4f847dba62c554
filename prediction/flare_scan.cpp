// The panel scan of a flare search.
#include "prediction/flare_scan.h"

#include "core/flare.h"

namespace zen {

TPanelAngles PanelAnglesDeg(const TVector& pos, const TVector& vel, const TVector& observerPos,
                            double jd, const TGeodetic& observer, const TLookAngles& sunRaDec) {
  const TVector lineOfSight = VecSub(pos, observerPos);
  TPanelAngles angles{};
  for (size_t panel = 0; panel < angles.size(); ++panel) {
    angles[panel] = Degrees(FlareOffset(pos, vel, lineOfSight, jd, observer,
                                        Radians(kIridiumPanelAzimuthsDeg[panel]),
                                        Radians(kIridiumPanelTiltDeg), sunRaDec));
  }
  return angles;
}

void TPanelScan::Start(const TPanelAngles& before) {
  previous_ = before;
  smallest_ = before;
  falling_ = {};
}

std::array<bool, 3> TPanelScan::Next(const TPanelAngles& angles) {
  std::array<bool, 3> minimum{};
  bool found = false;
  for (size_t panel = 0; panel < angles.size(); ++panel) {
    // A falling panel's smallest angle is the previous second's.
    if (falling_[panel] && angles[panel] > smallest_[panel]) {
      minimum[panel] = true;
      falling_[panel] = false;
      found = true;
    }
  }
  // The new stretch begins at the previous second for all three panels alike, before any of
  // them takes this second's angle: a panel whose angle is still falling keeps falling.
  if (found) smallest_ = previous_;
  for (size_t panel = 0; panel < angles.size(); ++panel) {
    if (angles[panel] < smallest_[panel]) {
      smallest_[panel] = angles[panel];
      falling_[panel] = true;
    }
  }
  previous_ = angles;
  return minimum;
}

}  // namespace zen
