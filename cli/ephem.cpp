// The ephem command: reads an element file and prints, per set, minutes since epoch with
// position (km) and velocity (km/s) in the models' inertial frame, in the columns of the
// published verification output so the two can be compared line by line.
#include "cli/ephem.h"

#include "cli/element_file.h"
#include "cli/fixed_text.h"
#include "cli/option_words.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <memory>
#include <optional>
#include <system_error>

#include "core/catalog.h"
#include "core/propagator.h"

namespace zen::cli {

namespace {

constexpr const char* kName = "zenarith ephem";
// More lines than this per set is a mistyped step, not a verification run.
constexpr double kMaxStepsPerSet = 1.0e6;

struct TEphemOptions {
  std::string file;
  std::optional<int64_t> satellite;
  double startMinutes = 0.0;
  double stopMinutes = 1440.0;
  double stepMinutes = 360.0;
};

// Returns an error text, or an empty one when the options are sound.
std::string ParseOptions(const std::vector<std::string>& args, TEphemOptions& o) {
  bool haveFile = false;
  for (size_t i = 0; i < args.size(); ++i) {
    std::string word = args[i];
    std::string value;
    if (word.rfind("--", 0) == 0) {
      bool hasValue = TakeOptionValue(args, i, word, value);
      if (word != "--sat" && word != "--start" && word != "--stop" && word != "--step") {
        return "unknown option " + word;
      }
      if (!hasValue) return word + " needs a value";
      if (word == "--sat") {
        int64_t number = 0;
        if (!ParseWhole(value, number) || number < 0) return "--sat needs a catalogue number";
        o.satellite = number;
        continue;
      }
      double minutes = 0.0;
      if (!ParseReal(value, minutes)) return word + " needs a number of minutes";
      if (word == "--start") o.startMinutes = minutes;
      if (word == "--stop") o.stopMinutes = minutes;
      if (word == "--step") o.stepMinutes = minutes;
      continue;
    }
    if (haveFile) return "only one element file may be given";
    o.file = word;
    haveFile = true;
  }
  if (!haveFile) return "no element file given";
  if (!(o.stepMinutes > 0.0)) return "--step must be more than 0";
  if (o.stopMinutes < o.startMinutes) return "--stop must not be before --start";
  if ((o.stopMinutes - o.startMinutes) / o.stepMinutes > kMaxStepsPerSet) {
    return "too many steps; use a larger --step";
  }
  return {};
}

// The catalogue number as the verification output prints it: without leading zeros.
std::string NumberText(const std::string& catalogNumber) {
  int64_t number = 0;
  if (ParseWhole(catalogNumber, number)) return std::to_string(number);
  return catalogNumber;
}

void PrintSet(TPropagator& propagator, const TEphemOptions& o, std::ostream& out) {
  out << NumberText(propagator.CurrentElements.catalogNumber) << " xx\n";
  auto printAt = [&](double minutes) {
    TVector pos, vel;
    TPropagationStatus status = propagator.PropagateMinutes(pos, vel, minutes);
    std::string line;
    AppendFixed(line, minutes, 17, 8);
    if (status != TPropagationStatus::Ok) {
      line += ' ';
      line += PropagationStatusText(status);
    } else {
      TPropagator::ScaleStateToKm(pos, vel);
      AppendFixed(line, pos.x, 17, 8);
      AppendFixed(line, pos.y, 17, 8);
      AppendFixed(line, pos.z, 17, 8);
      AppendFixed(line, vel.x, 13, 9);
      AppendFixed(line, vel.y, 13, 9);
      AppendFixed(line, vel.z, 13, 9);
    }
    out << line << '\n';
  };
  // Times are start + k step (no running sum, so no drift), and the stop time itself when the
  // steps do not land on it.
  const double tolerance = 1e-9 * std::max(1.0, std::fabs(o.stopMinutes));
  double last = o.startMinutes;
  for (long k = 0;; ++k) {
    double minutes = o.startMinutes + static_cast<double>(k) * o.stepMinutes;
    if (minutes > o.stopMinutes + tolerance) break;
    printAt(minutes);
    last = minutes;
  }
  if (o.stopMinutes - last > tolerance) printAt(o.stopMinutes);
}

}  // namespace

int RunEphem(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  TEphemOptions options;
  std::string problem = ParseOptions(args, options);
  if (!problem.empty()) {
    err << kName << ": " << problem << "\n"
        << "usage: zenarith ephem FILE [--sat NUMBER] [--start MIN] [--stop MIN] [--step MIN]\n";
    return 2;
  }
  auto catalog = std::make_unique<TCatalog>();
  int count = 0;
  if (!ReadCommandElementFile(kName, options.file, *catalog, count, err)) return 1;
  if (count == 0) {
    err << kName << ": no valid element set in " << options.file << "\n";
    return 1;
  }
  if (catalog->ElementFileTruncated) {
    err << kName << ": only the first " << count << " sets of " << options.file << " were read\n";
  }

  int exitCode = 0;
  bool found = false;
  TPropagator propagator;
  for (int slot = 1; slot <= count; ++slot) {
    const TTleLines& lines = catalog->CatalogElements[slot];
    if (options.satellite) {
      int64_t number = -1;
      if (!ParseWhole(CatalogNumberText(lines), number) || number != *options.satellite) {
        continue;
      }
    }
    found = true;
    try {
      propagator.LoadElements(lines);
    } catch (const TElementError& e) {
      err << kName << ": set " << CatalogNumberText(lines) << ": " << e.what() << "\n";
      exitCode = 1;
      continue;
    }
    PrintSet(propagator, options, out);
  }
  if (!found) {
    err << kName << ": no set with catalogue number " << *options.satellite << " in "
        << options.file << "\n";
    return 1;
  }
  return exitCode;
}

}  // namespace zen::cli
