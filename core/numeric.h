// Angle, vector and fixed-column field helpers shared by the orbital core and the display.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zen {

inline constexpr double kPi = 3.14159265358979323846;
inline constexpr double kTwoPi = 2.0 * kPi;
inline constexpr double kHalfPi = 0.5 * kPi;

// x, y, z and the magnitude w. Producers fill w; readers of w expect it filled.
struct TVector {
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
  double w = 0.0;
};

double Radians(double degrees);
double Degrees(double radians);
// x - m * trunc(x / m), corrected once into [0, m) for m > 0.
double Modulus(double x, double m);
double WrapTwoPi(double x);
// Clamped: |x| >= 1 gives +-pi/2 instead of failing.
double ArcSin(double x);
double ArcCos(double x);
// Result in (-pi/2, 3pi/2]; callers that need [0, 2pi) wrap it themselves.
double AngleFromSinCos(double s, double c);
// x^y for x > 0; -1 for a non-positive base.
double Power(double x, double y);
double Cube(double x);
double Tan(double x);
int Sign(double x);
char SignChar(double x);

void VecMagnitude(TVector& v);
TVector VecSub(const TVector& a, const TVector& b);
// Scales x, y, z; the magnitude is scaled by |k|, not recomputed.
TVector VecScale(double k, const TVector& v);
double VecDot(const TVector& a, const TVector& b);
// Fills both magnitudes; neither vector may be zero.
double VecAngle(TVector& a, TVector& b);

void SpacesToZeros(std::string& text);
// The text without leading and trailing blanks and control characters.
std::string TrimBlanks(std::string_view text);
// x in fixed notation with the given number of decimals, "." whatever the locale; a result
// that shows zero carries no minus sign.
std::string FixedText(double x, int decimals);
// Equal texts when ASCII letters are compared without their case (names, keys, addresses).
bool SameTextIgnoringCase(std::string_view a, std::string_view b);
// Fixed-column fields, columns 1-based. Blanks become "0" before parsing and a field that
// does not parse reads as 0, so a damaged element line never stops the reader.
int64_t IntField(std::string_view text, int first, int count);
double RealField(std::string_view text, int first, int count);

// Standard integer conversion: leading blanks skipped, anything else (a blank field too)
// fails. Returns false on failure and leaves value untouched.
bool StrictInt(std::string_view text, int64_t& value);

// Strict inside: true only when left < x < right and top < y < bottom.
bool PointInRect(int x, int y, int left, int bottom, int right, int top);

inline constexpr double kSpeedOfLightKmPerS = 299792.458;
// The frequency heard on the ground from a transmitter on f0 at a range rate of
// rangeRateKmPerS (positive when the distance grows): f0 (1 - v / c), in f0's unit. A
// satellite coming closer is heard higher.
double DopplerShift(double f0, double rangeRateKmPerS);

}  // namespace zen
