// Conversions between places and Maidenhead grid locators.
#include "core/locator.h"

#include <cmath>

namespace zen {

namespace {

// Just inside the last subsquare, so the edges +180 and +90 stay in the grid.
constexpr double kLongitudeTopDeg = 179.99999;
constexpr double kLatitudeTopDeg = 89.99999;

int KindAt(size_t index) {
  return static_cast<int>(index / 2) + 1;
}

char ToUpper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
char ToLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Clamped into [low, top]; a coordinate that is not a number is taken as low.
double ClampDeg(double value, double low, double top) {
  if (!(value >= low)) return low;
  return value > top ? top : value;
}

}  // namespace

char LocatorChar(int value, int kind) {
  switch (kind) {
    case kLocatorField:
      return static_cast<char>('A' + (value < 17 ? value : 17));
    case kLocatorSquare:
      return static_cast<char>('0' + (value < 9 ? value : 9));
    case kLocatorSubsquare:
      return static_cast<char>('a' + (value < 23 ? value : 23));
    default:
      return '?';
  }
}

int LocatorValue(char character, int kind) {
  switch (kind) {
    case kLocatorField:
      return (character >= 'A' && character <= 'R') ? character - 'A' : -1;
    case kLocatorSquare:
      return (character >= '0' && character <= '9') ? character - '0' : -1;
    case kLocatorSubsquare:
      return (character >= 'a' && character <= 'x') ? character - 'a' : -1;
    default:
      return -1;
  }
}

std::string LatLonToLocator(double latitudeDeg, double longitudeDeg) {
  // Without the lower clamp a place west of -180 or south of -90 would give characters
  // before "A" and "0".
  const double x = ClampDeg(longitudeDeg, -180.0, kLongitudeTopDeg) + 180.0;
  const double y = ClampDeg(latitudeDeg, -90.0, kLatitudeTopDeg) + 90.0;
  const int i = static_cast<int>(std::trunc(x));
  const int j = static_cast<int>(std::trunc(y));
  std::string text(6, ' ');
  text[0] = LocatorChar(i / 20, kLocatorField);
  text[1] = LocatorChar(j / 10, kLocatorField);
  text[2] = LocatorChar((i % 20) / 2, kLocatorSquare);
  text[3] = LocatorChar(j % 10, kLocatorSquare);
  text[4] =
      LocatorChar(static_cast<int>(std::trunc((x - 2 * (i / 2)) * 24 / 2)), kLocatorSubsquare);
  text[5] = LocatorChar(static_cast<int>(std::trunc((y - std::trunc(y)) * 24)), kLocatorSubsquare);
  return text;
}

bool LocatorToLatLon(std::string& text, double& latitudeDeg, double& longitudeDeg) {
  if (text.size() != 4 && text.size() != 6) return false;
  text[0] = ToUpper(text[0]);
  text[1] = ToUpper(text[1]);
  if (text.size() == 6) {
    text[4] = ToLower(text[4]);
    text[5] = ToLower(text[5]);
  }
  // Start at the centre of the first square (or subsquare) so that the corner terms below
  // land on the centre of the one named. The sums stay local until every character is read,
  // so a refused locator never leaves half a position in the caller's variables.
  double lonDeg = -179.0;
  double latDeg = -89.5;
  if (text.size() == 6) {
    lonDeg += 1.0 / 24.0;
    latDeg += 1.0 / 48.0;
  }
  for (size_t k = 0; k < text.size(); ++k) {
    const int v = LocatorValue(text[k], KindAt(k));
    if (v < 0) return false;
    switch (k) {
      case 0:
        lonDeg += 20.0 * v;
        break;
      case 1:
        latDeg += 10.0 * v;
        break;
      case 2:
        lonDeg += 2.0 * v;
        break;
      case 3:
        latDeg += v;
        break;
      case 4:
        lonDeg += (v - 12) / 12.0;
        break;
      default:
        latDeg += (v - 12) / 24.0;
        break;
    }
  }
  latitudeDeg = latDeg;
  longitudeDeg = lonDeg;
  return true;
}

}  // namespace zen
