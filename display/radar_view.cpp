// The radar: the observer's sky with the tracked satellites above the horizon, or the logo.
#include "display/radar_view.h"

#include "core/sun.h"
#include "display/canvas.h"
#include "display/map_background.h"
#include "display/radar_primitives.h"

namespace zen {

namespace {

void DrawSky(TCanvas& canvas, const TMapScene& scene) {
  DrawCentredOnBlack(canvas, scene.bitmaps.RadarBitmap);
  const TSatelliteList& list = scene.list;
  const TShowOptions& show = scene.show;
  for (int i = 1; i <= list.TrackedCount; ++i) {
    const TSatState& sat = list.TrackedSats[static_cast<size_t>(i)];
    if (!sat.computed || !AboveHorizon(sat.elevation)) continue;
    DrawPointV(canvas, show, QString::fromStdString(list.NameOf(i)), sat.eclipse == kUmbra,
               sat.azimuth, sat.elevation, i == list.ActiveSat);
  }
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
