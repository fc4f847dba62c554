// The radar: the observer's sky with the tracked satellites above the horizon, or the logo.
#include "display/radar_view.h"

#include "core/sun.h"
#include "display/canvas.h"
#include "display/map_background.h"
#include "display/name_layout.h"
#include "display/radar_primitives.h"

namespace zen {

namespace {

// The active satellite's name when it is above the horizon, its box taken before any other.
TPlacedName ReserveActiveName(TNameLayout& names, const TSatelliteList& list) {
  if (!list.HasActiveSat()) return {};
  const TSatState& active = list.TrackedSats[static_cast<size_t>(list.ActiveSat)];
  if (!active.computed || !AboveHorizon(active.elevation)) return {};
  return names.Reserve(AzElToRadar(active.azimuth, active.elevation),
                       QString::fromStdString(list.NameOf(list.ActiveSat)));
}

// Every computed satellite above the horizon, each followed by its name when "Names" is on
// and, as on the map, the name covers no name placed before it (the active one's always).
void DrawSatellites(TCanvas& canvas, const TMapScene& scene) {
  const TSatelliteList& list = scene.list;
  const bool withNames = scene.show.radarNames;
  SetRadarLabelFont(canvas);
  TNameLayout names(canvas, kRadarLabels);
  const TPlacedName activeName = withNames ? ReserveActiveName(names, list) : TPlacedName{};
  for (int i = 1; i <= list.TrackedCount; ++i) {
    const TSatState& sat = list.TrackedSats[static_cast<size_t>(i)];
    if (!sat.computed || !AboveHorizon(sat.elevation)) continue;
    const QPoint at = AzElToRadar(sat.azimuth, sat.elevation);
    const bool active = i == list.ActiveSat;
    DrawRadarSymbol(canvas, at, sat.eclipse == kUmbra, active);
    if (!withNames) continue;
    if (active) {
      canvas.TextOut(activeName.box.left(), activeName.box.top(), activeName.text);
    } else if (auto placed = names.Place(at, list.NameOf(i))) {
      canvas.TextOut(placed->box.left(), placed->box.top(), placed->text);
    }
  }
}

void DrawSky(TCanvas& canvas, const TMapScene& scene) {
  DrawCentredOnBlack(canvas, scene.bitmaps.RadarBitmap);
  DrawSatellites(canvas, scene);
  const TSatelliteList& list = scene.list;
  const TShowOptions& show = scene.show;
  const bool hasActive = list.HasActiveSat();
  if (!hasActive || !(show.radarTrack || show.radarMarkers)) return;
  // Drawn over the symbols; a segment needs one end strictly above the horizon.
  const auto& track = scene.cycle.ActiveTrack;
  for (int k = 0; k + 1 < kTrackSamples; ++k) {
    const TTrackSample& a = track[static_cast<size_t>(k)];
    const TTrackSample& b = track[static_cast<size_t>(k + 1)];
    if (!a.computed || !b.computed) continue;
    if (!(a.elevation > 0.0 || b.elevation > 0.0)) continue;
    DrawLineV(canvas, show, {a.azimuth, a.elevation}, {b.azimuth, b.elevation}, b.umbra != 0);
  }
}

}  // namespace

TRadarDraw TRadarView::DrawRadar(QImage& radar, const TMapScene& scene) {
  TRadarDraw result;
  const bool shown = scene.cycle.RadarShown;
  if (shown) {
    TCanvas canvas(radar);
    DrawSky(canvas, scene);
    result.painted = true;
  } else if (RadarWasShown) {
    TCanvas canvas(radar);
    DrawCentredOnBlack(canvas, scene.bitmaps.LogoBitmap);
    result.painted = true;
  }
  result.crosshair = shown;
  RadarWasShown = shown;
  return result;
}

}  // namespace zen
