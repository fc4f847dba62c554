// The pointer over the map, the radar and the time panel: readouts, hit tests and what a
// press does, decided without widgets so the window only carries the decision out.
#include "display/pointer.h"

#include <cmath>

#include "core/locator.h"
#include "core/numeric.h"
#include "core/timescale.h"
#include "tracking/info_texts.h"

namespace zen {

namespace {

constexpr int kStopTrackingCaptionLength = 39;

// The time panel's status row and the columns dividing it.
constexpr int kStatusRowBottom = 16;
constexpr int kModeZoneRight = 40;
constexpr int kAutoZoneRight = 118;

double Distance(double a1, double b1, double a2, double b2) {
  return std::sqrt((a1 - a2) * (a1 - a2) + (b1 - b2) * (b1 - b2));
}

bool HasActive(const TSatelliteList& list) {
  return list.HasActiveSat();
}

struct THits {
  int sat = 0;
  int sample = kNoTrackSample;
};

THits HitsAt(const TMapScene& scene, bool onRadar, double a, double b) {
  THits hits;
  hits.sat = NearestSat(scene.list, onRadar, a, b);
  if (TrackHitAllowed(scene.list, scene.show, onRadar)) {
    hits.sample = NearestTrackSample(scene.cycle, onRadar, a, b);
  }
  return hits;
}

// The satellite or marker part of a readout; empty when the pointer is near neither.
QString HitText(const TMapScene& scene, const THits& hits) {
  if (hits.sat > 0) {
    return QStringLiteral("  -  object: ") + QString::fromStdString(scene.list.NameOf(hits.sat));
  }
  if (hits.sample != kNoTrackSample) {
    return QStringLiteral("  -  track marker: ") +
           QString::fromStdString(MarkerText(scene.cycle, scene.time, hits.sample));
  }
  return QString();
}

TPressDecision GoToMarker(const TMapScene& scene, int sample) {
  TPressDecision d;
  d.action = TPressAction::GoToMarker;
  d.marker = sample;
  d.markerUtc = scene.cycle.ActiveTrack[static_cast<size_t>(sample)].time;
  d.markerSimTime = UtcToLocal(d.markerUtc, scene.time.UtcOffsetHours());
  d.middleAfter = scene.show.middleAfterGoToMarker;
  return d;
}

}  // namespace

int NearestSat(const TSatelliteList& list, bool onRadar, double a, double b) {
  const double radius = onRadar ? kRadarSatHitDeg : kMapSatHitDeg;
  int best = 0;
  double bestDistance = radius;
  for (int i = 1; i <= list.TrackedCount; ++i) {
    const TSatState& sat = list.TrackedSats[static_cast<size_t>(i)];
    if (!sat.computed) continue;
    double d = onRadar ? Distance(sat.azimuth, sat.elevation, a, b)
                       : Distance(sat.latitude, sat.longitude, a, b);
    // Strictly nearer only: the first of equal distances keeps the hit.
    if (d < bestDistance) {
      best = i;
      bestDistance = d;
    }
  }
  return best;
}

int NearestTrackSample(const TComputeCycle& cycle, bool onRadar, double a, double b) {
  const double radius = onRadar ? kRadarTrackHitDeg : kMapTrackHitDeg;
  int best = kNoTrackSample;
  double bestDistance = radius;
  for (int k = 0; k < kTrackSamples; ++k) {
    const TTrackSample& s = cycle.ActiveTrack[static_cast<size_t>(k)];
    if (!s.computed) continue;
    double d =
        onRadar ? Distance(s.azimuth, s.elevation, a, b) : Distance(s.latitude, s.longitude, a, b);
    if (d < bestDistance) {
      best = k;
      bestDistance = d;
    }
  }
  return best;
}

bool TrackHitAllowed(const TSatelliteList& list, const TShowOptions& show, bool onRadar) {
  if (!HasActive(list)) return false;
  return onRadar ? (show.radarTrack || show.radarMarkers) : (show.trackLine || show.trackMarkers);
}

std::string MarkerText(const TComputeCycle& cycle, const TTimeControl& time, int sample) {
  double moment = cycle.ActiveTrack[static_cast<size_t>(sample)].time;
  const bool local = time.Display == TTimeDisplay::Local;
  if (local) moment = UtcToLocal(moment, time.UtcOffsetHours());
  std::string text = DateRecToText(JulianToDateRec(moment));
  size_t blank = text.find(' ');
  text = blank == std::string::npos ? std::string() : text.substr(blank);
  return text + (local ? " (" + time.OffsetLabel() + ")" : std::string(" (UTC)"));
}

QString MapReadout(const TMapScene& scene, int x, int y) {
  TMapPoint p = MapToLonLat(scene.mapGeometry, x, y);
  std::string text = LatLonText(p.lon, false) + ", " + LatLonText(p.lat, true) + " [" +
                     LatLonToLocator(p.lat, p.lon) + "]";
  return QString::fromStdString(text) + HitText(scene, HitsAt(scene, false, p.lat, p.lon));
}

QString RadarReadout(const TMapScene& scene, int x, int y) {
  const TComputeCycle& cycle = scene.cycle;
  if (!cycle.RadarShown) return QString();
  TRadarPoint p = RadarToAzEl(scene.radarGeometry, x, y);
  QString text = QString::fromStdString("Azm: " + AngleText(p.az) + ", Elev: " + AngleText(p.el));
  QString hit = HitText(scene, HitsAt(scene, true, p.az, p.el));
  if (!hit.isEmpty()) return text + hit;
  text += QStringLiteral(" - radar status: %1 objects").arg(cycle.VisibleCount);
  if (cycle.VisibleEclipsedCount > 0) {
    text += QStringLiteral(" (%1 eclipsed)").arg(cycle.VisibleEclipsedCount);
  }
  return text + QString::fromStdString(" - Sun elevation: " + AngleText(cycle.SunNow.elevation));
}

TRadarMode NextRadarMode(TRadarMode mode) {
  switch (mode) {
    case TRadarMode::On:
      return TRadarMode::Off;
    case TRadarMode::Off:
      return TRadarMode::Auto;
    case TRadarMode::Auto:
      return TRadarMode::On;
  }
  return TRadarMode::On;
}

TPressDecision MapPress(const TMapScene& scene, bool rightButton, int x, int y) {
  TMapPoint p = MapToLonLat(scene.mapGeometry, x, y);
  THits hits = HitsAt(scene, false, p.lat, p.lon);
  TPressDecision d;
  if (rightButton) {
    d.action = TPressAction::OpenMapPopup;
    d.popupSat = hits.sat;
    if (hits.sat > 0) {
      d.stopTrackingCaption =
          (QStringLiteral("Stop tracking: ") + QString::fromStdString(scene.list.NameOf(hits.sat)))
              .left(kStopTrackingCaptionLength);
    }
  } else if (hits.sat > 0) {
    d.action = TPressAction::SetActive;
    d.newActiveSat = hits.sat == scene.list.ActiveSat ? 0 : hits.sat;
  } else if (hits.sample != kNoTrackSample) {
    d = GoToMarker(scene, hits.sample);
  }
  d.picked = true;
  d.pickedPoint = p;
  return d;
}

TPressDecision RadarPress(const TMapScene& scene, bool rightButton, int x, int y) {
  TPressDecision d;
  if (rightButton) {
    d.action = TPressAction::StepRadarMode;
    d.radarMode = NextRadarMode(scene.show.radarMode);
    return d;
  }
  TRadarPoint p = RadarToAzEl(scene.radarGeometry, x, y);
  THits hits = HitsAt(scene, true, p.az, p.el);
  if (hits.sat > 0) {
    if (hits.sat != scene.list.ActiveSat) {
      d.action = TPressAction::SetActive;
      d.newActiveSat = hits.sat;
    }
  } else if (hits.sample != kNoTrackSample) {
    d = GoToMarker(scene, hits.sample);
  }
  return d;
}

TTimePanelAction TimePanelPress(const TTimeControl& time, int x, int y, int widthPx, int heightPx) {
  if (PointInRect(x, y, 0, kStatusRowBottom, kModeZoneRight, 0)) {
    return TTimePanelAction::ToggleMode;
  }
  if (PointInRect(x, y, kModeZoneRight, kStatusRowBottom, kAutoZoneRight, 0)) {
    if (time.Mode() != TTimeMode::Simulation) return TTimePanelAction::None;
    // Backward stops a backward run; forward starts from rest; a forward run turns back.
    return time.AutoStep == 0 ? TTimePanelAction::PressAutoForward
                              : TTimePanelAction::PressAutoBackward;
  }
  if (PointInRect(x, y, kAutoZoneRight, kStatusRowBottom, widthPx, 0)) {
    return TTimePanelAction::ToggleScale;
  }
  if (PointInRect(x, y, 0, heightPx, widthPx, kStatusRowBottom)) {
    return TTimePanelAction::ToggleView;
  }
  return TTimePanelAction::None;
}

}  // namespace zen
