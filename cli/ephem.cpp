// The ephem command: reads an element file and prints, per set, minutes since epoch with
// position (km) and velocity (km/s) in the models' inertial frame, in the columns of the
// published verification output so the two can be compared line by line.
#include "cli/ephem.h"

#include "cli/command_output.h"
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
// Lines of one run over all its sets, about 110 MB of text: more is a mistyped step or file,
// not a verification run.
constexpr int64_t kMaxLines = 1000000;
// The minutes column as the verification output has it.
constexpr int kMinutesWidth = 17;
constexpr int kMinutesDecimals = 8;

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
        if (!ParseCatalogNumber(value, number)) return "--sat needs a catalogue number";
        o.satellite = number;
        continue;
      }
      double minutes = 0.0;
      if (!ParseReal(value, minutes)) return word + " needs a number of minutes";
      if (word != "--step" && !FitsFixed(minutes, kMinutesWidth, kMinutesDecimals)) {
        return word + " must be more than -10000000 and less than 100000000 minutes";
      }
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
  if (o.startMinutes + o.stepMinutes == o.startMinutes) {
    return "--step is too small to move the time on from --start";
  }
  if (o.stopMinutes < o.startMinutes) return "--stop must not be before --start";
  if ((o.stopMinutes - o.startMinutes) / o.stepMinutes >= static_cast<double>(kMaxLines)) {
    return "too many steps; use a larger --step";
  }
  return {};
}

// The most lines one set can give: its header, start + k step up to the stop, and the stop.
int64_t LinesPerSet(const TEphemOptions& o) {
  return static_cast<int64_t>((o.stopMinutes - o.startMinutes) / o.stepMinutes) + 3;
}

void SayLineLimit(std::ostream& err) {
  err << kName << ": more than " << kMaxLines
      << " lines, the most one run writes; use a larger --step, a shorter period or --sat\n";
}

// The catalogue number as the verification output prints it: without leading zeros.
std::string NumberText(const std::string& catalogNumber) {
  int64_t number = 0;
  if (ParseWhole(catalogNumber, number)) return std::to_string(number);
  return catalogNumber;
}

enum class TPrinted { Whole, WriteFailed, LineLimit };

TPrinted PrintSet(TPropagator& propagator, const TEphemOptions& o, TOutputLines& output,
                  int64_t& lines) {
  auto write = [&](const std::string& line) {
    if (lines >= kMaxLines) return TPrinted::LineLimit;
    ++lines;
    return output.Write(line) ? TPrinted::Whole : TPrinted::WriteFailed;
  };
  TPrinted printed = write(NumberText(propagator.CurrentElements.catalogNumber) + " xx");
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
    return write(line);
  };
  // Times are start + k step (no running sum, so no drift), and the stop time itself when the
  // steps do not land on it. The tolerance absorbs the rounding of k step; it stays below half
  // a step, so a step smaller than the rounding of the stop cannot repeat a time without end.
  const double tolerance =
      std::min(1e-9 * std::max(1.0, std::fabs(o.stopMinutes)), 0.5 * o.stepMinutes);
  double last = o.startMinutes;
  for (int64_t k = 0; printed == TPrinted::Whole; ++k) {
    double minutes = o.startMinutes + static_cast<double>(k) * o.stepMinutes;
    if (minutes > o.stopMinutes + tolerance) break;
    // A step that lands on the stop only within rounding prints the stop itself, so no time
    // passes the stop's text (which was checked to fit its column).
    minutes = std::min(minutes, o.stopMinutes);
    printed = printAt(minutes);
    last = minutes;
  }
  if (printed == TPrinted::Whole && o.stopMinutes - last > tolerance)
    printed = printAt(o.stopMinutes);
  return printed;
}

}  // namespace

const TCommandHelp& EphemHelp() {
  static const TCommandHelp help{
      "ephem",
      "print the models' position (km) and velocity (km/s) for each set of an element file",
      {"FILE [--sat NUMBER] [--start MIN] [--stop MIN] [--step MIN]"},
      "Prints the models' position (km) and velocity (km/s) in their inertial frame for each "
      "set of an element file, at minutes from the set's epoch, in the columns of the published "
      "verification output.",
      {
          kElementFileHelp,
          {"--sat NUMBER", "only the set with this catalogue number (digits or Alpha-5)"},
          {"--start MIN", "the first moment, in minutes from each set's epoch (0)"},
          {"--stop MIN", "the last moment, in minutes from each set's epoch (1440)"},
          {"--step MIN", "the minutes between lines, more than 0 (360)"},
          kHelpOptionHelp,
      },
      {"Each set starts with the line \"NUMBER xx\", then one line per moment: the minutes, "
       "x, y, z and the three velocities; a moment where the model breaks down shows why "
       "instead."}};
  return help;
}

int RunEphem(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (AsksForHelp(args)) return AnswerHelp(EphemHelp(), out, err);
  TEphemOptions options;
  std::string problem = ParseOptions(args, options);
  if (!problem.empty()) {
    err << kName << ": " << problem << "\n" << UsageLines(EphemHelp());
    return 2;
  }
  auto catalog = std::make_unique<TCatalog>();
  int count = 0;
  if (!ReadCommandElementFile(kName, options.file, *catalog, count, err)) return 1;
  if (count == 0) {
    err << kName << ": no valid element set in " << options.file << "\n";
    return 1;
  }

  auto chosen = [&](int slot) {
    if (!options.satellite) return true;
    return catalog->CatalogElements[slot].number == *options.satellite;
  };
  int64_t chosenCount = 0;
  for (int slot = 1; slot <= count; ++slot) chosenCount += chosen(slot) ? 1 : 0;
  if (chosenCount == 0) {
    err << kName << ": no set with catalogue number " << *options.satellite << " in "
        << options.file << "\n";
    return 1;
  }
  // Refused before any line is written when the whole run would pass the limit.
  if (chosenCount > kMaxLines / LinesPerSet(options)) {
    SayLineLimit(err);
    return 1;
  }

  int exitCode = 0;
  int64_t lines = 0;
  TOutputLines output(kName, out, err);
  TPropagator propagator;
  for (int slot = 1; slot <= count; ++slot) {
    if (!chosen(slot)) continue;
    const TCatalogSet& set = catalog->CatalogElements[slot];
    if (!set.decodable) {
      err << kName << ": set " << set.elements.catalogNumber << ": " << set.decodeError << "\n";
      exitCode = 1;
      continue;
    }
    propagator.LoadElements(set.elements);
    const TPrinted printed = PrintSet(propagator, options, output, lines);
    if (printed == TPrinted::WriteFailed) return 1;
    if (printed == TPrinted::LineLimit) {
      SayLineLimit(err);
      output.Finish();
      return 1;
    }
  }
  if (!output.Finish()) return 1;
  return exitCode;
}

}  // namespace zen::cli
