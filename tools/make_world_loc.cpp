// Makes resources/Locations/World.loc, the location database shipped with the program, from a
// table of the world's larger cities and capitals.
//
// Source: GeoNames (https://www.geonames.org), licensed under CC BY 4.0; the table holds the
// places of at least 250,000 inhabitants and the capitals, with the columns
// name,lat,lon,alt_m,cc,tz,population (names with a comma are quoted).
//
// Run from the source folder:
//   cmake --build build --target zen_make_world_loc
//   build/tools/zen_make_world_loc
//       ../shared/data/places/geonames_ge250k_or_capital.csv resources/Locations/World.loc
// (both arguments on one line).
//
// Every place becomes one entry: the name cut to 25 characters, the country code as its sign,
// longitude, latitude and altitude (0 where the table has none), sorted by name without regard
// to case, places of equal names in the table's order.
#include <algorithm>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "core/text_encoding.h"
#include "locations/location_db.h"
#include "locations/name_order.h"
#include "locations/number_text.h"
#include "tracking/text_file.h"

namespace {

// The fields of one comma-separated line; a quoted field may hold commas and doubled quotes.
std::vector<std::string> SplitCsv(const std::string& line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
        fields.back().push_back('"');
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        fields.back().push_back(c);
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      fields.emplace_back();
    } else {
      fields.back().push_back(c);
    }
  }
  return fields;
}

struct TPlace {
  std::string name;
  zen::TLocationRec entry;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s PLACES.csv World.loc\n", argv[0]);
    return 2;
  }
  try {
    const std::vector<std::string> lines = zen::ReadTextLines(argv[1], zen::kDataFileLimit);
    std::vector<TPlace> places;
    for (size_t i = 1; i < lines.size(); ++i) {
      if (lines[i].empty()) continue;
      const std::vector<std::string> f = SplitCsv(lines[i]);
      TPlace place;
      double altitude = 0.0;
      if (f.size() < 5 || !zen::ReadDecimal(f[1], place.entry.latitude) ||
          !zen::ReadDecimal(f[2], place.entry.longitude) ||
          (!f[3].empty() && !zen::ReadDecimal(f[3], altitude))) {
        std::fprintf(stderr, "%s: line %zu not understood\n", argv[1], i + 1);
        return 1;
      }
      place.name = zen::Utf8Prefix(f[0], zen::kLocationNameCharacters);
      place.entry.altitude = altitude;
      place.entry.sign = f[4];
      places.push_back(std::move(place));
    }
    std::stable_sort(places.begin(), places.end(), [](const TPlace& a, const TPlace& b) {
      return zen::CompareIgnoringCase(a.name, b.name) < 0;
    });
    std::vector<std::string> out;
    out.reserve(places.size());
    for (const TPlace& place : places) out.push_back(zen::EncodeLoc(place.name, place.entry));
    zen::WriteTextLines(argv[2], out);
    std::printf("%zu places written to %s\n", out.size(), argv[2]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
