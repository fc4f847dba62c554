// The words of a command's options: "--name value" or "--name=value", whole numbers, reals,
// UTC moments and observer sites.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zen::cli {

// For an option word at args[i]: splits "--name=value", or takes the next word as the value
// (advancing i). name gets the option without its value; false when no value was found.
bool TakeOptionValue(const std::vector<std::string>& args, size_t& i, std::string& name,
                     std::string& value);

// The whole text as a decimal integer (optional "-"), nothing else.
bool ParseWhole(std::string_view text, int64_t& value);
// A catalogue number as users write it: digits up to 999999999 or five Alpha-5 columns
// ("A0000" is 100000).
bool ParseCatalogNumber(std::string_view text, int64_t& value);
// The whole text as a finite real number with ".".
bool ParseReal(std::string_view text, double& value);

// A UTC moment as the options take it: yyyy-mm-dd (midnight), yyyy-mm-dd hh:mm or
// yyyy-mm-dd hh:mm:ss, with "T" or a blank between date and time and an optional closing "Z";
// a real calendar moment of the years 1583..9998, as a Julian date.
bool ParseUtc(std::string_view text, double& jd);

// The same for the option named option: returns what is wrong as an error text (a text that
// is no moment, or the field that is out of its range), or an empty text when it is sound.
std::string ParseUtcOption(std::string_view option, std::string_view text, double& jd);

// An observer's site as --site gives it.
struct TSiteWords {
  double latitudeDeg = 0.0;   // north positive
  double longitudeDeg = 0.0;  // east positive, -180..360 as typed
  double altitudeM = 0.0;
};

// "LAT,LON" or "LAT,LON,ALT_M" in degrees and metres (altitude 0 when left out) within the
// ranges of a site on or above the Earth; returns what is wrong with it as an error text, or
// an empty text when it is sound.
std::string ParseSiteWords(std::string_view text, TSiteWords& site);

}  // namespace zen::cli
