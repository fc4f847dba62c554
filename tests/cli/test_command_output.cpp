// The commands' standard output: a write that fails is an error with its reason, for every
// command.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "core/elements.h"
#include "core/scratch_folder.h"

namespace zen::cli {
namespace {

// A short run, whose failure only shows when the output is flushed, and a long one, which
// fills the stream's buffer many times over.
TEST(CommandOutput, AFullDeviceIsAnErrorForEveryCommand) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  test::TScratchFolder folder("zen_output_");
  const std::string file = (folder.path() / "station.tle").string();
  std::ofstream(file) << "ISS\n"
                      << SelfTestSatellites[1].line1 << "\n"
                      << SelfTestSatellites[1].line2 << "\n";
  const std::vector<std::vector<std::string>> runs = {
      {"ephem", file},
      {"ephem", file, "--stop", "1440", "--step", "0.1"},
      {"look", file, "--sat", "25544", "--site", "48.2,16.37,190", "--from", "2001-12-18T00:00:00Z",
       "--to", "2001-12-18T00:01:00Z"},
      {"look", file, "--sat", "25544", "--site", "48.2,16.37,190", "--from", "2001-12-18T00:00:00Z",
       "--to", "2001-12-19T00:00:00Z", "--step", "5"},
  };
  for (const std::vector<std::string>& run : runs) {
    std::ofstream full("/dev/full");
    std::ostringstream err;
    const std::vector<std::string> args(run.begin() + 1, run.end());
    EXPECT_EQ(FindCommand(run[0])->run(args, full, err), 1) << run[0] << " " << run.size();
    EXPECT_NE(err.str().find("cannot write the output: " + std::string(std::strerror(ENOSPC))),
              std::string::npos)
        << err.str();
  }
}

}  // namespace
}  // namespace zen::cli
