// The hidden console's command engine: parses one command line, runs it, and keeps the
// output lines (newest first) and the history of lines entered.
#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zen {

inline constexpr size_t kMaxCommandArguments = 10;

// A command line split at blanks: the command word and up to ten arguments, as typed.
struct TCommandLine {
  std::string command;
  std::vector<std::string> arguments;
};

// Runs of blanks (spaces and tabs) separate words and never belong to one; words after the
// tenth argument are dropped.
TCommandLine ParseCommandLine(std::string_view text);

// What "STAT" reports of the running program.
struct TConsoleStatus {
  std::string settingsFileName;  // the settings file last loaded
  std::string locationFile;      // the location database, as the settings store it
  std::string tleFileName;       // empty before any element file was loaded
  int invalidElementCount = 0;   // of the last element file read
  int loadedCount = 0;
  int trackedCount = 0;
};

// The "STAT" lines under its echo, top-down.
std::vector<std::string> StatusLines(const TConsoleStatus& status);

// The "DOPP" result line for the two texts as typed, or nothing when either is empty or the
// frequency heard is not a finite number. A "," in either text reads as a decimal point;
// a text that is not a number reads as 0.
std::optional<std::string> DopplerLine(std::string f0Text, std::string rangeRateText);

// What the engine reads of the program and asks of it. Every call comes on the thread that
// runs the engine.
class TConsoleHost {
 public:
  virtual ~TConsoleHost() = default;
  virtual TConsoleStatus Status() const = 0;
  // The text of the active satellite's "RRt (km/s)" cell as the information grid shows it;
  // empty when no satellite is shown.
  virtual std::string RangeRateText() const = 0;
  // Marks every entry of the location database on the map, without labels.
  virtual void ShowLocations() = 0;
  virtual void CloseConsole() = 0;
  // Starts the speed test away from the engine's thread; the host hands the result line to
  // SpeedTestDone on the engine's thread later (or from within this call).
  virtual void StartSpeedTest() = 0;
};

class TCommandEngine {
 public:
  explicit TCommandEngine(TConsoleHost& host) : host_(host) {}

  // Runs one line as typed and appends it to the history (empty lines too). Each command's
  // output lines are inserted at the top, its echo line above them.
  void Execute(const std::string& line);
  // The "Clear" button: empties the output.
  void Clear();

  // The speed test's result line. It takes the place of the "Testing..." line with "> Test"
  // above it, or goes to the top when the output was cleared meanwhile.
  void SpeedTestDone(const std::string& resultLine);
  bool SpeedTestRunning() const { return testRunning_; }

  // Top (newest) first.
  const std::deque<std::string>& Output() const { return output_; }
  // In the order entered.
  const std::vector<std::string>& History() const { return history_; }

 private:
  TConsoleHost& host_;
  std::deque<std::string> output_;
  std::vector<std::string> history_;
  bool testRunning_ = false;
  // The "Testing..." line counted from the bottom, which lines inserted at the top never move.
  std::optional<size_t> testingLineFromBottom_;

  // One command's output: its lines top-down under the echo.
  void Show(const std::string& echo, const std::vector<std::string>& lines);
  void StartTest();
  void Dopp(const TCommandLine& parsed);
};

}  // namespace zen
