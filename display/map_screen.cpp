// The world map: every layer of a redraw, from the background to the tracked satellites.
#include "display/map_screen.h"

#include <cmath>

#include "core/elements.h"
#include "core/numeric.h"
#include "core/sun.h"
#include "display/canvas.h"
#include "display/colours.h"
#include "display/crowd_dots.h"
#include "display/fonts.h"
#include "display/map_background.h"
#include "display/map_primitives.h"
#include "display/moon_symbol.h"
#include "display/name_layout.h"
#include "display/projection.h"
#include "display/time_display.h"
#include "tracking/element_age.h"
#include "tracking/info_texts.h"

namespace zen {

namespace {

const QColor kGridColour{0x70, 0x70, 0x70};
// Greenwich and the equator stand out from the other grid lines.
const QColor kGridAxisColour{0x90, 0x90, 0x70};
const QColor kTerminatorDash{0xFF, 0xFF, 0x00};
const QColor kFootprintColour{0x00, 0xFF, 0x00};

// Below this the satellite is taken as on the ground: no footprint.
constexpr double kLowestFootprintAltitudeKm = 1.0;
// 30 degrees of longitude and of latitude on the map.
constexpr double kGridStepDeg = 30.0;
constexpr int kGreenwichMeridian = 6;
constexpr int kEquator = 3;
// The site line starts just below the map area's left corner (376 on the documented map).
constexpr int kSiteLineBelow = 1;
// The footprint circle is drawn every 3 degrees of bearing, 0 to 360.
constexpr int kFootprintPoints = 121;
constexpr double kFootprintBearingStepDeg = 3.0;
// A little smaller than the Sun's 15-pixel symbol.
constexpr double kMapMoonRadiusPx = 6.0;

void DrawGrid(TCanvas& canvas) {
  const TMapGeometry map = MapGeometryOf(canvas);
  for (int i = 0; i <= 12; ++i) {
    canvas.SetPenColour(i == kGreenwichMeridian ? kGridAxisColour : kGridColour);
    const int x = map.MeridianX(kGridStepDeg * i - 180.0);
    canvas.MoveTo(x, map.top);
    canvas.LineTo(x, map.Bottom());
  }
  for (int j = 0; j <= 6; ++j) {
    canvas.SetPenColour(j == kEquator ? kGridAxisColour : kGridColour);
    const int y = map.ParallelY(90.0 - kGridStepDeg * j);
    canvas.MoveTo(map.left, y);
    canvas.LineTo(map.Right(), y);
  }
}

void DrawSite(TCanvas& canvas, const TMapScene& scene) {
  canvas.SetBrushSolid(kBlack);
  canvas.SetFont(ZenFont(TFontFace::MsSansSerif, 8));
  canvas.SetFontColour(kWhite);
  const TSite& site = scene.site;
  std::string line =
      site.name + ": " + LatLonText(site.longitude, false) + ", " + LatLonText(site.latitude, true);
  const TMapGeometry map = MapGeometryOf(canvas);
  canvas.TextOut(map.left, map.Bottom() + kSiteLineBelow, QString::fromStdString(line));
  DrawPoint(canvas, scene.show, scene.bitmaps, pkSite, QString::fromStdString(site.sign),
            site.latitude, site.longitude, false);
}

void DrawTerminator(TCanvas& canvas, const TMapScene& scene) {
  const auto& points = scene.cycle.TerminatorPoints;
  for (int k = 1; k < kTerminatorPoints; ++k) {
    const TLatLon& a = points[static_cast<size_t>(k - 1)];
    const TLatLon& b = points[static_cast<size_t>(k)];
    // Odd segments (counting from 1) yellow, even ones black: a dashed curve.
    DrawLine(canvas, scene.show, lkPlain, {a.latitude, a.longitude}, {b.latitude, b.longitude},
             k % 2 == 1 ? kTerminatorDash : kBlack);
  }
}

// The Moon at its sub-point, in its phase, the lit side toward the precise Sun's place.
void DrawMoon(TCanvas& canvas, const TSkyNow& sky) {
  const TMapGeometry map = MapGeometryOf(canvas);
  const QPoint at = MapPixel(map, sky.moonSubLatitude, sky.moonSubLongitude);
  const QPointF towardSun =
      MapTowardSun(sky.sky.Moon().pos, sky.sky.Sun().pos, map.width / 360.0, map.height / 180.0);
  DrawMoonSymbol(canvas.Painter(), QPointF(at) + QPointF(0.5, 0.5), kMapMoonRadiusPx, towardSun,
                 sky.phase.illuminated);
}

void DrawFootprint(TCanvas& canvas, const TMapScene& scene, const TSatState& sat) {
  double radiusDeg = FootprintRadius(sat.geodetic.altitude);
  TMapPoint previous;
  for (int i = 0; i < kFootprintPoints; ++i) {
    TMapPoint p;
    Skok(p.lat, p.lon, radiusDeg, i * kFootprintBearingStepDeg, sat.longitude, sat.latitude);
    if (i > 0) DrawLine(canvas, scene.show, lkPlain, previous, p, kFootprintColour);
    previous = p;
  }
}

void DrawGroundTrack(TCanvas& canvas, const TMapScene& scene) {
  const auto& track = scene.cycle.ActiveTrack;
  for (int k = 0; k + 1 < kTrackSamples; ++k) {
    const TTrackSample& a = track[static_cast<size_t>(k)];
    const TTrackSample& b = track[static_cast<size_t>(k + 1)];
    if (!a.computed || !b.computed) continue;
    DrawLine(canvas, scene.show, lkTrack, {a.latitude, a.longitude}, {b.latitude, b.longitude},
             b.umbra ? kUmbraColour : kLitColour);
  }
}

// Every computed satellite's symbol in list order, each followed by its name when "Sat names"
// is on and the name has room: the active satellite's name always, any other only where it
// covers no name placed before it. With thousands tracked the names would bury the map.
void DrawSatellites(TCanvas& canvas, const TMapScene& scene) {
  const TSatelliteList& list = scene.list;
  const TShowOptions& show = scene.show;
  const TMapGeometry map = MapGeometryOf(canvas);
  TNameLayout names(canvas, MapSatLabels(map));
  TPlacedName activeName;
  if (show.satNames && list.HasActiveSat()) {
    const TSatState& active = list.TrackedSats[static_cast<size_t>(list.ActiveSat)];
    if (active.computed) {
      activeName = names.Reserve(MapPixel(map, active.latitude, active.longitude),
                                 QString::fromStdString(list.NameOf(list.ActiveSat)));
    }
  }
  canvas.SetBrushClear();
  for (int i = 1; i <= list.TrackedCount; ++i) {
    const TSatState& sat = list.TrackedSats[static_cast<size_t>(i)];
    if (!sat.computed) continue;
    const QPoint at = MapPixel(map, sat.latitude, sat.longitude);
    const bool active = i == list.ActiveSat;
    DrawSatSymbol(canvas, show, scene.bitmaps, active ? pkActiveSat : pkSat, at,
                  sat.eclipse == kUmbra);
    if (!show.satNames) continue;
    if (active) {
      canvas.TextOut(activeName.box.left(), activeName.box.top(), activeName.text);
    } else if (auto placed = names.Place(at, list.NameOf(i))) {
      canvas.TextOut(placed->box.left(), placed->box.top(), placed->text);
    }
  }
}

// A crowded map: every computed satellite but the active one as a dot, nameless, in list order.
void DrawSatelliteDots(TCanvas& canvas, const TMapScene& scene) {
  const TSatelliteList& list = scene.list;
  const TMapGeometry map = MapGeometryOf(canvas);
  const TDotStyle style = CrowdDotStyle(
      list.TrackedCount, static_cast<double>(map.width) * map.height, canvas.DevicePixelRatio());
  const QRgb lit = kLitColour.rgb();
  const QRgb umbra = scene.show.satColors ? kUmbraColour.rgb() : lit;
  for (int i = 1; i <= list.TrackedCount; ++i) {
    const TSatState& sat = list.TrackedSats[static_cast<size_t>(i)];
    if (!sat.computed || i == list.ActiveSat) continue;
    canvas.BlendSquare(MapPixel(map, sat.latitude, sat.longitude), style.sizeDevicePx,
                       sat.eclipse == kUmbra ? umbra : lit, style.alpha256);
  }
}

// The active satellite's symbol and, with "Sat names", its name: over everything else.
void DrawActiveSatellite(TCanvas& canvas, const TMapScene& scene) {
  const TSatelliteList& list = scene.list;
  if (!list.HasActiveSat()) return;
  const TSatState& active = list.TrackedSats[static_cast<size_t>(list.ActiveSat)];
  if (!active.computed) return;
  const TMapGeometry map = MapGeometryOf(canvas);
  const QPoint at = MapPixel(map, active.latitude, active.longitude);
  canvas.SetBrushClear();
  DrawSatSymbol(canvas, scene.show, scene.bitmaps, pkActiveSat, at, active.eclipse == kUmbra);
  if (!scene.show.satNames) return;
  TNameLayout names(canvas, MapSatLabels(map));
  const TPlacedName name = names.Reserve(at, QString::fromStdString(list.NameOf(list.ActiveSat)));
  canvas.TextOut(name.box.left(), name.box.top(), name.text);
}

// The active satellite's element age over the map's bottom left, above the site line; on the
// footer's alert colours when the elements are stale.
void DrawElementAgeLine(TCanvas& canvas, const TMapScene& scene) {
  const TElementAgeLine line = ActiveElementAge(scene.list, scene.time.NowUtc);
  if (line.text.empty()) return;
  canvas.SetFont(ZenFont(TFontFace::MsSansSerif, 8));
  canvas.SetFontColour(line.stale ? kWhite : kAgeLineColour);
  canvas.SetBrushSolid(line.stale ? kStaleAgeColour : kBlack);
  const TMapGeometry map = MapGeometryOf(canvas);
  canvas.TextOut(map.left, map.Bottom() - kAgeLineAboveAreaFoot,
                 QStringLiteral(" ") + QString::fromStdString(line.text) + QStringLiteral(" "));
}

}  // namespace

double FootprintRadius(double altitudeKm) {
  if (!(altitudeKm >= kLowestFootprintAltitudeKm)) return 0.0;
  return Degrees(std::acos(kEarthRadiusKm / (kEarthRadiusKm + altitudeKm)));
}

void DrawScreen(QImage& map, const TMapScene& scene, bool backgroundOnly) {
  TCanvas canvas(map);
  DrawMapBackground(canvas, scene.bitmaps.WorldBitmap, scene.largeWorld);
  if (backgroundOnly) return;
  const TShowOptions& show = scene.show;
  if (show.grid) DrawGrid(canvas);
  DrawSite(canvas, scene);
  DrawTimeLine(canvas, scene.time);
  DrawElementAgeLine(canvas, scene);
  if (show.solarIllumination) DrawTerminator(canvas, scene);

  const TSatelliteList& list = scene.list;
  const bool hasActive = list.HasActiveSat();
  auto drawActiveFootprintAndTrack = [&] {
    if (hasActive && show.visibleZone) {
      const TSatState& active = list.TrackedSats[static_cast<size_t>(list.ActiveSat)];
      if (active.computed) DrawFootprint(canvas, scene, active);
    }
    if (hasActive && (show.trackLine || show.trackMarkers)) DrawGroundTrack(canvas, scene);
  };
  // The Moon beside the Sun, over it where the two meet (near a new Moon).
  auto drawSun = [&] {
    if (show.sun) {
      DrawPoint(canvas, show, scene.bitmaps, pkSun, QString(), scene.cycle.SunNow.subLatitude,
                scene.cycle.SunNow.subLongitude, false);
    }
    if (show.moon && scene.cycle.SkyNow.valid) DrawMoon(canvas, scene.cycle.SkyNow);
  };
  // Satellite labels use the font the time line leaves: "MS Sans Serif" 8, white.
  auto setLabelFont = [&] {
    canvas.SetFont(ZenFont(TFontFace::MsSansSerif, 8));
    canvas.SetFontColour(kWhite);
  };
  if (!CrowdedView(list)) {
    drawActiveFootprintAndTrack();
    drawSun();
    setLabelFont();
    DrawSatellites(canvas, scene);
    return;
  }
  // A crowd of dots under the active satellite's footprint, track, symbol and name, so that
  // none of those is ever hidden.
  drawSun();
  DrawSatelliteDots(canvas, scene);
  drawActiveFootprintAndTrack();
  setLabelFont();
  DrawActiveSatellite(canvas, scene);
}

}  // namespace zen
