// Passes and flares taken along: iCalendar (RFC 5545) for calendars and JSON for scripts.
#include "prediction/pass_export.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <system_error>

#include "core/numeric.h"
#include "core/timescale.h"
#include "prediction/iridium.h"
#include "prediction/pass_lines.h"
#include "prediction/results.h"

namespace zen {

namespace {

using TJson = nlohmann::ordered_json;

constexpr double kSecondsPerDay = 86400.0;
constexpr size_t kFoldOctets = 75;
constexpr const char* kCrLf = "\r\n";
constexpr const char* kDegree = "\u00B0";
// A flare lasts seconds; its event is a minute long so that calendars show it at all.
constexpr double kFlareEventDays = 60.0 / kSecondsPerDay;

// The moment rounded to the nearest whole second, so that 18:01:22.999 reads as 18:01:23 and
// every text of one moment (calendar, JSON, description) names the same second.
double WholeSecond(double jd) {
  return std::round(jd * kSecondsPerDay) / kSecondsPerDay;
}

// "20261208T180123Z": the UTC form of a calendar date-time.
std::string CalendarUtcText(double jd) {
  const TDateRec d = JulianToDateRec(WholeSecond(jd));
  return std::to_string(d.year) + TwoDigits(d.month) + TwoDigits(d.day) + "T" + TwoDigits(d.hour) +
         TwoDigits(d.minute) + TwoDigits(d.second) + "Z";
}

// "2026-12-08T18:01:23Z".
std::string IsoUtcText(double jd) {
  std::string text = DateRecToText(JulianToDateRec(WholeSecond(jd)));
  text[10] = 'T';
  return text + "Z";
}

// "2026-12-08 19:01:23 UTC +1:00": the moment on the site's clock.
std::string LocalText(double jdUtc, double utcOffsetHours) {
  return DateRecToText(JulianToDateRec(WholeSecond(UtcToLocal(jdUtc, utcOffsetHours)))) + " " +
         TimeZoneText(utcOffsetHours);
}

// "48.2", "-16.37", "0": up to six decimals without trailing zeros (the FLOAT of a GEO value).
std::string CoordinateText(double value) {
  std::string text = FixedText(value, 6);
  if (text.find('.') != std::string::npos) {
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') text.pop_back();
  }
  return text;
}

// "245.1° (WSW)": an azimuth of one decimal within 0..359.9 and its compass point.
std::string AzimuthText(double azimuthDeg) {
  std::string text = FixedText(azimuthDeg, 1);
  if (text == "360.0") text = "0.0";
  return text + kDegree + " (" + CompassPoint(azimuthDeg) + ")";
}

std::string DegreesText(double deg) {
  return FixedText(deg, 1) + kDegree;
}

// "6 min 39 s", "1 h 2 min 3 s".
std::string SpanText(int64_t seconds) {
  if (seconds < 0) seconds = 0;
  const int64_t hours = seconds / 3600;
  const int64_t minutes = seconds / 60 % 60;
  std::string text = hours > 0 ? std::to_string(hours) + " h " : std::string();
  return text + std::to_string(minutes) + " min " + std::to_string(seconds % 60) + " s";
}

// A number rounded to three decimals for JSON; a zero is never negative.
double JsonNumber(double value) {
  const double rounded = std::round(value * 1000.0) / 1000.0;
  return rounded == 0.0 ? 0.0 : rounded;
}

// The panel of a flare as 1..3; a row without one counts as the front panel, as its letter does.
int FlarePanel(const TFound& f) {
  return f.panel >= 1 && f.panel <= 3 ? f.panel : 2;
}
double FlareAngle(const TFound& f) {
  return f.flareAngles[static_cast<size_t>(FlarePanel(f) - 1)];
}

// The searched satellite with the flare's catalogue number text, if any.
const TSearchSatellite* SatelliteOf(const std::vector<TSearchSatellite>& satellites,
                                    const std::string& catalogNumber) {
  for (const TSearchSatellite& s : satellites) {
    if (s.catalogNumberText == catalogNumber) return &s;
  }
  return nullptr;
}

// The set's name of a flare, or its label when no satellite searched has its number.
std::string FlareName(const TFound& f, const TSearchSatellite* satellite) {
  return satellite != nullptr && !satellite->name.empty() ? satellite->name : f.sat;
}

// The full catalogue number of a flare's satellite, from the satellite searched or else from
// the row's own text.
std::optional<int64_t> FlareNumber(const TFound& f, const TSearchSatellite* satellite) {
  if (satellite != nullptr && satellite->set.number >= 0) return satellite->set.number;
  int64_t number = 0;
  const char* first = f.catalogNumber.data();
  const char* last = first + f.catalogNumber.size();
  const auto [end, ec] = std::from_chars(first, last, number);
  if (ec == std::errc() && end == last) return number;
  return std::nullopt;
}

// Writes calendar content lines, each escaped where asked and folded.
class TCalendarText {
 public:
  void Line(std::string_view line) { text_ += FoldCalendarLine(line); }
  void Property(std::string_view name, std::string_view value) {
    Line(std::string(name) + ":" + std::string(value));
  }
  void TextProperty(std::string_view name, std::string_view value) {
    Property(name, EscapeCalendarText(value));
  }
  const std::string& Text() const { return text_; }

 private:
  std::string text_;
};

void BeginCalendar(TCalendarText& c) {
  c.Property("BEGIN", "VCALENDAR");
  c.Property("VERSION", "2.0");
  c.Property("PRODID", "-//Zenarith//Zenarith 1.0//EN");
  c.Property("CALSCALE", "GREGORIAN");
  c.Property("METHOD", "PUBLISH");
}

// What every event of a calendar has besides its own texts.
struct TEventFrame {
  std::string uid;
  double startUtc = 0.0;
  double endUtc = 0.0;
  std::string summary;
  std::string description;
};

void AddEvent(TCalendarText& c, const TEventFrame& e, const TExportSite& site,
              const std::string& stamp) {
  c.Property("BEGIN", "VEVENT");
  c.TextProperty("UID", e.uid);
  c.Property("DTSTAMP", stamp);
  c.Property("DTSTART", CalendarUtcText(e.startUtc));
  c.Property("DTEND", CalendarUtcText(e.endUtc));
  c.TextProperty("SUMMARY", e.summary);
  c.TextProperty("DESCRIPTION", e.description);
  c.Property("GEO", CoordinateText(site.latitudeDeg) + ";" + CoordinateText(site.longitudeDeg));
  if (!site.name.empty()) c.TextProperty("LOCATION", site.name);
  // A pass does not make its watcher busy.
  c.Property("TRANSP", "TRANSPARENT");
  c.Property("END", "VEVENT");
}

std::string PassDescription(const TPassLine& p, double utcOffsetHours) {
  std::string text = p.culmination.sat + ", catalogue number " + std::to_string(p.number) + "\n";
  text += "Rise: " + LocalText(p.rise.timeUtc, utcOffsetHours) + ", azimuth " +
          AzimuthText(p.rise.azimuth) + "\n";
  text += "Culmination: " + LocalText(p.culmination.timeUtc, utcOffsetHours) + ", elevation " +
          DegreesText(p.culmination.elevation) + ", azimuth " + AzimuthText(p.culmination.azimuth) +
          ", range " + FixedText(p.culmination.range, 0) + " km\n";
  text += "Set: " + LocalText(p.set.timeUtc, utcOffsetHours) + ", azimuth " +
          AzimuthText(p.set.azimuth) + "\n";
  text += "Duration: " + SpanText(p.DurationSeconds()) + ", sunlit " + SpanText(p.sunlitSeconds);
  return text;
}

std::string FlareDescription(const TFound& f, const std::string& name,
                             const std::optional<int64_t>& number, double utcOffsetHours) {
  std::string text = name;
  if (name != f.sat) text += " (" + f.sat + ")";
  if (number) text += ", catalogue number " + std::to_string(*number);
  text += "\nTime: " + LocalText(f.timeUtc, utcOffsetHours) + "\n";
  text += "Azimuth " + AzimuthText(f.azimuth) + ", elevation " + DegreesText(f.elevation) +
          ", range " + FixedText(f.range, 0) + " km\n";
  text += std::string("Panel ") + PanelLetter(FlarePanel(f)) + ", " +
          (f.direction == 'D' ? "descending" : "ascending") + ", flare angle " +
          FlareAngleText(FlareAngle(f)) + kDegree + "\n";
  text += "Sun elevation " + DegreesText(f.sunElevation);
  return text;
}

TJson PointJson(const TFound& f) {
  TJson point = TJson::object();
  point["time_utc"] = IsoUtcText(f.timeUtc);
  point["az"] = JsonNumber(f.azimuth);
  point["el"] = JsonNumber(f.elevation);
  point["range"] = JsonNumber(f.range);
  return point;
}

// Indented by two, invalid UTF-8 in a name replaced rather than refused, and a line end.
std::string JsonText(const TJson& json) {
  return json.dump(2, ' ', false, TJson::error_handler_t::replace) + "\n";
}

}  // namespace

std::string EscapeCalendarText(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    switch (c) {
      case '\\':
        escaped += "\\\\";
        break;
      case ';':
        escaped += "\\;";
        break;
      case ',':
        escaped += "\\,";
        break;
      case '\r':
        // CR LF is one line end; a lone CR counts as one too.
        if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        escaped += "\\n";
        break;
      case '\n':
        escaped += "\\n";
        break;
      default:
        // Other control characters may not appear in a text value; the tab may.
        if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == '\x7F') break;
        escaped += c;
    }
  }
  return escaped;
}

std::string FoldCalendarLine(std::string_view line) {
  std::string folded;
  folded.reserve(line.size() + line.size() / 37 + 2);
  size_t limit = kFoldOctets;  // the first part has no leading blank
  while (line.size() > limit) {
    size_t cut = limit;
    // Back to the first octet of a UTF-8 character: continuation octets are 10xxxxxx.
    while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
    if (cut == 0) cut = limit;  // not UTF-8 at all: cut where the octets end
    folded.append(line.substr(0, cut));
    folded += kCrLf;
    folded += ' ';
    line.remove_prefix(cut);
    limit = kFoldOctets - 1;
  }
  folded.append(line);
  folded += kCrLf;
  return folded;
}

std::string PassesCalendar(const std::vector<TPassLine>& passes, const TExportSite& site,
                           double stampUtc) {
  TCalendarText c;
  BeginCalendar(c);
  const std::string stamp = CalendarUtcText(stampUtc);
  for (const TPassLine& p : passes) {
    TEventFrame e;
    e.uid = std::to_string(p.number) + "-" + CalendarUtcText(p.rise.timeUtc) + "@zenarith";
    e.startUtc = p.rise.timeUtc;
    e.endUtc = p.set.timeUtc;
    e.summary = p.culmination.sat + " pass, max " +
                std::to_string(std::llround(p.culmination.elevation)) + kDegree;
    e.description = PassDescription(p, site.utcOffsetHours);
    AddEvent(c, e, site, stamp);
  }
  c.Property("END", "VCALENDAR");
  return c.Text();
}

std::string FlaresCalendar(const TResultRows& flares,
                           const std::vector<TSearchSatellite>& satellites, const TExportSite& site,
                           double stampUtc) {
  TCalendarText c;
  BeginCalendar(c);
  const std::string stamp = CalendarUtcText(stampUtc);
  for (const std::optional<TFound>& row : flares) {
    if (!row) continue;
    const TFound& f = *row;
    const TSearchSatellite* satellite = SatelliteOf(satellites, f.catalogNumber);
    const std::string name = FlareName(f, satellite);
    const std::optional<int64_t> number = FlareNumber(f, satellite);
    TEventFrame e;
    e.uid = "flare-" + (number ? std::to_string(*number) : f.catalogNumber) + "-" +
            CalendarUtcText(f.timeUtc) + "@zenarith";
    e.startUtc = WholeSecond(f.timeUtc);
    e.endUtc = e.startUtc + kFlareEventDays;
    e.summary = name + " flare, angle " + FlareAngleText(FlareAngle(f)) + kDegree;
    e.description = FlareDescription(f, name, number, site.utcOffsetHours);
    AddEvent(c, e, site, stamp);
  }
  c.Property("END", "VCALENDAR");
  return c.Text();
}

std::string PassesJson(const std::vector<TPassLine>& passes) {
  TJson list = TJson::array();
  for (const TPassLine& p : passes) {
    TJson pass = TJson::object();
    pass["catno"] = p.number;
    pass["name"] = p.culmination.sat;
    pass["rise"] = PointJson(p.rise);
    pass["culmination"] = PointJson(p.culmination);
    pass["set"] = PointJson(p.set);
    pass["duration_seconds"] = p.DurationSeconds();
    pass["sunlit_seconds"] = p.sunlitSeconds;
    pass["in_progress"] = p.rise.inProgress;
    list.push_back(std::move(pass));
  }
  return JsonText(list);
}

std::string FlaresJson(const TResultRows& flares, const std::vector<TSearchSatellite>& satellites) {
  TJson list = TJson::array();
  for (const std::optional<TFound>& row : flares) {
    if (!row) continue;
    const TFound& f = *row;
    const TSearchSatellite* satellite = SatelliteOf(satellites, f.catalogNumber);
    TJson flare = TJson::object();
    if (const std::optional<int64_t> number = FlareNumber(f, satellite)) {
      flare["catno"] = *number;
    } else {
      flare["catno"] = f.catalogNumber;
    }
    flare["name"] = FlareName(f, satellite);
    flare["label"] = f.sat;
    flare["time_utc"] = IsoUtcText(f.timeUtc);
    flare["az"] = JsonNumber(f.azimuth);
    flare["el"] = JsonNumber(f.elevation);
    flare["range"] = JsonNumber(f.range);
    flare["panel"] = PanelLetter(FlarePanel(f));
    flare["direction"] = std::string(1, f.direction == 'D' ? 'D' : 'A');
    flare["angle"] = JsonNumber(FlareAngle(f));
    flare["sun_az"] = JsonNumber(f.sunAzimuth);
    flare["sun_el"] = JsonNumber(f.sunElevation);
    list.push_back(std::move(flare));
  }
  return JsonText(list);
}

}  // namespace zen
