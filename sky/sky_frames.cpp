#include "sky/sky_frames.h"

#include <erfa.h>

#include <cmath>

namespace zen {

bool SkyDateAccepted(double jdUtc) { return jdUtc >= kSkyFirstJd && jdUtc < kSkyEndJd; }

double TaiMinusUtc(double jdUtc) {
  int year = 0, month = 0, day = 0;
  double fraction = 0.0;
  if (eraJd2cal(jdUtc, 0.0, &year, &month, &day, &fraction) != 0) return 0.0;
  double delta = 0.0;
  // Status 1 (a year past the table, or before UTC began) still gives the value meant: the
  // table's last offset, or 0.
  if (eraDat(year, month, day, fraction, &delta) < 0) return 0.0;
  return delta;
}

TTwoPartJd TerrestrialTime(double jdUtc) {
  const double day = std::floor(jdUtc - 0.5) + 0.5;
  const double offset = (TaiMinusUtc(jdUtc) + 32.184) / 86400.0;
  return {day, (jdUtc - day) + offset};
}

TVector Rotate(const TMatrix3& r, const TVector& v) {
  TVector out;
  out.x = r.m[0][0] * v.x + r.m[0][1] * v.y + r.m[0][2] * v.z;
  out.y = r.m[1][0] * v.x + r.m[1][1] * v.y + r.m[1][2] * v.z;
  out.z = r.m[2][0] * v.x + r.m[2][1] * v.y + r.m[2][2] * v.z;
  out.w = v.w;
  return out;
}

TVector RotateBack(const TMatrix3& r, const TVector& v) {
  TVector out;
  out.x = r.m[0][0] * v.x + r.m[1][0] * v.y + r.m[2][0] * v.z;
  out.y = r.m[0][1] * v.x + r.m[1][1] * v.y + r.m[2][1] * v.z;
  out.z = r.m[0][2] * v.x + r.m[1][2] * v.y + r.m[2][2] * v.z;
  out.w = v.w;
  return out;
}

TMatrix3 ModelFrameFromJ2000(double jdUtc) {
  const TTwoPartJd tt = TerrestrialTime(jdUtc);
  TMatrix3 r;
  eraPnm00b(tt.day, tt.fraction, r.m);
  // The true equator and equinox of date, turned by the equation of the equinoxes so that x
  // points at the mean equinox along the true equator.
  eraRz(eraEe00b(tt.day, tt.fraction), r.m);
  return r;
}

void RaDecOf(const TVector& direction, double& ra, double& dec) {
  double p[3] = {direction.x, direction.y, direction.z};
  eraC2s(p, &ra, &dec);
  ra = eraAnp(ra);
}

}  // namespace zen
