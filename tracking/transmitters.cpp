// Radio transmitters of satellites, read from lists in the SatNOGS DB transmitter JSON shape.
#include "tracking/transmitters.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>
#include <system_error>
#include <unordered_set>

#include "core/numeric.h"
#include "tracking/text_file.h"

namespace zen {

namespace {

using nlohmann::json;

// Anything above this is a typing error, not a radio frequency (the top of the EHF band).
constexpr int64_t kHighestFrequencyHz = 300'000'000'000;

// The reading of one key: absent (or null: the export writes null for "not given"), taken, or
// present with a value that cannot be meant.
enum class TTake { Absent, Taken, Wrong };

// Whole numbers may come as integers or, from some writers, with a zero fraction.
bool WholeNumber(const json& value, int64_t& number) {
  if (value.is_number_unsigned()) {
    const uint64_t u = value.get<uint64_t>();
    if (u > static_cast<uint64_t>(std::numeric_limits<int64_t>::max())) return false;
    number = static_cast<int64_t>(u);
    return true;
  }
  if (value.is_number_integer()) {
    number = value.get<int64_t>();
    return true;
  }
  if (value.is_number_float()) {
    const double d = value.get<double>();
    // The bound keeps the conversion defined; such numbers are refused later anyway.
    if (!std::isfinite(d) || d != std::trunc(d) || std::fabs(d) > 9.0e18) return false;
    number = static_cast<int64_t>(d);
    return true;
  }
  return false;
}

const json* Find(const json& object, const char* key) {
  const auto it = object.find(key);
  if (it == object.end() || it->is_null()) return nullptr;
  return &*it;
}

TTake TakeString(const json& object, const char* key, std::string& text) {
  const json* value = Find(object, key);
  if (value == nullptr) return TTake::Absent;
  if (!value->is_string()) return TTake::Wrong;
  text = value->get<std::string>();
  return TTake::Taken;
}

TTake TakeBool(const json& object, const char* key, bool& flag) {
  const json* value = Find(object, key);
  if (value == nullptr) return TTake::Absent;
  if (!value->is_boolean()) return TTake::Wrong;
  flag = value->get<bool>();
  return TTake::Taken;
}

TTake TakeFrequency(const json& object, const char* key, std::optional<int64_t>& hz) {
  const json* value = Find(object, key);
  if (value == nullptr) return TTake::Absent;
  int64_t number = 0;
  if (!WholeNumber(*value, number) || number <= 0 || number > kHighestFrequencyHz) {
    return TTake::Wrong;
  }
  hz = number;
  return TTake::Taken;
}

TTake TakeBaud(const json& object, std::optional<double>& baud) {
  const json* value = Find(object, "baud");
  if (value == nullptr) return TTake::Absent;
  if (!value->is_number()) return TTake::Wrong;
  const double rate = value->get<double>();
  if (!std::isfinite(rate) || rate < 0.0) return TTake::Wrong;
  baud = rate;
  return TTake::Taken;
}

// A high without its low says nothing usable; a low above its high is a swapped pair that
// would turn every pairing of a transponder upside down.
bool BandSound(const std::optional<int64_t>& lowHz, const std::optional<int64_t>& highHz) {
  if (!highHz) return true;
  return lowHz && *lowHz <= *highHz;
}

std::optional<TTransmitter> TakeEntry(const json& entry) {
  if (!entry.is_object()) return std::nullopt;
  TTransmitter t;
  const json* id = Find(entry, "norad_cat_id");
  if (id == nullptr || !WholeNumber(*id, t.noradId) || t.noradId <= 0) return std::nullopt;
  const TTake takes[] = {
      TakeString(entry, "description", t.description),
      TakeString(entry, "type", t.type),
      TakeString(entry, "mode", t.mode),
      TakeBool(entry, "alive", t.alive),
      TakeBool(entry, "invert", t.invert),
      TakeFrequency(entry, "uplink_low", t.uplinkLowHz),
      TakeFrequency(entry, "uplink_high", t.uplinkHighHz),
      TakeFrequency(entry, "downlink_low", t.downlinkLowHz),
      TakeFrequency(entry, "downlink_high", t.downlinkHighHz),
      TakeBaud(entry, t.baud),
  };
  if (std::find(std::begin(takes), std::end(takes), TTake::Wrong) != std::end(takes)) {
    return std::nullopt;
  }
  if (!t.uplinkLowHz && !t.uplinkHighHz && !t.downlinkLowHz && !t.downlinkHighHz) {
    return std::nullopt;
  }
  if (!BandSound(t.uplinkLowHz, t.uplinkHighHz) || !BandSound(t.downlinkLowHz, t.downlinkHighHz)) {
    return std::nullopt;
  }
  // The uuid only identifies an entry; a strange one is no reason to lose the frequencies.
  TakeString(entry, "uuid", t.uuid);
  return t;
}

// "down 145.800 MHz", "down 435.800–435.900 MHz"; empty without a frequency.
std::string BandText(const char* word, const std::optional<int64_t>& lowHz,
                     const std::optional<int64_t>& highHz) {
  if (!lowHz) return {};
  std::string text = std::string(word) + " " + MegahertzText(*lowHz);
  if (highHz && *highHz != *lowHz) text += "\u2013" + MegahertzText(*highHz);
  return text + " MHz";
}

std::string BaudText(double baud) {
  char buffer[64];
  const auto [end, error] =
      std::to_chars(buffer, buffer + sizeof buffer, baud, std::chars_format::fixed);
  if (error != std::errc()) return {};
  return std::string(buffer, end) + " Bd";
}

}  // namespace

TTransmitterList ParseTransmitters(std::string_view text) {
  TTransmitterList list;
  if (TrimBlanks(text).empty()) return list;
  json parsed;
  try {
    parsed = json::parse(text.begin(), text.end());
  } catch (const json::parse_error& error) {
    list.problem = "the text is not valid JSON (at byte " + std::to_string(error.byte) + ")";
    return list;
  } catch (const json::exception&) {
    list.problem = "the text is not valid JSON";
    return list;
  }
  if (!parsed.is_array()) {
    list.problem =
        std::string("the text is a JSON ") + parsed.type_name() + ", not an array of transmitters";
    return list;
  }
  list.items.reserve(parsed.size());
  for (const json& entry : parsed) {
    std::optional<TTransmitter> transmitter = TakeEntry(entry);
    if (transmitter) {
      list.items.push_back(std::move(*transmitter));
    } else {
      ++list.invalid;
    }
  }
  return list;
}

TTransmitterList ReadTransmitters(const std::filesystem::path& file) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(file, error);
  if (status.type() == std::filesystem::file_type::not_found) return {};
  return ParseTransmitters(ReadFileBytes(file, kDataFileLimit));
}

std::vector<TTransmitter> TransmittersOf(const TTransmitterList& shipped,
                                         const TTransmitterList& user, int64_t noradId) {
  std::vector<TTransmitter> found;
  std::unordered_set<std::string> userUuids;
  for (const TTransmitter& t : user.items) {
    if (!t.uuid.empty()) userUuids.insert(t.uuid);
    if (t.noradId != noradId) continue;
    found.push_back(t);
    found.back().userOwn = true;
  }
  for (const TTransmitter& t : shipped.items) {
    if (t.noradId != noradId || (!t.uuid.empty() && userUuids.count(t.uuid) != 0)) continue;
    found.push_back(t);
    found.back().userOwn = false;
  }
  std::stable_partition(found.begin(), found.end(), [](const TTransmitter& t) { return t.alive; });
  return found;
}

std::string MegahertzText(int64_t hz) {
  // In unsigned arithmetic the most negative value has a magnitude too.
  const uint64_t magnitude = hz < 0 ? 0 - static_cast<uint64_t>(hz) : static_cast<uint64_t>(hz);
  std::string fraction = std::to_string(magnitude % 1000000);
  fraction.insert(0, 6 - fraction.size(), '0');
  while (fraction.size() > 3 && fraction.back() == '0') fraction.pop_back();
  return (hz < 0 ? "-" : "") + std::to_string(magnitude / 1000000) + "." + fraction;
}

std::string TransmitterText(const TTransmitter& t) {
  std::string head = !t.description.empty() ? t.description
                     : !t.type.empty()      ? t.type
                                            : std::string("Transmitter");
  std::vector<std::string> parts;
  if (!t.mode.empty()) parts.push_back(t.mode);
  if (std::string down = BandText("down", t.downlinkLowHz, t.downlinkHighHz); !down.empty()) {
    parts.push_back(std::move(down));
  }
  if (std::string up = BandText("up", t.uplinkLowHz, t.uplinkHighHz); !up.empty()) {
    parts.push_back(std::move(up));
  }
  if (t.invert) parts.push_back("inverting");
  if (t.baud && *t.baud > 0.0) parts.push_back(BaudText(*t.baud));
  if (!t.alive) parts.push_back("not active");
  std::string text = std::move(head);
  for (size_t i = 0; i < parts.size(); ++i) {
    text += i == 0 ? " \u2014 " : ", ";
    text += parts[i];
  }
  return text;
}

}  // namespace zen
