// The satellite's body frame, the panel axes in it, and the mirrored line of sight.
#include "core/flare.h"

#include <cmath>

namespace zen {

namespace {

TVector Cross(const TVector& a, const TVector& b) {
  TVector c{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x, 0.0};
  VecMagnitude(c);
  return c;
}

TVector Unit(TVector v) {
  VecMagnitude(v);
  return TVector{v.x / v.w, v.y / v.w, v.z / v.w, 1.0};
}

// kx x + ky y + kz z with its magnitude.
TVector Combine(double kx, const TVector& x, double ky, const TVector& y, double kz,
                const TVector& z) {
  TVector v{kx * x.x + ky * y.x + kz * z.x, kx * x.y + ky * y.y + kz * z.y,
            kx * x.z + ky * y.z + kz * z.z, 0.0};
  VecMagnitude(v);
  return v;
}

// Into (-pi, pi].
double ShortestTurn(double angle) {
  double turn = Modulus(angle, kTwoPi);
  if (turn > kPi) turn -= kTwoPi;
  return turn;
}

}  // namespace

TPanelAxes PanelAxes(const TVector& pos, const TVector& vel, double panelAzimuth,
                     double panelTilt) {
  const TVector xHat = Unit(vel);
  const TVector yHat = Unit(Cross(pos, vel));
  const TVector zHat = Unit(Cross(xHat, yHat));
  const double sinA = std::sin(panelAzimuth);
  const double cosA = std::cos(panelAzimuth);
  const double sinT = std::sin(panelTilt);
  const double cosT = std::cos(panelTilt);
  TPanelAxes axes;
  axes.normal = Combine(cosT * cosA, xHat, -cosT * sinA, yHat, sinT, zHat);
  axes.inPlaneP = Combine(sinA, xHat, cosA, yHat, 0.0, zHat);
  axes.inPlaneQ = Combine(-cosA * sinT, xHat, sinA * sinT, yHat, cosT, zHat);
  return axes;
}

double FlareOffset(const TVector& pos, const TVector& vel, const TVector& lineOfSight, double jd,
                   TGeodetic observer, double panelAzimuth, double panelTilt,
                   const TLookAngles& sunRaDec) {
  const TPanelAxes panel = PanelAxes(pos, vel, panelAzimuth, panelTilt);
  const double s = -VecDot(lineOfSight, panel.normal);
  if (s < 0.0) return kPi;
  const TVector mirrored =
      Combine(s, panel.normal, VecDot(lineOfSight, panel.inPlaneP), panel.inPlaneP,
              VecDot(lineOfSight, panel.inPlaneQ), panel.inPlaneQ);
  // So far out along the mirrored direction that the observer's offset from the earth's
  // centre no longer matters.
  TVector target = VecScale(sunRaDec.third, mirrored);
  VecMagnitude(target);
  const TLookAngles mirroredRaDec = TopocentricRaDec(target, TVector{}, observer, jd);
  const double dRa = ShortestTurn(sunRaDec.first - mirroredRaDec.first);
  const double dDec = sunRaDec.second - mirroredRaDec.second;
  return std::sqrt(dRa * dRa + dDec * dDec);
}

}  // namespace zen
