// The pointer over the map, the radar and the time panel: readouts, hit tests and what a
// press does, decided without widgets so the window only carries the decision out.
#pragma once

#include <QString>
#include <string>

#include "display/map_screen.h"
#include "display/projection.h"
#include "display/time_display.h"

namespace zen {

// Hit radii in degrees of the two angles compared (Euclidean in their plane, no wrap at
// +-180 or 0/360). A hit needs a distance strictly below the radius.
inline constexpr double kMapSatHitDeg = 5.0;
inline constexpr double kMapTrackHitDeg = 5.0;
inline constexpr double kRadarSatHitDeg = 10.0;
inline constexpr double kRadarTrackHitDeg = 5.0;
inline constexpr int kNoTrackSample = -1;

// The tracked satellite nearest to (a, b) within its radius: on the map (a, b) is the
// pointer's (latitude, longitude), on the radar its (azimuth, elevation). Satellites below the
// horizon take part; those whose model broke down at the last cycle do not. Of equal
// distances the earlier in the list wins. 1-based position, or 0 for none.
int NearestSat(const TSatelliteList& list, bool onRadar, double a, double b);

// The nearest computed sample (0..100) of the active track within 5 degrees, compared as
// NearestSat does, or kNoTrackSample.
int NearestTrackSample(const TComputeCycle& cycle, bool onRadar, double a, double b);

// Track samples are hit only with an active satellite whose track that view draws (map:
// "Track line" or "Track markers"; radar: "Track" or "Markers").
bool TrackHitAllowed(const TSatelliteList& list, const TShowOptions& show, bool onRadar);

// " hh:mm:ss (UTC)" or " hh:mm:ss (UTC +h:mm)": the time of a track sample in the scale the
// "Time" choice shows.
std::string MarkerText(const TComputeCycle& cycle, const TTimeControl& time, int sample);

// The footer hint for the pointer at pixel (x, y) of the map: position, grid locator and the
// satellite or track marker under it. The window sends it to the footer's hint slot.
QString MapReadout(const TMapScene& scene, int x, int y);

// The same for the radar: azimuth and elevation, then the satellite, the track marker or the
// radar status with the Sun's elevation. Empty while the radar is not shown, which the
// footer's hint slot turns into the banner.
QString RadarReadout(const TMapScene& scene, int x, int y);

// What a press on the map or the radar asks of the window.
enum class TPressAction {
  None,
  OpenMapPopup,   // map popup at the pointer; "Stop tracking" only with popupSat > 0
  SetActive,      // ActiveSat := newActiveSat (0 = none); the Tracked list follows; recompute
  GoToMarker,     // simulation at the marker's time (see TPressDecision)
  StepRadarMode,  // radar mode := radarMode, then its own click handler recomputes
};

struct TPressDecision {
  TPressAction action = TPressAction::None;
  // Map presses, any button: the new PickedPoint.
  bool picked = false;
  TMapPoint pickedPoint;
  // OpenMapPopup.
  int popupSat = 0;
  QString stopTrackingCaption;  // "Stop tracking: " + name, 39 characters at most
  // SetActive.
  int newActiveSat = 0;
  // GoToMarker: switch to simulation, SimTime := markerSimTime (local clock), fetch the time,
  // recompute and redraw; then, when middleAfter, "Sat on track" := "Middle" (redraw again)
  // and WentToEvent := true.
  int marker = kNoTrackSample;
  double markerUtc = 0.0;
  double markerSimTime = 0.0;
  bool middleAfter = false;
  // StepRadarMode.
  TRadarMode radarMode = TRadarMode::On;
};

// On -> Off -> Auto -> On.
TRadarMode NextRadarMode(TRadarMode mode);

// A press on the map (rightButton for the popup), at pixel (x, y).
TPressDecision MapPress(const TMapScene& scene, bool rightButton, int x, int y);
// A press on the radar; it selects and jumps whether or not the radar is shown, but a press
// on the active satellite leaves it active.
TPressDecision RadarPress(const TMapScene& scene, bool rightButton, int x, int y);

enum class TTimePanelAction {
  None,
  ToggleMode,         // real time <-> simulation
  PressAutoForward,   // the "Auto fwd" button
  PressAutoBackward,  // the "Auto bck" button
  ToggleScale,        // "Time": UTC <-> Local
  ToggleView,         // TimePanelAltView, then redraw the panel
};

// The click zones of the time panel, any button. The dividing lines belong to no zone, and
// the automatic zone answers only in simulation, stepping OFF -> FWD -> BCK -> OFF.
TTimePanelAction TimePanelPress(const TTimeControl& time, int x, int y,
                                int widthPx = kTimePanelWidth, int heightPx = kTimePanelHeight);

}  // namespace zen
