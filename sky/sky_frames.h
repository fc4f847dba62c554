// Time scales and frames of the sky: terrestrial time from UTC, the turn between the models'
// frame (true equator, mean equinox of date) and the J2000 frame (GCRS) of star catalogues.
#pragma once

#include "core/numeric.h"

namespace zen {

// The sky's dates: 1950-01-01 00:00 UTC up to (not including) 2101-01-01 00:00 UTC.
inline constexpr double kSkyFirstJd = 2433282.5;
inline constexpr double kSkyEndJd = 2488434.5;
bool SkyDateAccepted(double jdUtc);

// TAI - UTC (seconds) at a UTC Julian date from ERFA's table: 0 before 1960, the drifting
// offsets of 1960-1971, the leap seconds since, and the table's last value after it ends.
double TaiMinusUtc(double jdUtc);

// Terrestrial time TT = UTC + (TAI - UTC) + 32.184 s, as a two-part Julian date whose parts
// keep the precision of the sum.
struct TTwoPartJd {
  double day = 0.0;
  double fraction = 0.0;
};
TTwoPartJd TerrestrialTime(double jdUtc);

struct TMatrix3 {
  double m[3][3] = {{1.0, 0.0, 0.0}, {0.0, 1.0, 0.0}, {0.0, 0.0, 1.0}};
};
// m * v; the magnitude is carried over (a rotation keeps it).
TVector Rotate(const TMatrix3& m, const TVector& v);
// transpose(m) * v.
TVector RotateBack(const TMatrix3& m, const TVector& v);

// The rotation that takes a J2000 (GCRS) vector into the models' frame: the bias,
// precession and nutation (IAU 2000B) to the true equator and equinox of date, then the
// equation of the equinoxes back to the mean equinox.
TMatrix3 ModelFrameFromJ2000(double jdUtc);

// Right ascension [0, 2pi) and declination of a direction given in the J2000 frame.
void RaDecOf(const TVector& direction, double& ra, double& dec);

}  // namespace zen
