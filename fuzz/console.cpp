// Console command lines, run one by one through the command engine with a program behind it
// whose range-rate cell and element file name hold the input's first line.
#include "console/command_engine.h"
#include "fuzz/fuzz_support.h"

using zen::fuzz::Require;

namespace {

// The program's state is made from the first line too, so that "STAT" sees every kind of it.
class THost : public zen::TConsoleHost {
 public:
  std::string firstLine;
  bool testStarted = false;

  zen::TConsoleStatus Status() const override {
    zen::TConsoleStatus status;
    const size_t n = firstLine.size();
    status.settingsFileName = n % 5 == 0 ? "" : "default";
    status.locationFile = n % 3 == 0 ? "" : "Locations\\World.loc";
    status.tleFileName = firstLine;
    status.invalidElementCount = static_cast<int>(n % 4);
    status.loadedCount = static_cast<int>(n % 1001);
    status.trackedCount = static_cast<int>(n % 7);
    return status;
  }
  std::string RangeRateText() const override { return firstLine; }
  void ShowLocations() override {}
  void CloseConsole() override {}
  void StartSpeedTest() override { testStarted = true; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::string> lines = zen::fuzz::SplitLines(zen::fuzz::AsText(data, size));
  THost host;
  host.firstLine = lines[0];
  zen::TCommandEngine engine(host);
  for (size_t i = 1; i < lines.size(); ++i) {
    const zen::TCommandLine parsed = zen::ParseCommandLine(lines[i]);
    Require(parsed.arguments.size() <= zen::kMaxCommandArguments, "at most ten arguments");
    engine.Execute(lines[i]);
    // The speed test answers later, sometimes after a "Clear".
    if (host.testStarted && i % 2 == 0) {
      host.testStarted = false;
      engine.SpeedTestDone("  SDP4 (MAQSAT H): 1.0 KSPS; SGP4 (ISS): 2.0 KSPS; ");
    }
    if (i % 7 == 0) engine.Clear();
  }
  Require(engine.History().size() == lines.size() - 1, "every line entered is in the history");
  for (size_t i = 0; i + 1 < lines.size(); ++i) {
    zen::DopplerLine(lines[i], lines[i + 1]);
  }
  return 0;
}
