// Writes a large element file for trying the window with a whole catalogue:
//
//   zen_make_large_catalogue SOURCE.tle FOLDER COUNT
//
// FOLDER/large.tle gets COUNT sets: those of SOURCE, then renumbered copies of them further
// round their orbits (the benchmarks' large catalogue).
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "bench/bench_sets.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: zen_make_large_catalogue SOURCE.tle FOLDER COUNT\n");
    return 2;
  }
  try {
    const auto file = zen::bench::WriteLargeCatalogue(argv[1], argv[2], std::atoi(argv[3]));
    std::printf("%s\n", file.c_str());
  } catch (const std::exception& error) {
    std::fprintf(stderr, "zen_make_large_catalogue: %s\n", error.what());
    return 1;
  }
  return 0;
}
