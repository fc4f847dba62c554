// Element sets of the reference data for the station tests, read through the catalogue.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/catalog.h"
#include "test_support.h"

namespace zen::station::test {

// Every decodable set of tests/data/tle/<name>.tle, in file order.
inline std::vector<TCatalogSet> ReferenceSets(const std::string& name) {
  std::vector<TCatalogSet> sets;
  auto catalog = std::make_unique<TCatalog>();
  catalog->ReadEverySet(zen::test::ReferenceDataDir() / "tle" / (name + ".tle"),
                        [&](const std::string&, const TCatalogSet& set) {
                          if (set.decodable) sets.push_back(set);
                        });
  return sets;
}

inline TCatalogSet ReferenceSet(const std::string& name, int64_t number) {
  for (const TCatalogSet& set : ReferenceSets(name)) {
    if (set.number == number) return set;
  }
  return {};
}

}  // namespace zen::station::test
