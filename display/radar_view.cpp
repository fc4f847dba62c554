// The radar: the observer's sky with the tracked satellites above the horizon, or the logo.
#include "display/radar_view.h"

#include "core/sun.h"
#include "display/canvas.h"
#include "display/crowd_dots.h"
#include "display/map_background.h"
#include "display/moon_symbol.h"
#include "display/name_layout.h"
#include "display/radar_primitives.h"

#include <QPainter>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>

#include "core/numeric.h"
#include "display/colours.h"

namespace zen {

namespace {

// On the documented radar, whose horizon is 68 pixels round the zenith.
constexpr double kRadarMoonRadiusPx = 4.0;

// The active satellite's name when it is above the horizon, its box taken before any other.
TPlacedName ReserveActiveName(TNameLayout& names, const TRadarGeometry& radar,
                              const TSatelliteList& list) {
  if (!list.HasActiveSat()) return {};
  const TSatState& active = list.TrackedSats[static_cast<size_t>(list.ActiveSat)];
  if (!active.computed || !AboveHorizon(active.elevation)) return {};
  return names.Reserve(AzElToRadar(radar, active.azimuth, active.elevation),
                       QString::fromStdString(list.NameOf(list.ActiveSat)));
}

// Every computed satellite above the horizon, each followed by its name when "Names" is on
// and, as on the map, the name covers no name placed before it (the active one's always).
void DrawSatellites(TCanvas& canvas, const TMapScene& scene) {
  const TSatelliteList& list = scene.list;
  const bool withNames = scene.show.radarNames;
  SetRadarLabelFont(canvas);
  const TRadarGeometry radar = RadarGeometryOf(canvas);
  TNameLayout names(canvas, RadarLabels(radar));
  const TPlacedName activeName =
      withNames ? ReserveActiveName(names, radar, list) : TPlacedName{};
  for (int i = 1; i <= list.TrackedCount; ++i) {
    const TSatState& sat = list.TrackedSats[static_cast<size_t>(i)];
    if (!sat.computed || !AboveHorizon(sat.elevation)) continue;
    const QPoint at = AzElToRadar(radar, sat.azimuth, sat.elevation);
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

// A crowded sky: every computed satellite above the horizon but the active one as a dot,
// nameless; the dots' size and strength follow how many share the chart.
void DrawSatelliteDots(TCanvas& canvas, const TMapScene& scene) {
  const TSatelliteList& list = scene.list;
  const TRadarGeometry radar = RadarGeometryOf(canvas);
  auto shown = [&list](int i) {
    const TSatState& sat = list.TrackedSats[static_cast<size_t>(i)];
    return sat.computed && AboveHorizon(sat.elevation) && i != list.ActiveSat;
  };
  int dots = 0;
  for (int i = 1; i <= list.TrackedCount; ++i) dots += shown(i) ? 1 : 0;
  const TDotStyle style =
      CrowdDotStyle(dots, kPi * radar.horizon * radar.horizon, canvas.DevicePixelRatio());
  for (int i = 1; i <= list.TrackedCount; ++i) {
    if (!shown(i)) continue;
    const TSatState& sat = list.TrackedSats[static_cast<size_t>(i)];
    canvas.BlendSquare(AzElToRadar(radar, sat.azimuth, sat.elevation), style.sizeDevicePx,
                       (sat.eclipse == kUmbra ? kUmbraColour : kLitColour).rgb(), style.alpha256);
  }
}

// The active satellite over the dots (and its track), with its name when "Names" is on.
void DrawActiveSatellite(TCanvas& canvas, const TMapScene& scene) {
  const TSatelliteList& list = scene.list;
  if (!list.HasActiveSat()) return;
  const TSatState& active = list.TrackedSats[static_cast<size_t>(list.ActiveSat)];
  if (!active.computed || !AboveHorizon(active.elevation)) return;
  SetRadarLabelFont(canvas);
  const TRadarGeometry radar = RadarGeometryOf(canvas);
  DrawRadarSymbol(canvas, AzElToRadar(radar, active.azimuth, active.elevation),
                  active.eclipse == kUmbra, true);
  if (!scene.show.radarNames) return;
  TNameLayout names(canvas, RadarLabels(radar));
  const TPlacedName name = ReserveActiveName(names, radar, list);
  canvas.TextOut(name.box.left(), name.box.top(), name.text);
}

// The chart: the bitmap in the documented image, else drawn for the image's size and pixels.
void DrawChart(TCanvas& canvas, const QImage& radarBitmap) {
  const QSize documented(kRadarImageWidth, kRadarImageHeight);
  if (canvas.DevicePixelRatio() == 1.0 && QSize(canvas.Width(), canvas.Height()) == documented) {
    DrawCentredOnBlack(canvas, radarBitmap);
    return;
  }
  canvas.SetBrushSolid(kBlack);
  canvas.FillRect(0, 0, canvas.Width(), canvas.Height());
  const TRadarGeometry radar = RadarGeometryOf(canvas);
  QPainter& painter = canvas.Painter();
  painter.save();
  // Pixel (W div 2, H div 2) is the zenith; its centre is half a pixel further in.
  PaintSkyChart(painter, QPointF(radar.width / 2 + 0.5, radar.height / 2 + 0.5), radar.horizon);
  painter.restore();
}

QFont ChartFont(double pixels, bool bold) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels))));
  font.setBold(bold);
  return font;
}

void CentreText(QPainter& painter, QPointF centre, double scale, const QString& text) {
  const QRectF box(centre.x() - 20 * scale, centre.y() - 10 * scale, 40 * scale, 20 * scale);
  painter.drawText(box, Qt::AlignCenter, text);
}

void DrawActiveTrack(TCanvas& canvas, const TMapScene& scene) {
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

// The Moon while it is up, in its phase with the lit side toward the Sun, under the satellites.
void DrawMoon(TCanvas& canvas, const TMapScene& scene) {
  const TSkyNow& sky = scene.cycle.SkyNow;
  if (!scene.show.moon || !sky.valid || !AboveHorizon(sky.moonElevation)) return;
  const TRadarGeometry radar = RadarGeometryOf(canvas);
  const QPoint at = AzElToRadar(radar, sky.moonAzimuth, sky.moonElevation);
  const TSunNow& sun = scene.cycle.SunNow;
  DrawMoonSymbol(canvas.Painter(), QPointF(at) + QPointF(0.5, 0.5),
                 kRadarMoonRadiusPx * radar.horizon / kHorizonRadius,
                 SkyChartTowardSun(sky.moonAzimuth, sky.moonElevation, sun.azimuth, sun.elevation),
                 sky.phase.illuminated);
}

void DrawSky(TCanvas& canvas, const TMapScene& scene) {
  DrawChart(canvas, scene.bitmaps.RadarBitmap);
  DrawMoon(canvas, scene);
  if (!CrowdedView(scene.list)) {
    DrawSatellites(canvas, scene);
    DrawActiveTrack(canvas, scene);
    return;
  }
  DrawSatelliteDots(canvas, scene);
  DrawActiveTrack(canvas, scene);
  DrawActiveSatellite(canvas, scene);
}

}  // namespace

void PaintSkyChart(QPainter& p, QPointF c, double horizon) {
  // Sizes of the documented chart, whose horizon is 68 pixels.
  const double k = horizon / kHorizonRadius;
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  QRadialGradient sky(c, horizon);
  sky.setColorAt(0.0, QColor(16, 36, 54));
  sky.setColorAt(1.0, QColor(7, 18, 30));
  p.setPen(Qt::NoPen);
  p.setBrush(sky);
  p.drawEllipse(c, horizon, horizon);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(30, 56, 72), k));
  p.drawLine(c + QPointF(0, -horizon), c + QPointF(0, horizon));
  p.drawLine(c + QPointF(-horizon, 0), c + QPointF(horizon, 0));
  p.setPen(QPen(QColor(44, 78, 98), k));
  for (double elevation : {30.0, 60.0}) {
    const double r = (90.0 - elevation) / 90.0 * horizon;
    p.drawEllipse(c, r, r);
  }
  p.setPen(QPen(QColor(70, 110, 132), k));
  for (int az = 0; az < 360; az += 30) {
    const double a = Radians(az);
    const QPointF dir(std::sin(a), -std::cos(a));
    p.drawLine(c + dir * (horizon - 4.0 * k), c + dir * horizon);
  }
  p.setPen(QPen(QColor(104, 158, 186), 1.3 * k));
  p.drawEllipse(c, horizon, horizon);
  p.setFont(ChartFont(7 * k, false));
  p.setPen(QColor(64, 104, 126));
  for (double elevation : {60.0, 30.0}) {
    const double r = (90.0 - elevation) / 90.0 * horizon;
    CentreText(p, c + QPointF(7.0 * k, -r + 5.0 * k), k, QString::number(elevation));
  }
  p.setFont(ChartFont(10 * k, true));
  p.setPen(QColor(232, 236, 240));
  CentreText(p, c + QPointF(0, -horizon - 6.5 * k), k, QStringLiteral("N"));
  p.setPen(QColor(150, 186, 206));
  CentreText(p, c + QPointF(0, horizon + 6.5 * k), k, QStringLiteral("S"));
  CentreText(p, c + QPointF(horizon + 9.0 * k, 0), k, QStringLiteral("E"));
  CentreText(p, c + QPointF(-horizon - 9.0 * k, 0), k, QStringLiteral("W"));
}

void DrawLogo(TCanvas& canvas, const TBitmaps& bitmaps) {
  // How many times its size the largest drawing present is.
  const double sharpest = !bitmaps.LogoSharp[1].isNull()   ? 3.0
                          : !bitmaps.LogoSharp[0].isNull() ? 2.0
                                                           : 1.0;
  const double ratio = canvas.DevicePixelRatio();
  const double grown = std::max(1.0, std::min(RadarGeometryOf(canvas).horizon / kHorizonRadius,
                                              sharpest / ratio));
  if (grown == 1.0) {
    DrawCentredOnBlack(canvas, ForRatio(bitmaps.LogoBitmap, bitmaps.LogoSharp, ratio));
    return;
  }
  QImage logo = ForRatio(bitmaps.LogoBitmap, bitmaps.LogoSharp, grown * ratio);
  // Shown at the logo's size times grown, whichever drawing it is.
  logo.setDevicePixelRatio(static_cast<double>(logo.width()) / bitmaps.LogoBitmap.width() /
                           grown);
  DrawCentredOnBlack(canvas, logo);
}

TRadarDraw TRadarView::DrawRadar(QImage& radar, const TMapScene& scene) {
  TRadarDraw result;
  const bool shown = scene.cycle.RadarShown;
  if (shown) {
    TCanvas canvas(radar);
    DrawSky(canvas, scene);
    result.painted = true;
  } else if (RadarWasShown) {
    TCanvas canvas(radar);
    DrawLogo(canvas, scene.bitmaps);
    result.painted = true;
  }
  result.crosshair = shown;
  RadarWasShown = shown;
  return result;
}

}  // namespace zen
