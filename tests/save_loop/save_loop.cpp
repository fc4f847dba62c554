// Saves the settings, the location database and the notes of save_versions.h in a loop, each
// round one version newer, until it is killed. At its start it reads the files as the program
// would and goes on from the newest version it finds; then it writes "R" to its standard
// output, so whoever waits for it knows the saving has begun.
//
//   zen_save_loop FOLDER
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <exception>

#include "save_loop/save_versions.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: zen_save_loop FOLDER\n");
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  try {
    int64_t version = 0;
    for (const auto& found : zen::test::ReadSavedVersions(folder)) {
      if (found) version = std::max(version, *found);
    }
    if (::write(STDOUT_FILENO, "R", 1) != 1) return 1;
    for (;;) zen::test::SaveVersion(folder, ++version);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "zen_save_loop: %s\n", error.what());
    return 1;
  }
}
