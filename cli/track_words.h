// The track command's words. Driving the station needs the network, which this layer does not
// use: the program installs the function that runs it, and the table reaches it through here.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "cli/command_help.h"
#include "cli/option_words.h"

namespace zen::cli {

// A daemon's address as the options give it: "HOST:PORT", "[IPV6]:PORT".
struct TDaemonWords {
  std::string host;  // empty: not given
  int port = 0;
  bool Given() const { return !host.empty(); }
};

// What is wrong with text as a daemon's address, or an empty text; the parts go to address.
std::string ParseDaemonWords(std::string_view option, std::string_view text, TDaemonWords& address);

// What the command follows: the satellite of --sat, or a body of --body.
enum class TTrackBody { None, Moon, Sun };

struct TTrackWords {
  std::string file;
  int64_t satelliteNumber = -1;
  TTrackBody body = TTrackBody::None;  // --body moon|sun, instead of FILE and --sat
  TSiteWords site;
  TDaemonWords rotator;       // --rotator HOST:PORT
  TDaemonWords rig;           // --rig HOST:PORT, with --downlink
  double downlinkHz = 0.0;    // --downlink MHZ: the satellite's transmit frequency, or the
                              // station's own whose echo the Moon returns
  TDaemonWords uplinkRig;     // --uplink-rig HOST:PORT, with --uplink
  double uplinkHz = 0.0;      // --uplink MHZ: the frequency the satellite is to hear
  double minElevationDeg = 0.0;
  double toleranceDeg = 1.0;  // the rotator's
  double radioToleranceHz = 10.0;
  double cycleSeconds = 1.0;
  int azimuthRange = 360;     // --range 360 (0..360), 180 (-180..180) or 450 (0..450)
  bool flip = false;          // --flip: the elevation turns over to 180 degrees
  bool park = false;          // --park AZ,EL
  double parkAzDeg = 0.0;
  double parkElDeg = 0.0;
  bool haveFrom = false;
  double fromJd = 0.0;        // --from UTC: a clock started at this moment
  double forSeconds = 0.0;    // --for SECONDS; 0: until stopped
};

const TCommandHelp& TrackHelp();

// Returns what is wrong with the words, or an empty text when they are sound.
std::string ParseTrackWords(const std::vector<std::string>& args, TTrackWords& words);

// Runs the station; returns the exit code.
using TTrackRunner = int (*)(const TTrackWords& words, std::ostream& out, std::ostream& err);
void SetTrackRunner(TTrackRunner runner);

// The table's function: parses the words (2 on a mistake), then hands them to the runner.
int RunTrack(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace zen::cli
