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

namespace {

// The years whose moments the commands print as they were typed: the first whole year of the
// Gregorian calendar (dates before it are printed in the Julian one), and the last year from
// which a period of the longest search still ends within four-digit years.
constexpr int64_t kFirstYear = 1583;
constexpr int64_t kLastYear = 9998;

}  // namespace

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
  return ParseUtcOption("", text, jd).empty();
}

std::string ParseUtcOption(std::string_view option, std::string_view text, double& jd) {
  static const char* const kMonthNames[] = {"January",   "February", "March",    "April",
                                            "May",       "June",     "July",     "August",
                                            "September", "October",  "November", "December"};
  const std::string named = std::string(option) + " " + std::string(text) + ": ";
  std::string_view t(text);
  if (!t.empty() && (t.back() == 'Z' || t.back() == 'z')) t.remove_suffix(1);
  // The layout: which columns hold separators; every other one a digit.
  const bool hasTime = t.size() == 16 || t.size() == 19;
  bool laidOut = (t.size() == 10 || hasTime) && t[4] == '-' && t[7] == '-';
  if (laidOut && hasTime) {
    laidOut = (t[10] == 'T' || t[10] == 't' || t[10] == ' ') && t[13] == ':' &&
              (t.size() == 16 || t[16] == ':');
  }
  for (size_t i = 0; laidOut && i < t.size(); ++i) {
    const bool separator = i == 4 || i == 7 || i == 10 || i == 13 || i == 16;
    if (!separator && (t[i] < '0' || t[i] > '9')) laidOut = false;
  }
  if (!laidOut) {
    return std::string(option) +
           " needs a UTC time: YYYY-MM-DD, YYYY-MM-DD HH:MM or YYYY-MM-DD HH:MM:SS, with \"T\" "
           "or a blank between date and time and an optional closing \"Z\"";
  }
  auto field = [&](size_t at, size_t length) {
    int64_t value = 0;
    ParseWhole(t.substr(at, length), value);
    return value;
  };
  const int64_t year = field(0, 4);
  const int64_t month = field(5, 2);
  const int64_t day = field(8, 2);
  const int64_t hour = hasTime ? field(11, 2) : 0;
  const int64_t minute = hasTime ? field(14, 2) : 0;
  const int64_t second = t.size() == 19 ? field(17, 2) : 0;
  if (year < kFirstYear || year > kLastYear) {
    return named + "the year must be within " + std::to_string(kFirstYear) + ".." +
           std::to_string(kLastYear);
  }
  if (month < 1 || month > 12) return named + "there is no month " + std::to_string(month);
  const int days = DaysInMonth(static_cast<int>(year), static_cast<int>(month));
  if (day < 1) return named + "there is no day 0";
  if (day > days) {
    return named + kMonthNames[month - 1] + " " + std::to_string(year) + " has " +
           std::to_string(days) + " days";
  }
  if (hour > 23) return named + "the hour must be within 00..23";
  if (minute > 59) return named + "the minute must be within 00..59";
  if (second > 59) return named + "the second must be within 00..59";
  jd = DateRecToJulian(TDateRec{static_cast<uint16_t>(year), static_cast<uint16_t>(month),
                                static_cast<uint16_t>(day), static_cast<uint16_t>(hour),
                                static_cast<uint16_t>(minute), static_cast<uint16_t>(second), 0});
  return {};
}

std::string ParseSiteWords(std::string_view text, TSiteWords& site) {
  // Sites from the deepest dry land to well above any aircraft.
  constexpr double kMinAltitudeM = -1000.0;
  constexpr double kMaxAltitudeM = 100000.0;
  const size_t first = text.find(',');
  const size_t second = first == std::string_view::npos ? first : text.find(',', first + 1);
  const std::string_view longitude =
      first == std::string_view::npos
          ? std::string_view()
          : text.substr(first + 1, second == std::string_view::npos ? second : second - first - 1);
  site.altitudeM = 0.0;
  if (first == std::string_view::npos || !ParseReal(text.substr(0, first), site.latitudeDeg) ||
      !ParseReal(longitude, site.longitudeDeg) ||
      (second != std::string_view::npos && !ParseReal(text.substr(second + 1), site.altitudeM))) {
    return "--site needs LAT,LON or LAT,LON,ALT_M (degrees and metres)";
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
