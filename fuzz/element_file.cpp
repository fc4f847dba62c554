// Element files as the catalogue reads them (element lines, Alpha-5 numbers, mean-elements
// messages in CSV, JSON and XML), and the first moments of every set read, since the program
// propagates a set as soon as it is loaded.
#include <cmath>
#include <new>

#include "core/catalog.h"
#include "core/propagator.h"
#include "core/text_encoding.h"
#include "fuzz/fuzz_support.h"

namespace {

using zen::fuzz::Require;

bool Finite(const zen::TVector& v) {
  return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// A decodable set propagates without a trap, and whatever the status the outputs stay finite:
// a non-finite number would reach the tables and the map.
void Propagate(const zen::TElements& elements) {
  zen::TPropagator propagator;
  propagator.LoadElements(elements);
  for (double minutes : {0.0, 1440.0, -10080.0}) {
    zen::TVector pos, vel;
    propagator.PropagateMinutes(pos, vel, minutes);
    Require(Finite(pos) && Finite(vel), "a propagated state is finite");
  }
}

void CheckName(const std::string& name) {
  Require(zen::IsValidUtf8(name) && zen::Utf8Length(name) <= 24,
          "a name is UTF-8 of at most 24 characters");
  Require(!name.empty() && name.front() != ' ', "a name shows something from its start");
  Require(zen::BlankControlCharacters(name) == name, "a name holds no control character");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto file = zen::fuzz::ScratchFile("elements.txt", zen::fuzz::AsText(data, size));
  // A new catalogue for every input, so that a run leaves nothing behind and any memory still
  // held after it is a leak; built in the same memory each time.
  alignas(zen::TCatalog) static unsigned char storage[sizeof(zen::TCatalog)];
  struct TEnd {
    zen::TCatalog* catalog;
    ~TEnd() { catalog->~TCatalog(); }
  } const end{new (storage) zen::TCatalog};
  zen::TCatalog* const catalog = end.catalog;
  const int count = catalog->ReadElementFile(file);
  Require(count >= 0 && static_cast<size_t>(count) + 1 == catalog->CatalogNames.size() &&
              catalog->CatalogNames.size() == catalog->CatalogElements.size(),
          "the catalogue holds every set it counts");
  for (int slot = 1; slot <= count; ++slot) {
    CheckName(catalog->CatalogNames[static_cast<size_t>(slot)]);
    const zen::TCatalogSet& set = catalog->CatalogElements[static_cast<size_t>(slot)];
    if (set.decodable) Propagate(set.elements);
  }

  // Every set again, handed on one by one: the same sets, in the same order.
  int every = 0;
  const int total =
      catalog->ReadEverySet(file, [&](const std::string& name, const zen::TCatalogSet& set) {
        CheckName(name);
        ++every;
        if (every > count) return;
        const auto slot = static_cast<size_t>(every);
        Require(catalog->CatalogNames[slot] == name &&
                    catalog->CatalogElements[slot].number == set.number &&
                    catalog->CatalogElements[slot].lines == set.lines,
                "every set comes in the catalogue's order");
      });
  Require(total == every && total == count, "every set is counted once");
  return 0;
}
