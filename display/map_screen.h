// The world map: every layer of a redraw, from the background to the tracked satellites.
#pragma once

#include <QImage>

#include "display/bitmaps.h"
#include "display/projection.h"
#include "display/show_options.h"
#include "tracking/compute_cycle.h"
#include "tracking/satellite_list.h"
#include "tracking/site.h"
#include "tracking/time_control.h"

namespace zen {

// What one redraw of the map and the radar reads; nothing here is changed by drawing.
struct TMapScene {
  const TSatelliteList& list;  // TrackedSats 1..TrackedCount, ActiveSat, names
  const TComputeCycle& cycle;  // SunNow, TerminatorPoints, ActiveTrack, counts, RadarShown
  const TSite& site;           // CurrentSite: name, sign, latitude, longitude
  const TShowOptions& show;    // the Options page's check boxes and choices
  const TBitmaps& bitmaps;     // world map and symbols
  const TTimeControl& time;    // the time line at the bottom right of the map
  // The world drawn for a map other than the documented one (larger, or sharper), or null.
  const QImage* largeWorld = nullptr;
  // Where the pointer readouts find the map and the radar in their images.
  TMapGeometry mapGeometry{};
  TRadarGeometry radarGeometry{};
};

// The element-age line's left edge and top on the documented map: over the map's foot, just
// above the site line. On any map it starts at the area's left edge, this far above its foot.
inline constexpr int kAgeLineLeft = 15;
inline constexpr int kAgeLineTop = 362;
inline constexpr int kAgeLineAboveAreaFoot = MapLeft + kMapAreaHeight - kAgeLineTop;

// Angular radius (degrees) of the circle from which a satellite at altitudeKm is above the
// horizon; 0 below 1 km, so a decayed set draws nothing.
double FootprintRadius(double altitudeKm);

// Repaints the map image (630 x 390) from the scene, every layer in order: background and
// labels, world bitmap, then, unless backgroundOnly, grid, site line and marker, time line,
// the active satellite's element age, day/night boundary, footprint, ground track, Sun, Moon
// (when chosen) and every tracked satellite. Satellites and track samples whose model broke
// down at the last cycle are left out. With more than kFewTrackedMax tracked the satellites are
// nameless dots (CrowdDotStyle), drawn before the active satellite's footprint, track, symbol and
// name.
//
// The map is one part of the window's redraw; after it the window draws the radar
// (TRadarView::DrawRadar), the time panel (DrawTimePanel) and the information grids.
void DrawScreen(QImage& map, const TMapScene& scene, bool backgroundOnly);

}  // namespace zen
