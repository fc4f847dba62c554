// Radio transmitters of satellites, read from lists in the SatNOGS DB transmitter JSON shape.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zen {

// The shipped list, which an update replaces whole.
inline constexpr const char* kTransmittersFile = "Data/transmitters.json";
// The user's own entries; no update ever writes it.
inline constexpr const char* kUserTransmittersFile = "Data/my_transmitters.json";

// One transmitter, transceiver or transponder. A single frequency has its low set and its high
// empty; a passband has both, low <= high, whichever way the transponder turns it.
struct TTransmitter {
  int64_t noradId = 0;
  std::string uuid;         // empty when the list gives none
  std::string description;  // "Mode V/U FM", as the list words it
  std::string type;         // "Transmitter", "Transceiver" or "Transponder"
  std::string mode;         // "FM", "SSB", "CW", ...; empty when not given
  bool alive = true;
  bool invert = false;  // an inverting transponder: the top of the uplink comes down at the bottom
  std::optional<int64_t> uplinkLowHz;
  std::optional<int64_t> uplinkHighHz;
  std::optional<int64_t> downlinkLowHz;
  std::optional<int64_t> downlinkHighHz;
  std::optional<double> baud;
  bool userOwn = false;  // from the user's own list
};

struct TTransmitterList {
  std::vector<TTransmitter> items;
  int invalid = 0;      // entries skipped as unusable
  std::string problem;  // why the text as a whole is no transmitter list; empty when it is one
};

// Reads a JSON array of transmitter objects; never throws. Keys other than those of TTransmitter
// are ignored. An entry is counted in invalid and skipped when it is no object, has no positive
// integer norad_cat_id, gives a key of TTransmitter a value of the wrong type, has no frequency at
// all, a high without its low, a low above its high, or a frequency not above 0 Hz or above
// 300 GHz. A missing or null key takes the default of TTransmitter. Frequencies are whole Hz; a
// number written with a fraction is taken only when the fraction is zero. A text of blanks is an
// empty list; any other text that is no JSON array gives no items and a problem.
TTransmitterList ParseTransmitters(std::string_view json);

// ParseTransmitters of a file. A file that does not exist is an empty list without a problem (the
// user's own list is optional); a file that exists and cannot be read throws TFileError.
TTransmitterList ReadTransmitters(const std::filesystem::path& file);

// The transmitters of one satellite: the user's own first (userOwn set), then the shipped ones,
// and of those the ones not alive last; otherwise in list order. A user's entry with the uuid of
// a shipped one takes that one's place, so a user corrects a shipped entry by copying it.
std::vector<TTransmitter> TransmittersOf(const TTransmitterList& shipped,
                                         const TTransmitterList& user, int64_t noradId);

// One line for a list: "Mode V/U FM — FM, down 437.800 MHz, up 145.990 MHz", a passband as
// "down 435.800–435.900 MHz", then "inverting", the baud rate and "not active" where they apply.
// At least three decimals of MHz, more when the frequency has them.
std::string TransmitterText(const TTransmitter& transmitter);

// "145.800", "137.9125": a frequency in MHz with at least three decimals and no more than it
// needs, exactly as the whole Hz give it.
std::string MegahertzText(int64_t hz);

}  // namespace zen
