// The words of a command's options: "--name value" or "--name=value", whole numbers, reals,
// UTC moments and observer sites.
#include "cli/option_words.h"

#include <charconv>
#include <cmath>
#include <optional>

#include "core/alpha5.h"
#include "core/timescale.h"
#include "tracking/date_text.h"

namespace zen::cli {

bool TakeOptionValue(const std::vector<std::string>& args, size_t& i, std::string& name,
                     std::string& value) {
  name = args[i];
  const size_t eq = name.find('=');
  if (eq != std::string::npos) {
    value = name.substr(eq + 1);
    name = name.substr(0, eq);
    return true;
  }
  if (i + 1 < args.size()) {
    value = args[++i];
    return true;
  }
  return false;
}

bool ParseCatalogNumber(std::string_view text, int64_t& value) {
  if (text.empty() || text.front() == ' ' || text.back() == ' ') return false;
  std::optional<int64_t> number = CatalogNumberOfText(text);
  if (number) value = *number;
  return number.has_value();
}

bool ParseWhole(std::string_view text, int64_t& value) {
  const char* end = text.data() + text.size();
  auto [rest, ec] = std::from_chars(text.data(), end, value);
  return !text.empty() && ec == std::errc() && rest == end;
}

bool ParseReal(std::string_view text, double& value) {
  const char* end = text.data() + text.size();
  auto [rest, ec] = std::from_chars(text.data(), end, value);
  return !text.empty() && ec == std::errc() && rest == end && std::isfinite(value);
}

bool ParseUtc(std::string_view text, double& jd) {
  std::string_view t(text);
  if (!t.empty() && (t.back() == 'Z' || t.back() == 'z')) t.remove_suffix(1);
  if (t.size() != 19 || t[4] != '-' || t[7] != '-' || (t[10] != 'T' && t[10] != 't') ||
      t[13] != ':' || t[16] != ':') {
    return false;
  }
  auto field = [&](size_t at, size_t length, int64_t& value) {
    for (size_t i = at; i < at + length; ++i) {
      if (t[i] < '0' || t[i] > '9') return false;
    }
    return ParseWhole(t.substr(at, length), value);
  };
  int64_t year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  if (!field(0, 4, year) || !field(5, 2, month) || !field(8, 2, day) || !field(11, 2, hour) ||
      !field(14, 2, minute) || !field(17, 2, second)) {
    return false;
  }
  if (year < 1 || month < 1 || month > 12 || day < 1 || hour > 23 || minute > 59 || second > 59) {
    return false;
  }
  if (day > DaysInMonth(static_cast<int>(year), static_cast<int>(month))) return false;
  jd = DateRecToJulian(TDateRec{static_cast<uint16_t>(year), static_cast<uint16_t>(month),
                                static_cast<uint16_t>(day), static_cast<uint16_t>(hour),
                                static_cast<uint16_t>(minute), static_cast<uint16_t>(second), 0});
  return true;
}

std::string ParseSiteWords(std::string_view text, TSiteWords& site) {
  // Sites from the deepest dry land to well above any aircraft.
  constexpr double kMinAltitudeM = -1000.0;
  constexpr double kMaxAltitudeM = 100000.0;
  const size_t first = text.find(',');
  const size_t second = first == std::string_view::npos ? first : text.find(',', first + 1);
  if (second == std::string_view::npos || !ParseReal(text.substr(0, first), site.latitudeDeg) ||
      !ParseReal(text.substr(first + 1, second - first - 1), site.longitudeDeg) ||
      !ParseReal(text.substr(second + 1), site.altitudeM)) {
    return "--site needs LAT,LON,ALT_M (degrees and metres)";
  }
  if (site.latitudeDeg < -90.0 || site.latitudeDeg > 90.0) {
    return "--site latitude must be within -90..90 degrees";
  }
  if (site.longitudeDeg < -180.0 || site.longitudeDeg > 360.0) {
    return "--site longitude must be within -180..360 degrees";
  }
  if (site.altitudeM < kMinAltitudeM || site.altitudeM > kMaxAltitudeM) {
    return "--site altitude must be within -1000..100000 metres";
  }
  return {};
}

}  // namespace zen::cli
