// Angle, vector and fixed-column field helpers shared by the orbital core and the display.
#pragma once

#include <cmath>
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

// The small angle and vector helpers below are defined here, inline: the orbital core and the
// searches call them millions of times a second. The expressions are the only definitions, so
// every caller gets the same bits (the build contracts no multiply-add and reorders no sum).

inline double Radians(double degrees) { return degrees * kPi / 180.0; }
inline double Degrees(double radians) { return radians * 180.0 / kPi; }

inline int Sign(double x) {
  if (x > 0.0) return 1;
  if (x < 0.0) return -1;
  return 0;
}

inline char SignChar(double x) { return x >= 0.0 ? '+' : '-'; }

// x - m * trunc(x / m), corrected once into [0, m) for m > 0.
inline double Modulus(double x, double m) {
  double r = x - m * std::trunc(x / m);
  if (r < 0.0) r += m;
  return r;
}

inline double WrapTwoPi(double x) { return Modulus(x, kTwoPi); }

// Clamped: |x| >= 1 gives +-pi/2 instead of failing.
inline double ArcSin(double x) {
  if (std::fabs(x) >= 1.0) return Sign(x) * kHalfPi;
  return std::atan(x / std::sqrt(1.0 - x * x));
}

inline double ArcCos(double x) { return kHalfPi - ArcSin(x); }

// Result in (-pi/2, 3pi/2]; callers that need [0, 2pi) wrap it themselves.
inline double AngleFromSinCos(double s, double c) {
  if (c == 0.0) return s > 0.0 ? kHalfPi : 3.0 * kHalfPi;
  if (c > 0.0) return std::atan(s / c);
  return std::atan(s / c) + kPi;
}

// x^y for x > 0; -1 for a non-positive base.
double Power(double x, double y);

inline double Cube(double x) { return x * x * x; }

inline double Tan(double x) { return std::sin(x) / std::cos(x); }

inline void VecMagnitude(TVector& v) { v.w = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }

inline TVector VecSub(const TVector& a, const TVector& b) {
  TVector r{a.x - b.x, a.y - b.y, a.z - b.z, 0.0};
  VecMagnitude(r);
  return r;
}

// Scales x, y, z; the magnitude is scaled by |k|, not recomputed.
inline TVector VecScale(double k, const TVector& v) {
  return TVector{k * v.x, k * v.y, k * v.z, std::fabs(k) * v.w};
}

inline double VecDot(const TVector& a, const TVector& b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}

// Fills both magnitudes; neither vector may be zero.
inline double VecAngle(TVector& a, TVector& b) {
  VecMagnitude(a);
  VecMagnitude(b);
  return ArcCos(VecDot(a, b) / (a.w * b.w));
}

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
