// The Moon's symbol in its phase, and which way its lit side faces on the map and on sky charts.
#include "display/moon_symbol.h"

#include <QPolygonF>
#include <algorithm>
#include <cmath>

namespace zen {

namespace {

// Points along each half of the symbol's outline.
constexpr int kOutlineSteps = 24;
// How far along the great circle toward the Sun the direction is taken: short enough that the
// projection is straight there, long enough to stay clear of rounding.
constexpr double kStepRad = 0.01;

struct TUnit {
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
};

TUnit UnitOf(double latRad, double lonRad) {
  return {std::cos(latRad) * std::cos(lonRad), std::cos(latRad) * std::sin(lonRad),
          std::sin(latRad)};
}

// The latitude and longitude (radians) a short step from a toward b along their great circle;
// false when b lies at a or opposite it, where no way is singled out.
bool StepToward(const TUnit& a, const TUnit& b, double& latRad, double& lonRad) {
  const double along = a.x * b.x + a.y * b.y + a.z * b.z;
  TUnit t{b.x - along * a.x, b.y - along * a.y, b.z - along * a.z};
  const double length = std::sqrt(t.x * t.x + t.y * t.y + t.z * t.z);
  if (!(length > 1e-9)) return false;
  const double c = std::cos(kStepRad);
  const double s = std::sin(kStepRad) / length;
  const TUnit p{c * a.x + s * t.x, c * a.y + s * t.y, c * a.z + s * t.z};
  latRad = std::asin(std::clamp(p.z, -1.0, 1.0));
  lonRad = std::atan2(p.y, p.x);
  return true;
}

double WrappedRad(double angle) {
  return std::remainder(angle, kTwoPi);
}

TUnit UnitOfVector(const TVector& v) {
  const double length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
  if (!(length > 0.0)) return {};
  return {v.x / length, v.y / length, v.z / length};
}

// A sky chart point in units of degrees from the zenith.
QPointF ChartPoint(double azimuthRad, double elevationRad) {
  const double fromZenith = Degrees(kHalfPi - elevationRad);
  return {fromZenith * std::sin(azimuthRad), -fromZenith * std::cos(azimuthRad)};
}

}  // namespace

void DrawMoonSymbol(QPainter& painter, QPointF centre, double radiusPx, QPointF towardSun,
                    double illuminated) {
  const double length = std::hypot(towardSun.x(), towardSun.y());
  const QPointF u = length > 0.0 && std::isfinite(length) ? towardSun / length : QPointF(1.0, 0.0);
  const QPointF v(-u.y(), u.x());
  const double lit = std::isfinite(illuminated) ? std::clamp(illuminated, 0.0, 1.0) : 0.5;
  // Across the disc the terminator stands at (1 - 2 lit) radii from the centre, on the Sun's side
  // for a crescent and beyond the centre for a gibbous Moon.
  const double terminator = 1.0 - 2.0 * lit;
  QPolygonF litPart;
  for (int i = 0; i <= kOutlineSteps; ++i) {
    const double a = -kHalfPi + kPi * i / kOutlineSteps;
    litPart << centre + radiusPx * (std::cos(a) * u + std::sin(a) * v);
  }
  for (int i = kOutlineSteps - 1; i > 0; --i) {
    const double a = -kHalfPi + kPi * i / kOutlineSteps;
    litPart << centre + radiusPx * (terminator * std::cos(a) * u + std::sin(a) * v);
  }
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setPen(Qt::NoPen);
  painter.setBrush(kMoonDarkColour);
  painter.drawEllipse(centre, radiusPx, radiusPx);
  painter.setBrush(kMoonLitColour);
  painter.drawPolygon(litPart);
  // A thin rim just outside the disc keeps a new Moon in sight on a dark map, and leaves the
  // disc itself to the phase.
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(kMoonRimColour, 1.0));
  painter.drawEllipse(centre, radiusPx + 0.5, radiusPx + 0.5);
  painter.restore();
}

QPointF MapTowardSun(const TVector& moonKm, const TVector& sunKm, double pxPerDegLon,
                     double pxPerDegLat) {
  const TUnit moon = UnitOfVector(moonKm);
  double lat = 0.0;
  double lon = 0.0;
  if (!StepToward(moon, UnitOfVector(sunKm), lat, lon)) return {};
  // The sub-points' longitudes differ as the right ascensions do: the earth's turn is the same
  // for both.
  const double dLon = Degrees(WrappedRad(lon - std::atan2(moon.y, moon.x)));
  const double dLat = Degrees(lat - std::asin(std::clamp(moon.z, -1.0, 1.0)));
  return {dLon * pxPerDegLon, -dLat * pxPerDegLat};
}

QPointF SkyChartTowardSun(double moonAzimuthDeg, double moonElevationDeg, double sunAzimuthDeg,
                          double sunElevationDeg) {
  const double moonAz = Radians(moonAzimuthDeg);
  const double moonEl = Radians(moonElevationDeg);
  double el = 0.0;
  double az = 0.0;
  if (!StepToward(UnitOf(moonEl, moonAz), UnitOf(Radians(sunElevationDeg), Radians(sunAzimuthDeg)),
                  el, az)) {
    return {};
  }
  return ChartPoint(az, el) - ChartPoint(moonAz, moonEl);
}

}  // namespace zen
