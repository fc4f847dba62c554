// The hidden console's command engine: parses one command line, runs it, and keeps the
// output lines (newest first) and the history of lines entered.
#include "console/command_engine.h"

#include <algorithm>
#include <cmath>

#include "core/numeric.h"
#include "locations/number_text.h"

namespace zen {

namespace {

constexpr const char* kHelpLine = "  Clear, Close, Help, ShowLocs, Stat, Test";
constexpr const char* kTestingLine = "Testing...";
constexpr const char* kTestRunningLine = "  Test already running";
constexpr const char* kSyntaxError = "Syntax error";
// The frequency heard, in fixed notation with six decimals after rounding to ten significant
// digits.
constexpr int kDopplerDecimals = 6;
constexpr int kDopplerSignificantDigits = 10;

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// ASCII only, so a command word never depends on the machine's locale.
std::string UpperCase(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

double NumberOrZero(const std::string& text) {
  double value = 0.0;
  return ReadDecimal(text, value) ? value : 0.0;
}

}  // namespace

TCommandLine ParseCommandLine(std::string_view text) {
  TCommandLine parsed;
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && IsBlank(text[i])) ++i;
    if (i == text.size()) break;
    size_t start = i;
    while (i < text.size() && !IsBlank(text[i])) ++i;
    std::string word(text.substr(start, i - start));
    if (parsed.command.empty()) {
      parsed.command = std::move(word);
    } else if (parsed.arguments.size() < kMaxCommandArguments) {
      parsed.arguments.push_back(std::move(word));
    } else {
      break;
    }
  }
  return parsed;
}

std::vector<std::string> StatusLines(const TConsoleStatus& status) {
  std::vector<std::string> lines = {"  Setup  : " + status.settingsFileName,
                                    "  LOCFile: " + status.locationFile};
  if (!status.tleFileName.empty()) {
    lines.push_back("  TLEFile: " + status.tleFileName +
                    "; LoadErrors: " + std::to_string(status.invalidElementCount));
    lines.push_back("  Loaded : " + std::to_string(status.loadedCount));
    lines.push_back("  Tracked: " + std::to_string(status.trackedCount));
  }
  return lines;
}

std::optional<std::string> DopplerLine(std::string f0Text, std::string rangeRateText) {
  if (f0Text.empty() || rangeRateText.empty()) return std::nullopt;
  std::replace(f0Text.begin(), f0Text.end(), ',', '.');
  std::replace(rangeRateText.begin(), rangeRateText.end(), ',', '.');
  const double f1 = DopplerShift(NumberOrZero(f0Text), NumberOrZero(rangeRateText));
  // Numbers near the limit of a double can overflow; there is no frequency to show then.
  if (!std::isfinite(f1)) return std::nullopt;
  return "  f0=" + f0Text + ", v=" + rangeRateText +
         " => f1=" + FixedText(RoundSignificant(f1, kDopplerSignificantDigits), kDopplerDecimals);
}

void TCommandEngine::Execute(const std::string& line) {
  history_.push_back(line);
  const TCommandLine parsed = ParseCommandLine(line);
  if (parsed.command.empty()) return;
  const std::string command = UpperCase(parsed.command);
  if (command == "TEST") {
    StartTest();
  } else if (command == "CLEAR") {
    Clear();
  } else if (command == "HELP") {
    Show("> Help", {kHelpLine});
  } else if (command == "CLOSE") {
    host_.CloseConsole();
  } else if (command == "DOPP") {
    Dopp(parsed);
  } else if (command == "STAT") {
    Show("> Stat:", StatusLines(host_.Status()));
  } else if (command == "SHOWLOCS") {
    host_.ShowLocations();
    Show("> ShowLocs: Ok", {});
  } else {
    Show("> Syntax error: " + parsed.command, {});
  }
}

void TCommandEngine::Clear() {
  output_.clear();
  testingLineFromBottom_.reset();
}

void TCommandEngine::Show(const std::string& echo, const std::vector<std::string>& lines) {
  for (auto line = lines.rbegin(); line != lines.rend(); ++line) output_.push_front(*line);
  output_.push_front(echo);
}

void TCommandEngine::Dopp(const TCommandLine& parsed) {
  const auto argument = [&parsed](size_t n) {
    return parsed.arguments.size() >= n ? parsed.arguments[n - 1] : std::string();
  };
  const std::string rangeRate = parsed.arguments.size() >= 2 ? argument(2) : host_.RangeRateText();
  std::optional<std::string> line = DopplerLine(argument(1), rangeRate);
  Show("> Dopp", {line ? *line : std::string(kSyntaxError)});
}

void TCommandEngine::StartTest() {
  // One measurement at a time: a second one would share the machine with the first and both
  // figures would come out too low.
  if (testRunning_) {
    Show("> Test", {kTestRunningLine});
    return;
  }
  output_.push_front(kTestingLine);
  testingLineFromBottom_ = output_.size() - 1;
  testRunning_ = true;
  host_.StartSpeedTest();
}

void TCommandEngine::SpeedTestDone(const std::string& resultLine) {
  if (!testRunning_) return;
  testRunning_ = false;
  if (!testingLineFromBottom_) {
    Show("> Test", {resultLine});
    return;
  }
  // Commands run while the test was measuring stand above it; the echo still heads its result.
  const size_t at = output_.size() - 1 - *testingLineFromBottom_;
  testingLineFromBottom_.reset();
  output_[at] = resultLine;
  output_.insert(output_.begin() + static_cast<std::ptrdiff_t>(at), "> Test");
}

}  // namespace zen
