// The mixed catalogue the speed measurements run on: as many sets as asked, every catalogue
// number once, and the public files' share of deep-space orbits, all read back through the
// program's own catalogue reader.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "bench/bench_sets.h"
#include "core/catalog.h"
#include "scratch_folder.h"

namespace zen {
namespace {

// Share of deep-space orbits (periods of 225 minutes or more) among the sets of the public
// files, counted from the mean motion columns of the second lines.
double DeepSpaceShareOfPublicFiles() {
  int sets = 0;
  int deep = 0;
  for (const std::string& file : bench::PublicMixFiles()) {
    std::ifstream in(bench::PublicElementDir() / file);
    for (std::string line; std::getline(in, line);) {
      if (line.size() < 63 || line.compare(0, 2, "2 ") != 0) continue;
      ++sets;
      if (1440.0 / std::stod(line.substr(52, 11)) >= 225.0) ++deep;
    }
  }
  return sets == 0 ? 0.0 : static_cast<double>(deep) / sets;
}

TEST(MixedBenchCatalogue, HoldsDistinctNumbersAndThePublicShareOfDeepSpaceOrbits) {
  if (!std::filesystem::is_directory(bench::PublicElementDir())) GTEST_SKIP();
  test::TScratchFolder folder("zen_mixed_catalogue");
  ASSERT_FALSE(folder.path().empty());
  const double expectedShare = DeepSpaceShareOfPublicFiles();
  ASSERT_GT(expectedShare, 0.0);
  for (int count : {700, 30000}) {
    SCOPED_TRACE(count);
    const std::filesystem::path file = bench::WriteMixedCatalogue(
        bench::PublicElementDir(), folder.path() / std::to_string(count), count);
    TCatalog catalog;
    std::set<int64_t> numbers;
    int read = 0;
    int deep = 0;
    catalog.ReadEverySet(file, [&](const std::string&, const TCatalogSet& set) {
      ++read;
      numbers.insert(set.number);
      if (set.elements.UseDeepSpace) ++deep;
    });
    EXPECT_EQ(read, count);
    EXPECT_EQ(numbers.size(), static_cast<size_t>(count));
    EXPECT_GE(*numbers.begin(), 0);
    // Repeats past the public files carry numbers of the Alpha-5 range.
    EXPECT_EQ(*numbers.rbegin() >= 100000, count > 20000);
    EXPECT_NEAR(static_cast<double>(deep) / count, expectedShare, 0.01);
  }
}

}  // namespace
}  // namespace zen
