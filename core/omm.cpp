// Mean-elements messages: the three encodings reduce each set to named text fields, and one
// decoder turns those fields into elements through the step the element lines use too.
#include "core/omm.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <map>
#include <optional>

#include <nlohmann/json.hpp>
#include <pugixml.hpp>

#include "core/alpha5.h"
#include "core/numeric.h"
#include "core/timescale.h"

namespace zen {

namespace {

using TFields = std::map<std::string, std::string, std::less<>>;

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string_view WithoutByteOrderMark(std::string_view text) {
  if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
    text.remove_prefix(kByteOrderMark.size());
  }
  return text;
}

// A finite number written in full (an optional sign, digits, point, exponent); no "nan", "inf"
// or trailing text.
std::optional<double> ParseReal(std::string_view text) {
  text = Trimmed(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  char first = text.front() == '-' && text.size() > 1 ? text[1] : text.front();
  if (!((first >= '0' && first <= '9') || first == '.')) return std::nullopt;
  double value = 0.0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

std::optional<int64_t> ParseInteger(std::string_view text) {
  text = Trimmed(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  int64_t value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<std::string_view> Field(const TFields& fields, std::string_view name) {
  auto it = fields.find(name);
  if (it == fields.end()) return std::nullopt;
  return std::string_view(it->second);
}

std::optional<double> RealIn(const TFields& fields, std::string_view name, double low,
                             double high) {
  std::optional<std::string_view> text = Field(fields, name);
  if (!text) return std::nullopt;
  std::optional<double> value = ParseReal(*text);
  if (!value || *value < low || *value > high) return std::nullopt;
  return value;
}

// An integer field that may be left out (giving fallback) but not given wrongly.
std::optional<int64_t> OptionalIntegerIn(const TFields& fields, std::string_view name, int64_t high,
                                         int64_t fallback) {
  std::optional<std::string_view> text = Field(fields, name);
  if (!text || Trimmed(*text).empty()) return fallback;
  std::optional<int64_t> value = ParseInteger(*text);
  if (!value || *value < 0 || *value > high) return std::nullopt;
  return value;
}

bool Digits(std::string_view text, size_t first, size_t count, int& value) {
  if (first + count > text.size()) return false;
  value = 0;
  for (char c : text.substr(first, count)) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  return true;
}

struct TEpoch {
  int year = 0;
  double dayOfYear = 0.0;  // 1.0 at the year's first midnight
};

// "yyyy-mm-ddThh:mm:ss[.ffffff][Z]" or the day-of-year form "yyyy-dddThh:mm:ss[.ffffff][Z]".
std::optional<TEpoch> ParseEpoch(std::string_view text) {
  text = Trimmed(text);
  if (!text.empty() && text.back() == 'Z') text.remove_suffix(1);
  TEpoch epoch;
  int day = 0;
  size_t timeAt = 0;
  if (!Digits(text, 0, 4, epoch.year) || text.size() < 9 || text[4] != '-') return std::nullopt;
  if (text[7] == '-') {
    int month = 0;
    int dayOfMonth = 0;
    if (!Digits(text, 5, 2, month) || !Digits(text, 8, 2, dayOfMonth)) return std::nullopt;
    if (month < 1 || month > 12 || dayOfMonth < 1) return std::nullopt;
    if (dayOfMonth > DayOfYear(epoch.year, month + (month < 12 ? 1 : 0), month < 12 ? 1 : 32) -
                         DayOfYear(epoch.year, month, 1)) {
      return std::nullopt;
    }
    day = DayOfYear(epoch.year, month, dayOfMonth);
    timeAt = 10;
  } else {
    if (!Digits(text, 5, 3, day) || day < 1 || day > DayOfYear(epoch.year, 12, 31)) {
      return std::nullopt;
    }
    timeAt = 8;
  }
  int hour = 0;
  int minute = 0;
  if (text.size() < timeAt + 9 || (text[timeAt] != 'T' && text[timeAt] != ' ') ||
      !Digits(text, timeAt + 1, 2, hour) || text[timeAt + 3] != ':' ||
      !Digits(text, timeAt + 4, 2, minute) || text[timeAt + 6] != ':') {
    return std::nullopt;
  }
  std::string_view secondsText = text.substr(timeAt + 7);
  int wholeSeconds = 0;
  if (!Digits(secondsText, 0, 2, wholeSeconds) ||
      (secondsText.size() > 2 && secondsText[2] != '.')) {
    return std::nullopt;
  }
  std::optional<double> seconds = ParseReal(secondsText);
  if (!seconds || hour > 23 || minute > 59 || *seconds >= 60.0) return std::nullopt;
  epoch.dayOfYear = day + ((hour * 60.0 + minute) * 60.0 + *seconds) / 86400.0;
  return epoch;
}

// "1998-067A" gives the launch year "1998" and the designator "1998-067-A", as the element
// lines' columns would; any other text is kept as the designator with no launch year.
void SetDesignator(std::string_view objectId, TElements& e) {
  objectId = Trimmed(objectId);
  int year = 0;
  int launch = 0;
  bool piece = objectId.size() >= 9 && objectId.size() <= 11;
  for (size_t i = 8; piece && i < objectId.size(); ++i) {
    piece = objectId[i] >= 'A' && objectId[i] <= 'Z';
  }
  if (piece && Digits(objectId, 0, 4, year) && objectId[4] == '-' &&
      Digits(objectId, 5, 3, launch)) {
    e.launchYear = std::string(objectId.substr(0, 4));
    e.designator = e.launchYear + "-" + std::string(objectId.substr(5, 3)) + "-" +
                   std::string(objectId.substr(8));
  } else {
    e.launchYear.clear();
    e.designator = std::string(objectId);
  }
}

std::optional<TOmmSet> DecodeSet(const TFields& fields) {
  TOmmSet set;
  TMeanElementFields f;
  std::optional<TEpoch> epoch;
  if (auto text = Field(fields, "EPOCH")) epoch = ParseEpoch(*text);
  auto motion = RealIn(fields, "MEAN_MOTION", 0.0, 100.0);
  auto eccentricity = RealIn(fields, "ECCENTRICITY", 0.0, 1.0);
  auto inclination = RealIn(fields, "INCLINATION", 0.0, 180.0);
  auto node = RealIn(fields, "RA_OF_ASC_NODE", 0.0, 360.0);
  auto argPerigee = RealIn(fields, "ARG_OF_PERICENTER", 0.0, 360.0);
  auto meanAnomaly = RealIn(fields, "MEAN_ANOMALY", 0.0, 360.0);
  auto bstar = RealIn(fields, "BSTAR", -1000.0, 1000.0);
  auto motionDot = RealIn(fields, "MEAN_MOTION_DOT", -1.0, 1.0);
  auto motionDdot = RealIn(fields, "MEAN_MOTION_DDOT", -1.0, 1.0);
  auto number = OptionalIntegerIn(fields, "NORAD_CAT_ID", kLargestOmmCatalogNumber, -1);
  auto revolution =
      OptionalIntegerIn(fields, "REV_AT_EPOCH", std::numeric_limits<int32_t>::max(), 0);
  auto elementSet = OptionalIntegerIn(fields, "ELEMENT_SET_NO", kLargestOmmCatalogNumber, -1);
  if (!epoch || !motion || !eccentricity || !inclination || !node || !argPerigee || !meanAnomaly ||
      !bstar || !motionDot || !motionDdot || !number || *number < 0 || !revolution || !elementSet) {
    return std::nullopt;
  }
  if (!(*motion > 0.0) || !(*eccentricity < 1.0)) return std::nullopt;
  // The element lines' epoch field holds two year digits: 1957 to 2056.
  if (epoch->year < 1957 || epoch->year > 2056) return std::nullopt;

  TElements& e = set.elements;
  e.epoch = (epoch->year % 100) * 1000.0 + epoch->dayOfYear;
  e.epochJulian = JulianDateOfYear(epoch->year) + epoch->dayOfYear;
  f.revPerDay = *motion;
  f.eccentricity = *eccentricity;
  f.inclinationDeg = *inclination;
  f.nodeDeg = *node;
  f.argPerigeeDeg = *argPerigee;
  f.meanAnomalyDeg = *meanAnomaly;
  f.bstar = *bstar;
  f.nDot2RevPerDay2 = *motionDot;
  f.nDdot6RevPerDay3 = *motionDdot;
  SetMeanElements(f, e);

  set.catalogNumber = *number;
  e.catalogNumber = CatalogNumberText(*number);
  e.revolutionNumber = static_cast<int32_t>(*revolution);
  e.elementSetNumber = *elementSet >= 0 ? std::to_string(*elementSet) : std::string();
  SetDesignator(Field(fields, "OBJECT_ID").value_or(""), e);
  set.name = std::string(Trimmed(Field(fields, "OBJECT_NAME").value_or("")));
  return set;
}

void Take(const TFields& fields, TOmmReadResult& result) {
  if (std::optional<TOmmSet> set = DecodeSet(fields)) {
    result.sets.push_back(std::move(*set));
  } else {
    ++result.invalidCount;
  }
}

// ---- CSV: records of quoted or plain fields; a quote inside a quoted field is doubled.

struct TCsvRecord {
  std::vector<std::string> fields;
  bool complete = true;  // false when the text ended inside a quoted field
};

// The record starting at pos; pos moves past its line end.
TCsvRecord NextCsvRecord(std::string_view text, size_t& pos) {
  TCsvRecord record;
  std::string field;
  bool quoted = false;
  while (pos < text.size()) {
    char c = text[pos++];
    if (quoted) {
      if (c != '"') {
        field.push_back(c);
      } else if (pos < text.size() && text[pos] == '"') {
        field.push_back('"');
        ++pos;
      } else {
        quoted = false;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      record.fields.push_back(std::string(Trimmed(field)));
      field.clear();
    } else if (c == '\n') {
      break;
    } else if (c != '\r') {
      field.push_back(c);
    }
  }
  record.fields.push_back(std::string(Trimmed(field)));
  record.complete = !quoted;
  return record;
}

void ReadCsv(std::string_view text, TOmmReadResult& result) {
  size_t pos = 0;
  std::vector<std::string> header;
  while (pos < text.size()) {
    TCsvRecord record = NextCsvRecord(text, pos);
    if (record.fields.size() == 1 && record.fields[0].empty() && record.complete) continue;
    if (header.empty()) {
      header = std::move(record.fields);
      continue;
    }
    if (!record.complete || record.fields.size() != header.size()) {
      ++result.invalidCount;
      continue;
    }
    TFields fields;
    for (size_t i = 0; i < header.size(); ++i) fields[header[i]] = std::move(record.fields[i]);
    Take(fields, result);
  }
}

// ---- JSON: an array of objects (or one object); numbers may also be given as strings.

void TakeJsonObject(const nlohmann::json& object, TOmmReadResult& result) {
  if (!object.is_object()) {
    ++result.invalidCount;
    return;
  }
  TFields fields;
  for (const auto& [key, value] : object.items()) {
    if (value.is_string()) {
      fields[key] = value.get<std::string>();
    } else if (value.is_number()) {
      // The shortest text that reads back to the same double.
      fields[key] = value.dump();
    }
  }
  Take(fields, result);
}

void ReadJson(std::string_view text, TOmmReadResult& result) {
  using nlohmann::json;
  bool topArray = false;
  // Each object of the top array is decoded as soon as it closes and then dropped, so a text
  // cut short keeps every set before the cut.
  json::parser_callback_t callback = [&](int depth, json::parse_event_t event, json& parsed) {
    if (depth == 0 && event == json::parse_event_t::array_start) topArray = true;
    if (topArray && depth == 1 && event == json::parse_event_t::object_end) {
      TakeJsonObject(parsed, result);
      return false;
    }
    return true;
  };
  json rest = json::parse(text.begin(), text.end(), callback, false);
  if (rest.is_discarded()) {
    ++result.invalidCount;  // the unfinished rest of the text
  } else if (rest.is_array()) {
    // Whatever is left in the top array is not an object.
    result.invalidCount += static_cast<int>(rest.size());
  } else {
    TakeJsonObject(rest, result);
  }
}

// ---- XML: omm elements anywhere in the document, each with metadata, meanElements and
// tleParameters.

void ReadXml(std::string_view text, TOmmReadResult& result) {
  pugi::xml_document document;
  pugi::xml_parse_result parsed = document.load_buffer(text.data(), text.size());
  pugi::xpath_node_set omms = document.select_nodes("//omm");
  size_t count = omms.size();
  if (!parsed) {
    // The parser keeps what it read before the fault; the last message may be cut inside a
    // value, so it is not read.
    ++result.invalidCount;
    if (count > 0) --count;
  }
  for (size_t i = 0; i < count; ++i) {
    pugi::xml_node omm = omms[i].node();
    pugi::xml_node segment = omm.child("body").child("segment");
    TFields fields;
    for (pugi::xml_node group :
         {segment.child("metadata"), segment.child("data").child("meanElements"),
          segment.child("data").child("tleParameters")}) {
      for (pugi::xml_node item : group.children()) {
        if (item.type() == pugi::node_element) fields[item.name()] = item.child_value();
      }
    }
    Take(fields, result);
  }
  if (parsed && count == 0) ++result.invalidCount;
}

}  // namespace

TElementTextKind ElementTextKind(std::string_view text) {
  text = WithoutByteOrderMark(text);
  size_t first = 0;
  while (first < text.size() && IsBlank(text[first])) ++first;
  if (first == text.size()) return TElementTextKind::ElementLines;
  if (text[first] == '[' || text[first] == '{') return TElementTextKind::Json;
  if (text[first] == '<') return TElementTextKind::Xml;
  std::string_view line = text.substr(first, text.find('\n', first) - first);
  if (line.find("OBJECT_NAME") != std::string_view::npos &&
      line.find("NORAD_CAT_ID") != std::string_view::npos) {
    return TElementTextKind::Csv;
  }
  return TElementTextKind::ElementLines;
}

TOmmReadResult ReadOmmText(std::string_view text) {
  TOmmReadResult result;
  text = WithoutByteOrderMark(text);
  result.kind = ElementTextKind(text);
  try {
    switch (result.kind) {
      case TElementTextKind::Csv:
        ReadCsv(text, result);
        break;
      case TElementTextKind::Json:
        ReadJson(text, result);
        break;
      case TElementTextKind::Xml:
        ReadXml(text, result);
        break;
      case TElementTextKind::ElementLines:
        break;
    }
  } catch (const std::exception&) {
    // Only running out of memory gets here; what was read so far is kept.
    ++result.invalidCount;
  }
  return result;
}

}  // namespace zen
