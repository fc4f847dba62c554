// Dots for views too crowded for symbols and names: how large and how strong they are drawn.
#pragma once

#include "tracking/list_counts.h"
#include "tracking/satellite_list.h"

namespace zen {

// One dot: a square of this many device pixels a side, laid over the view with this alpha
// (out of 256).
struct TDotStyle {
  int sizeDevicePx = 1;
  int alpha256 = 256;
  bool operator==(const TDotStyle&) const = default;
};

// More than kFewTrackedMax tracked: the map and the radar draw dots.
inline bool CrowdedView(const TSatelliteList& list) {
  return list.TrackedCount > kFewTrackedMax;
}

// The dots for `dots` satellites spread over a view of areaPx logical pixels on a screen of
// devicePixelRatio. The ink they lay down (dots x dot area x alpha) is held at what
// kFewTrackedMax three-pixel dots lay on the documented map: the denser the view, the smaller
// the dots, down to one logical pixel, then the fainter, down to a floor at which a lone dot
// still shows. On a sharper screen a dot keeps its logical size, and where that is not a whole
// number of device pixels its alpha makes up for the pixels it gains or loses.
TDotStyle CrowdDotStyle(int dots, double areaPx, double devicePixelRatio);

}  // namespace zen
