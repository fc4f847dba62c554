// The track command's words. Driving the station needs the network, which this layer does not
// use: the program installs the function that runs it, and the table reaches it through here.
#include "cli/track_words.h"

#include <algorithm>
#include <cmath>

#include "sky/sky_frames.h"

namespace zen::cli {

namespace {

constexpr const char* kName = "zenarith track";
// The highest frequency a radio of the daemons' kind is asked for: 300 GHz.
constexpr double kHighestMhz = 300000.0;
// A run longer than a year is a mistyped --for.
constexpr double kLongestRunSeconds = 366.0 * 86400.0;

// Set once by main() before the command line is read.
TTrackRunner trackRunner = nullptr;

std::string ParseMhz(std::string_view option, std::string_view text, double& hz) {
  double mhz = 0.0;
  if (!ParseReal(text, mhz) || mhz <= 0.0 || mhz > kHighestMhz) {
    return std::string(option) + " needs a frequency in MHz, more than 0 and at most 300000";
  }
  hz = std::round(mhz * 1e6);
  return {};
}

// "90", "95.5"
std::string Number(double x) {
  std::string s = std::to_string(x);
  s.erase(s.find_last_not_of('0') + 1);
  if (!s.empty() && s.back() == '.') s.pop_back();
  return s;
}

std::string ParseRealIn(std::string_view option, std::string_view text, double low, double high,
                        std::string_view unit, double& value) {
  double v = 0.0;
  if (!ParseReal(text, v) || v < low || v > high) {
    return std::string(option) + " needs " + std::string(unit) + " from " + Number(low) + " to " +
           Number(high);
  }
  value = v;
  return {};
}

std::string ParsePark(std::string_view text, TTrackWords& w) {
  const size_t comma = text.find(',');
  constexpr const char* kNeeds = "--park needs AZ,EL in degrees (azimuth -180..450, elevation 0..180)";
  if (comma == std::string_view::npos) return kNeeds;
  double az = 0.0;
  double el = 0.0;
  if (!ParseReal(text.substr(0, comma), az) || !ParseReal(text.substr(comma + 1), el) ||
      az < -180.0 || az > 450.0 || el < 0.0 || el > 180.0) {
    return kNeeds;
  }
  w.park = true;
  w.parkAzDeg = az;
  w.parkElDeg = el;
  return {};
}

}  // namespace

std::string ParseDaemonWords(std::string_view option, std::string_view text,
                             TDaemonWords& address) {
  const std::string needs = std::string(option) + " needs HOST:PORT, a port from 1 to 65535";
  std::string_view host;
  std::string_view port;
  if (text.starts_with('[')) {
    const size_t close = text.find(']');
    if (close == std::string_view::npos || close + 1 >= text.size() || text[close + 1] != ':') {
      return needs;
    }
    host = text.substr(1, close - 1);
    port = text.substr(close + 2);
  } else {
    const size_t colon = text.rfind(':');
    if (colon == std::string_view::npos || text.find(':') != colon) return needs;
    host = text.substr(0, colon);
    port = text.substr(colon + 1);
  }
  int64_t number = 0;
  if (host.empty() || host.find_first_of(" \t") != std::string_view::npos ||
      !ParseWhole(port, number) || number < 1 || number > 65535 || port.starts_with('-')) {
    return needs;
  }
  address.host = std::string(host);
  address.port = static_cast<int>(number);
  return {};
}

std::string ParseTrackWords(const std::vector<std::string>& args, TTrackWords& w) {
  bool haveFile = false;
  bool haveSite = false;
  bool haveDownlink = false;
  bool haveUplink = false;
  for (size_t i = 0; i < args.size(); ++i) {
    std::string word = args[i];
    std::string value;
    if (word.rfind("--", 0) != 0) {
      if (haveFile) return "only one element file may be given";
      w.file = word;
      haveFile = true;
      continue;
    }
    if (word == "--flip") {
      w.flip = true;
      continue;
    }
    const bool hasValue = TakeOptionValue(args, i, word, value);
    static const std::vector<std::string> kKnown = {
        "--sat",    "--site",     "--rotator",         "--rig",   "--downlink", "--uplink-rig",
        "--uplink", "--min-elev", "--tolerance",       "--range", "--park",     "--from",
        "--for",    "--cycle",    "--radio-tolerance", "--body"};
    if (std::find(kKnown.begin(), kKnown.end(), word) == kKnown.end()) {
      return "unknown option " + word;
    }
    if (!hasValue || value.empty()) return word + " needs a value";
    std::string problem;
    if (word == "--sat") {
      if (!ParseCatalogNumber(value, w.satelliteNumber)) return "--sat needs a catalogue number";
    } else if (word == "--body") {
      if (value == "moon") {
        w.body = TTrackBody::Moon;
      } else if (value == "sun") {
        w.body = TTrackBody::Sun;
      } else {
        return "--body needs moon or sun, not \"" + value + "\"";
      }
    } else if (word == "--site") {
      problem = ParseSiteWords(value, w.site);
      haveSite = problem.empty();
    } else if (word == "--rotator") {
      problem = ParseDaemonWords(word, value, w.rotator);
    } else if (word == "--rig") {
      problem = ParseDaemonWords(word, value, w.rig);
    } else if (word == "--uplink-rig") {
      problem = ParseDaemonWords(word, value, w.uplinkRig);
    } else if (word == "--downlink") {
      problem = ParseMhz(word, value, w.downlinkHz);
      haveDownlink = problem.empty();
    } else if (word == "--uplink") {
      problem = ParseMhz(word, value, w.uplinkHz);
      haveUplink = problem.empty();
    } else if (word == "--min-elev") {
      problem = ParseRealIn(word, value, 0.0, 80.0, "degrees", w.minElevationDeg);
    } else if (word == "--tolerance") {
      problem = ParseRealIn(word, value, 0.1, 20.0, "degrees", w.toleranceDeg);
    } else if (word == "--radio-tolerance") {
      problem = ParseRealIn(word, value, 1.0, 10000.0, "hertz", w.radioToleranceHz);
    } else if (word == "--cycle") {
      problem = ParseRealIn(word, value, 0.2, 60.0, "seconds", w.cycleSeconds);
    } else if (word == "--range") {
      if (value != "360" && value != "180" && value != "450") {
        return "--range needs 360 (0..360), 180 (-180..180) or 450 (0..450)";
      }
      w.azimuthRange = std::stoi(value);
    } else if (word == "--park") {
      problem = ParsePark(value, w);
    } else if (word == "--from") {
      problem = ParseUtcOption(word, value, w.fromJd);
      w.haveFrom = problem.empty();
    } else {
      problem = ParseRealIn(word, value, 1.0, kLongestRunSeconds, "seconds", w.forSeconds);
    }
    if (!problem.empty()) return problem;
  }
  if (w.body != TTrackBody::None) {
    const std::string body = w.body == TTrackBody::Moon ? "--body moon" : "--body sun";
    if (haveFile || w.satelliteNumber >= 0) {
      return body + " follows a body, not a satellite: give no element file and no --sat";
    }
    if (w.body == TTrackBody::Sun &&
        (w.rig.Given() || haveDownlink || w.uplinkRig.Given() || haveUplink)) {
      return "--body sun tunes no radio: leave out --rig, --downlink, --uplink-rig and --uplink";
    }
    if (w.uplinkRig.Given() || haveUplink) {
      return "--body moon tunes only the receiving radio, to the echo: leave out --uplink-rig "
             "and --uplink";
    }
    // The machine's clock is taken as it is: only a moment given is checked.
    if (w.haveFrom && !SkyDateAccepted(w.fromJd)) {
      return "--from: the Moon and the Sun are computed from 1950-01-01 to 2100-12-31 (UTC)";
    }
  } else {
    if (!haveFile) return "no element file given";
    if (w.satelliteNumber < 0) return "--sat is needed";
  }
  if (!haveSite) return "--site is needed";
  if (w.rig.Given() != haveDownlink) return "--rig and --downlink go together";
  if (w.uplinkRig.Given() != haveUplink) return "--uplink-rig and --uplink go together";
  if (!w.rotator.Given() && !w.rig.Given() && !w.uplinkRig.Given()) {
    return "nothing to drive: give --rotator, --rig or --uplink-rig";
  }
  if (w.park && !w.rotator.Given()) return "--park needs --rotator";
  // Every azimuth is brought into the rotator's range by whole turns; no turn changes an
  // elevation.
  if (w.park && !w.flip && w.parkElDeg > 90.0) {
    return "--park: elevation " + Number(w.parkElDeg) +
           " is beyond the rotator's 0 to 90 degrees; --flip lets it reach 180";
  }
  return {};
}

const TCommandHelp& TrackHelp() {
  static const TCommandHelp help{
      "track",
      "follow a satellite, the Moon or the Sun with the antenna rotator and the radios, without a "
      "window",
      {"FILE --sat NUMBER --site LAT,LON[,ALT_M] [--rotator HOST:PORT] [--rig HOST:PORT "
       "--downlink MHZ] [--uplink-rig HOST:PORT --uplink MHZ] [--min-elev DEG] [--tolerance DEG] "
       "[--radio-tolerance HZ] "
       "[--range 360|180|450] [--flip] [--park AZ,EL] [--cycle SECONDS] [--from TIME] "
       "[--for SECONDS]",
       "--body moon|sun --site LAT,LON[,ALT_M] [--rotator HOST:PORT] [--rig HOST:PORT "
       "--downlink MHZ] [OPTIONS]"},
      "Drives the rotator daemon (rotctld) and the radio daemons (rigctld) for one satellite: "
      "the antenna turns to the rise azimuth shortly before a pass and follows the satellite "
      "while it is above the lowest elevation; the radios are tuned for the Doppler shift. One "
      "line per command the daemon confirmed: \"YYYY-MM-DD HH:MM:SS.sss rotator P AZ EL\", "
      "\"... rig F HZ\" or \"... uplink F HZ\", with the moment (UTC) it was computed for. A "
      "daemon that is down or fails is tried again; what happened is said on the error output, "
      "and \"connected again\" when it is back. Ctrl-C ends it: the commands already queued are "
      "seen through and the antenna is parked first when --park is given. With --body the "
      "antenna follows the Moon or the Sun instead, from its rise to its set; for the Moon the "
      "radio is tuned to the echo of a transmission on --downlink, f (1 - 2v/c) for the range "
      "rate v, and no uplink radio is driven; for the Sun no radio is tuned.",
      {
          kElementFileHelp,
          {"--sat NUMBER", "the satellite's catalogue number (digits or Alpha-5)"},
          {"--body moon|sun",
           "follow the Moon or the Sun instead of a satellite (no element file, no --sat)"},
          kSiteOptionHelp,
          {"--rotator HOST:PORT", "the rotator daemon, e.g. localhost:4533"},
          {"--rig HOST:PORT", "the receiving radio's daemon, e.g. localhost:4532"},
          {"--downlink MHZ",
           "the satellite's transmit frequency, tuned as heard on the ground; with --body moon "
           "the frequency sent, whose echo is tuned"},
          {"--uplink-rig HOST:PORT", "the transmitting radio's daemon"},
          {"--uplink MHZ", "the frequency the satellite is to hear"},
          {"--min-elev DEG", "the lowest elevation the antenna follows, 0..80 (0)"},
          {"--tolerance DEG", "the antenna moves when the satellite moved more, 0.1..20 (1)"},
          {"--radio-tolerance HZ", "a radio is retuned when the shift moved more, 1..10000 (10)"},
          {"--range 360|180|450", "the rotator's azimuths: 0..360, -180..180 or 0..450 (360)"},
          {"--flip",
           "the rotator's elevation reaches 180 degrees: a pass over the azimuth stop "
           "is followed turned over"},
          {"--park AZ,EL",
           "where the antenna goes after a pass and at the end; the azimuth is "
           "brought into the range by whole turns"},
          {"--cycle SECONDS", "the shortest time between two commands to a device, 0.2..60 (1)"},
          {"--from TIME", "run a clock from this moment (UTC) at the real rate, to rehearse"},
          {"--for SECONDS", "end after this many seconds (default: run until stopped)"},
          kHelpOptionHelp,
      },
      {kTimeNote, kSiteNote,
       "With --body, --from must lie from 1950-01-01 to 2100-12-31; a radio with --body sun, an "
       "uplink radio with --body moon, or an element file or --sat with --body are mistakes.",
       "Exit status: 0 when ended by --for, Ctrl-C or a stop signal; 1 when the element file or "
       "the satellite cannot be read, the antenna was not parked at the end (\"not parked: "
       "REASON\") or a command queued at the end was not confirmed (\"dropped ...\"); 2 for a "
       "mistake in the options."}};
  return help;
}

void SetTrackRunner(TTrackRunner runner) {
  trackRunner = runner;
}

int RunTrack(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (AsksForHelp(args)) return AnswerHelp(TrackHelp(), out, err);
  TTrackWords words;
  const std::string problem = ParseTrackWords(args, words);
  if (!problem.empty()) {
    err << kName << ": " << problem << "\n" << UsageLines(TrackHelp());
    return 2;
  }
  if (trackRunner == nullptr) {
    err << kName << ": this build of the program cannot reach the network\n";
    return 2;
  }
  return trackRunner(words, out, err);
}

}  // namespace zen::cli
