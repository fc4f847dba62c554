// The text forms and rules of the "Location" page's fields.
#include "locations/site_fields.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>

#include "core/text_encoding.h"
#include "locations/location_db.h"
#include "locations/number_text.h"

namespace zen {

namespace {

constexpr double kHighAltitude = 10000.0;
constexpr size_t kLocatorCharacters = 6;

std::string AngleText(double degrees, int significant, char positive, char negative) {
  std::string text = FixedText(RoundSignificant(std::fabs(degrees), significant), 4);
  text += ' ';
  text += degrees < 0.0 ? negative : positive;
  return text;
}

std::string WithPoints(std::string_view text) {
  std::string copy(text);
  std::replace(copy.begin(), copy.end(), ',', '.');
  return copy;
}

bool ReadAngleText(std::string_view text, double limit, char positive, char negative,
                   double& degrees) {
  const std::string copy = WithPoints(text);
  if (copy.size() < 2 || copy[copy.size() - 2] != ' ') return false;
  const char letter = static_cast<char>(copy.back() & ~0x20);
  if (letter != positive && letter != negative) return false;
  double value = 0.0;
  if (!ReadDecimal(std::string_view(copy).substr(0, copy.size() - 2), value)) return false;
  if (value < -limit || value > limit) return false;
  degrees = letter == negative ? -value : value;
  return true;
}

// The number before the field's last two characters, negated by the negative letter.
double LenientAngle(const std::string& text, char negative) {
  const std::string copy = WithPoints(text);
  if (copy.size() < 2) return 0.0;
  double value = 0.0;
  if (!ReadDecimal(std::string_view(copy).substr(0, copy.size() - 2), value)) return 0.0;
  return (copy.back() & ~0x20) == negative ? -value : value;
}

}  // namespace

std::string LatitudeText(double latitudeDeg) {
  return AngleText(latitudeDeg, 6, 'N', 'S');
}

std::string LongitudeText(double longitudeDeg) {
  return AngleText(longitudeDeg, 7, 'E', 'W');
}

std::string AltitudeText(double altitudeM) {
  if (std::isfinite(altitudeM) && std::fabs(altitudeM) >= kHighAltitude) {
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, altitudeM);
    std::string text(buffer, ec == std::errc() ? end : buffer);
    if (text.find_first_of(".e") == std::string::npos) text += ".0";
    // Beyond 1e16 the shortest form is scientific; the fixed form reads back the same.
    if (text.find('e') != std::string::npos) text = FixedText(altitudeM, 1);
    return text;
  }
  return FixedText(RoundSignificant(altitudeM, 4), 1);
}

bool ReadLatitudeText(std::string_view text, double& latitudeDeg) {
  return ReadAngleText(text, 90.0, 'N', 'S', latitudeDeg);
}

bool ReadLongitudeText(std::string_view text, double& longitudeDeg) {
  return ReadAngleText(text, 180.0, 'E', 'W', longitudeDeg);
}

bool ReadAltitudeText(std::string_view text, double& altitudeM) {
  double value = 0.0;
  if (!ReadDecimal(WithPoints(text), value) || value < -12000.0 || value > 10000.0) return false;
  altitudeM = value;
  return true;
}

TSite FieldsToSite(const std::string& name, const std::string& sign, const std::string& latitude,
                   const std::string& longitude, const std::string& altitude,
                   const std::string& locator) {
  TSite site;
  site.name = Utf8Prefix(name, kLocationNameCharacters);
  site.sign = Utf8Prefix(sign, kLocationSignCharacters);
  site.locator = Utf8Prefix(locator, kLocatorCharacters);
  site.latitude = LenientAngle(latitude, 'S');
  site.longitude = LenientAngle(longitude, 'W');
  double alt = 0.0;
  site.altitude = ReadDecimal(WithPoints(altitude), alt) ? alt : 0.0;
  return site;
}

}  // namespace zen
