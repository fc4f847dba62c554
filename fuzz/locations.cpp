// Location databases: ".loc" lines and whole files, and the site fields a user types.
#include <cmath>

#include "core/text_encoding.h"
#include "fuzz/fuzz_support.h"
#include "locations/location_db.h"
#include "locations/number_text.h"
#include "locations/site_fields.h"

namespace {

using zen::fuzz::Require;

bool Valid(const zen::TDecodedLoc& loc) {
  return loc.name != "ERROR!";
}

// A line written for an entry that was read reads back as that entry: saving a database never
// loses one of its places.
void CheckWrittenLine(const zen::TDecodedLoc& loc) {
  const zen::TLocationRec entry{loc.latitude, loc.longitude, loc.altitude, loc.sign};
  const zen::TDecodedLoc again = zen::DecodeLoc(zen::EncodeLoc(loc.name, entry));
  Require(Valid(again) && std::fabs(again.latitude - loc.latitude) <= 0.000051 &&
              std::fabs(again.longitude - loc.longitude) <= 0.000051,
          "a written place reads back");
}

void CheckFields(const std::string& text) {
  double value = 0.0;
  if (zen::ReadLatitudeText(text, value)) {
    Require(value >= -90.0 && value <= 90.0, "a latitude read is in range");
  }
  if (zen::ReadLongitudeText(text, value)) {
    Require(value >= -180.0 && value <= 180.0, "a longitude read is in range");
  }
  if (zen::ReadAltitudeText(text, value)) {
    Require(std::isfinite(value), "an altitude read is finite");
    zen::AltitudeText(value);
  }
  if (zen::ReadDecimal(text, value)) Require(std::isfinite(value), "a decimal read is finite");
  const zen::TSite site = zen::FieldsToSite(text, text, text, text, text, text);
  Require(
      std::isfinite(site.latitude) && std::isfinite(site.longitude) && std::isfinite(site.altitude),
      "fields give a finite site");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text = zen::fuzz::AsText(data, size);
  for (const std::string& line : zen::fuzz::SplitLines(text)) {
    const zen::TDecodedLoc loc = zen::DecodeLoc(line);
    if (Valid(loc)) CheckWrittenLine(loc);
    CheckFields(line);
  }

  zen::fuzz::ScratchFile("Locations/Fuzz.loc", text);
  zen::TLocationDb db;
  db.LocationFile = "*Fuzz";
  db.zapodawajLokacje(zen::fuzz::Scratch());
  Require(db.Names.size() == db.LocationTable.size() &&
              db.Names.size() <= static_cast<size_t>(zen::MaxLocations),
          "every name has its entry, within the capacity");
  for (const std::string& name : db.Names) {
    Require(zen::IsValidUtf8(name), "names are read as UTF-8");
  }

  // Saved and read again, the database holds the same places.
  zen::TLocationDb saved = db;
  saved.SejwujLokacje(zen::fuzz::Scratch());
  saved.zapodawajLokacje(zen::fuzz::Scratch());
  Require(saved.Names == db.Names && saved.LocationTable.size() == db.LocationTable.size(),
          "a saved database reads back with every place");
  for (size_t i = 0; i < db.LocationTable.size(); ++i) {
    const zen::TLocationRec& a = db.LocationTable[i];
    const zen::TLocationRec& b = saved.LocationTable[i];
    // Four decimals of a degree; the altitude rounded to four significant digits and then to
    // one decimal.
    Require(a.sign == b.sign && std::fabs(a.latitude - b.latitude) <= 0.000051 &&
                std::fabs(a.longitude - b.longitude) <= 0.000051 &&
                std::fabs(a.altitude - b.altitude) <= 0.051 + std::fabs(a.altitude) * 5e-4,
            "a saved place reads back as it was");
  }
  return 0;
}
