// Mean-elements messages (CSV, JSON, XML) read from text, without the file around them.
#include <cmath>

#include "core/alpha5.h"
#include "core/omm.h"
#include "fuzz/fuzz_support.h"

using zen::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text = zen::fuzz::AsText(data, size);
  const zen::TOmmReadResult read = zen::ReadOmmText(text);
  Require(read.kind == zen::ElementTextKind(text), "the kind is told from the text alone");
  Require(read.invalidCount >= 0, "invalid sets are counted from 0");
  for (const zen::TOmmSet& set : read.sets) {
    const zen::TElements& e = set.elements;
    Require(set.catalogNumber >= 0 && set.catalogNumber <= zen::kLargestOmmCatalogNumber &&
                e.catalogNumber == zen::CatalogNumberText(set.catalogNumber),
            "a set's number is in range and shown as lists show it");
    // A set that was read is one the models can start from.
    Require(std::isfinite(e.epochJulian) && std::isfinite(e.meanMotion) && e.meanMotion > 0.0 &&
                e.eccentricity >= 0.0 && e.eccentricity < 1.0 && std::isfinite(e.bstar),
            "a set read has a finite epoch, a mean motion above 0 and an eccentricity below 1");
  }
  return 0;
}
