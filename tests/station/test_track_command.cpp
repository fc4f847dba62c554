// "zenarith track" against the real daemons with their dummy devices: the antenna turns to the
// rise azimuth before a pass and the radio is tuned for the Doppler shift the look command's
// range rate gives; each device reads back what the printed lines say was sent. Against
// scripted daemons: the end of a run, its park and its exit status, and only confirmed
// commands printed.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QTimeZone>
#include <cmath>
#include <csignal>
#include <regex>
#include <sstream>

#include "cli/look.h"
#include "cli/track_words.h"
#include "core/catalog.h"
#include "core/timescale.h"
#include "fake_daemon.h"
#include "hamlib_daemons.h"
#include "station/body_look.h"
#include "station/doppler.h"
#include "station/pass_window.h"
#include "station/satellite_look.h"
#include "station/track_command.h"
#include "station_scene.h"

namespace zen::station {
namespace {

using test::FreePort;
using test::TDaemonProcess;
using test::WaitUntil;

constexpr const char* kElementFile = test::kIssElementFile;
constexpr double kSiteLatDeg = 52.23;
constexpr double kSiteLonDeg = 21.01;
constexpr double kDownlinkHz = 145800000.0;
// The printed moment is to the millisecond: the tuned frequency is the one of that moment, to
// its rounding to whole hertz and the look command's tenth of a metre per second.
constexpr double kPrintedMomentHz = 1.0;
const char* const kMomentPattern = R"((\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3}))";

std::string UtcText(double jd) {
  return DateRecToText(JulianToDateRec(jd));
}

QDateTime MomentOf(const std::string& text) {
  QDateTime moment = QDateTime::fromString(QString::fromStdString(text),
                                           QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
  moment.setTimeZone(QTimeZone::utc());
  return moment;
}

// The range rate (km/s) the look command prints for a moment to the millisecond: between the
// two whole seconds around it, linearly.
double LookRangeRate(const std::string& momentText) {
  const QDateTime moment = MomentOf(momentText);
  const QDateTime second = moment.addMSecs(-moment.time().msec());
  auto text = [](const QDateTime& t) {
    return t.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toStdString();
  };
  std::ostringstream out, err;
  const std::string site = std::to_string(kSiteLatDeg) + "," + std::to_string(kSiteLonDeg);
  EXPECT_EQ(cli::RunLook({kElementFile, "--sat", "25544", "--site", site, "--from", text(second),
                          "--to", text(second.addSecs(1)), "--step", "1"},
                         out, err),
            0)
      << err.str();
  std::istringstream lines(out.str());
  std::string line;
  std::getline(lines, line);  // the heading
  std::vector<double> rates;
  while (std::getline(lines, line)) {
    std::istringstream columns(line);
    std::vector<std::string> words;
    for (std::string w; columns >> w;) words.push_back(w);
    if (words.size() > 8) rates.push_back(std::stod(words[8]));
  }
  if (rates.size() != 2) return NAN;
  return rates[0] + (rates[1] - rates[0]) * moment.time().msec() / 1000.0;
}

class TrackCommand : public ::testing::Test, private test::TCoreApplication {};

TEST_F(TrackCommand, TurnsToTheRiseAndTunesForTheDopplerShiftOnTheDummyDaemons) {
  const quint16 rotatorPort = FreePort();
  TDaemonProcess rotator("rotctld", rotatorPort);
  if (!rotator.Installed()) GTEST_SKIP() << "the daemons of Hamlib are not installed";
  const quint16 rigPort = FreePort();
  TDaemonProcess rig("rigctld", rigPort);
  ASSERT_TRUE(rotator.Start());
  ASSERT_TRUE(rig.Start());

  // A pass rising near north: in the -180..180 range the dummy rotator, which turns about six
  // degrees a second from 0, gets there within the test.
  TSatelliteLook look(test::IssElements(), kSiteLatDeg, kSiteLonDeg, 0.0);
  const TLookAt lookAt = [&look](double jd) { return look.At(jd); };
  const TPassWindow pass = test::PassRisingNearestNorth(lookAt);
  ASSERT_TRUE(pass.Valid());
  const double riseAz = look.At(pass.riseJd).azDeg;
  const double riseAzInRange = riseAz > 180.0 ? riseAz - 360.0 : riseAz;

  std::ostringstream out, err;
  const std::string site = std::to_string(kSiteLatDeg) + "," + std::to_string(kSiteLonDeg);
  cli::SetTrackRunner(&RunTrackCommand);
  const int code = cli::RunTrack(
      {kElementFile, "--sat", "25544", "--site", site, "--rotator",
       "127.0.0.1:" + std::to_string(rotatorPort), "--rig", "127.0.0.1:" + std::to_string(rigPort),
       "--downlink", "145.8", "--range", "180", "--from", UtcText(pass.riseJd - 60.0 / 86400.0),
       "--for", "4"},
      out, err);
  ASSERT_EQ(code, 0) << err.str();

  const std::regex rotatorLine(kMomentPattern +
                               std::string(R"( rotator P (-?\d+\.\d\d) (-?\d+\.\d\d))"));
  const std::regex rigLine(kMomentPattern + std::string(R"( rig F (\d+))"));
  std::istringstream lines(out.str());
  std::vector<std::pair<double, double>> points;
  std::vector<std::pair<std::string, double>> tunes;
  for (std::string line; std::getline(lines, line);) {
    std::smatch m;
    if (std::regex_match(line, m, rotatorLine)) {
      points.emplace_back(std::stod(m[2]), std::stod(m[3]));
    } else if (std::regex_match(line, m, rigLine)) {
      tunes.emplace_back(m[1], std::stod(m[2]));
    } else {
      ADD_FAILURE() << "a line of another form: " << line;
    }
  }
  ASSERT_EQ(points.size(), 1u) << out.str() << err.str();
  EXPECT_NEAR(points[0].first, riseAzInRange, 0.5);
  EXPECT_DOUBLE_EQ(points[0].second, 0.0);
  ASSERT_FALSE(tunes.empty()) << out.str() << err.str();
  const double rate = LookRangeRate(tunes.front().first);
  EXPECT_NEAR(tunes.front().second, kDownlinkHz * (1.0 - rate / kLightSpeedKmS), kPrintedMomentHz);
  EXPECT_GT(tunes.front().second, kDownlinkHz) << "a rising satellite comes closer: heard higher";

  // The devices' own readings: the radio holds the last frequency sent, and the rotator gets to
  // the rise azimuth.
  const QList<QByteArray> frequency = test::AskDaemon(rigPort, "f", 1);
  ASSERT_EQ(frequency.size(), 1);
  EXPECT_EQ(frequency[0].toDouble(), tunes.back().second);
  // The dummy rotator moves by the time between two readings, which readings in quick
  // succession cut short: it is read twice a second.
  EXPECT_TRUE(WaitUntil([&] {
    test::Spin(500);
    const QList<QByteArray> p = test::AskDaemon(rotatorPort, "p", 2);
    return p.size() == 2 && std::abs(p[0].toDouble() - points[0].first) <= 0.01 &&
           std::abs(p[1].toDouble()) <= 0.01;
  }, 35000));
}

// The Moon with the echo tuned on the radio, and the Sun with none, from a southern site: at a
// moment when the body stands within 40 degrees of north, the dummy rotator (about six degrees a
// second from 0 in the -180..180 range) gets there soon.
TEST_F(TrackCommand, PointsAtTheMoonAndTheSunAndTunesTheMoonsEchoOnTheDummyDaemons) {
  for (const bool moon : {true, false}) {
    SCOPED_TRACE(moon ? "the Moon" : "the Sun");
    const quint16 rotatorPort = FreePort();
    TDaemonProcess rotator("rotctld", rotatorPort);
    if (!rotator.Installed()) GTEST_SKIP() << "the daemons of Hamlib are not installed";
    const quint16 rigPort = FreePort();
    TDaemonProcess rig("rigctld", rigPort);
    ASSERT_TRUE(rotator.Start() && rig.Start());
    TBodyLook look(moon ? TSkyBody::Moon : TSkyBody::Sun, -33.87, 151.21, 0.0);
    double fromJd = 2461192.5;  // and on by half hours to the body 15-45 degrees up in the north
    for (TLook s = look.At(fromJd);
         std::abs(std::remainder(s.azDeg, 360.0)) > 40.0 || s.elDeg < 15.0 || s.elDeg > 45.0;
         s = look.At(fromJd += 0.5 / 24.0)) {
    }
    std::vector<std::string> words = {"--body",    moon ? "moon" : "sun",
                                      "--site",    "-33.87,151.21",
                                      "--range",   "180",
                                      "--from",    UtcText(fromJd),
                                      "--for",     "3",
                                      "--rotator", "127.0.0.1:" + std::to_string(rotatorPort)};
    if (moon) {
      words.insert(words.end(),
                   {"--rig", "127.0.0.1:" + std::to_string(rigPort), "--downlink", "1296.05"});
    }
    std::ostringstream out, err;
    cli::SetTrackRunner(&RunTrackCommand);
    ASSERT_EQ(cli::RunTrack(words, out, err), 0) << err.str();

    // Every line against the body at its moment: the echo is f (1 - 2v/c), whole hertz.
    const std::regex line(kMomentPattern +
                          std::string(R"( (rotator P (-?\d+\.\d\d) (-?\d+\.\d\d)|rig F (\d+)))"));
    std::optional<std::pair<double, double>> point;
    double rigHz = 0.0;
    std::istringstream lines(out.str());
    for (std::string text; std::getline(lines, text);) {
      std::smatch m;
      ASSERT_TRUE(std::regex_match(text, m, line)) << text;
      const TLook s = look.At(MomentOf(m[1].str()).toMSecsSinceEpoch() / 86400000.0 + 2440587.5);
      if (m[3].matched) {
        point.emplace(std::stod(m[3]), std::stod(m[4]));
        EXPECT_NEAR(std::remainder(point->first - s.azDeg, 360.0), 0.0, 0.011) << text;
        EXPECT_NEAR(point->second, s.elDeg, 0.011) << text;
      } else {
        rigHz = std::stod(m[5]);
        EXPECT_NEAR(rigHz, 1296.05e6 * (1.0 - 2.0 * s.rangeRateKmS / kLightSpeedKmS), 1.0) << text;
      }
    }
    ASSERT_TRUE(point.has_value()) << out.str() << err.str();
    if (moon) {
      EXPECT_EQ(test::AskDaemon(rigPort, "f", 1).value(0).toDouble(), rigHz);
    }
    QList<QByteArray> p;
    EXPECT_TRUE(WaitUntil(
        [&] {
          test::Spin(500);
          p = test::AskDaemon(rotatorPort, "p", 2);
          return p.size() == 2 && std::abs(p[0].toDouble() - point->first) <= 0.01 &&
                 std::abs(p[1].toDouble() - point->second) <= 0.01;
        },
        35000))
        << p.join(' ').toStdString();
  }
}

// A run of the command against scripted daemons, on the test's own event loop.
struct TRun {
  int code = -1;
  std::string out, err;
};

TRun Track(std::vector<std::string> words) {
  std::ostringstream out, err;
  cli::SetTrackRunner(&RunTrackCommand);
  const std::string site = std::to_string(kSiteLatDeg) + "," + std::to_string(kSiteLonDeg);
  std::vector<std::string> args = {kElementFile, "--sat", "25544", "--site", site};
  args.insert(args.end(), words.begin(), words.end());
  TRun run;
  run.code = cli::RunTrack(args, out, err);
  run.out = out.str();
  run.err = err.str();
  return run;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The commands of the printed lines of a device: "P 10.00 80.00", "F 145800000".
QList<QByteArray> Printed(const std::string& out, const std::string& device) {
  QList<QByteArray> commands;
  const std::regex line(kMomentPattern + std::string(" ") + device + " (.*)");
  for (const std::string& text : Lines(out)) {
    std::smatch m;
    if (std::regex_match(text, m, line)) commands << QByteArray::fromStdString(m[2]);
  }
  return commands;
}

TEST_F(TrackCommand, EndsParkedWhereTheDaemonTookTheParkOrSaysWhyNotAndFails) {
  TSatelliteLook look(test::IssElements(), kSiteLatDeg, kSiteLonDeg, 0.0);
  const TPassWindow pass = test::PassRisingNearestNorth([&look](double jd) { return look.At(jd); });
  ASSERT_TRUE(pass.Valid());
  const std::string from = UtcText(pass.riseJd - 60.0 / 86400.0);
  using TMode = test::TFakeDaemon::TMode;
  struct TCase {
    const char* what;
    std::vector<std::string> words;
    TMode mode;
    QByteArray parkAnswer;  // "-": like every other move; "": none
    bool anyAnswer;         // the daemon answers anything at all
    int signal;             // ends by this signal after a second, else by --for
    int code;
    QByteArray parkLine;  // printed and received last; empty: not printed
    std::string said;     // on the error output
  };
  // clang-format off
  const TCase cases[] = {
      {"west with the stop at south", {"--range", "180", "--park", "270,10"}, TMode::Serving, "-",
       true, 0, 0, "P -90.00 10.00", ""},
      {"west of north in 450", {"--range", "450", "--park", "-30,10"}, TMode::Serving, "-", true, 0,
       0, "P 330.00 10.00", ""},
      {"stopped by a signal", {"--park", "10,80"}, TMode::Serving, "-", true, SIGINT, 0,
       "P 10.00 80.00", ""},
      {"refused", {"--park", "10,80"}, TMode::Serving, "RPRT -1\n", true, 0, 1, "",
       "not parked: rotator at 127.0.0.1:PORT: \"P 10.00 80.00\": the value was refused as "
       "invalid (RPRT -1)"},
      {"never answered", {"--park", "10,80"}, TMode::Serving, "", true, 0, 1, "",
       "not parked: rotator at 127.0.0.1:PORT: no answer to \"P 10.00 80.00\" within 2 s"},
      {"a daemon that answers nothing, stopped by a signal", {"--park", "10,80"}, TMode::Serving,
       "", false, SIGTERM, 1, "", "not parked: rotator at 127.0.0.1:PORT: no answer to \"P "},
      {"a daemon that is down", {"--park", "10,80"}, TMode::Refusing, "", false, 0, 1, "",
       "not parked: the rotator is not connected (rotator at 127.0.0.1:PORT: connection refused"},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    test::TFakeDaemon daemon;
    daemon.SetMode(c.mode);
    const bool anyAnswer = c.anyAnswer;
    daemon.answerer = [anyAnswer](const QByteArray& line) -> QByteArray {
      if (!anyAnswer) return {};
      if (line.startsWith("P ") || line == "K") return "RPRT 0\n";
      return line == "p" ? "0.00\n0.00\n" : QByteArray();
    };
    if (c.parkAnswer != "-") daemon.script["P 10.00 80.00"] = c.parkAnswer;
    const std::string port = std::to_string(daemon.Port());
    std::vector<std::string> words = {"--rotator", "127.0.0.1:" + port,       "--from", from,
                                      "--for",     c.signal != 0 ? "30" : "1"};
    words.insert(words.end(), c.words.begin(), c.words.end());
    if (c.signal != 0) {
      QTimer::singleShot(1000, [signal = c.signal] { std::raise(signal); });
    }
    const TRun run = Track(words);
    EXPECT_EQ(run.code, c.code) << run.err;
    const QList<QByteArray> printed = Printed(run.out, "rotator");
    QList<QByteArray> moves;
    for (const QByteArray& line : daemon.received) {
      if (line.startsWith("P ")) moves << line;
    }
    if (!c.parkLine.isEmpty()) {
      ASSERT_FALSE(printed.isEmpty()) << run.out << run.err;
      EXPECT_EQ(printed.back(), c.parkLine);
      EXPECT_EQ(moves.back(), c.parkLine);
      // Every printed move reached the daemon; the park was the last.
      EXPECT_EQ(printed, moves);
    } else {
      EXPECT_FALSE(printed.contains("P 10.00 80.00")) << run.out;
      if (!anyAnswer) {
        EXPECT_EQ(run.out, "");
      }
    }
    std::string said = c.said;
    for (size_t at = said.find("PORT"); at != std::string::npos; at = said.find("PORT")) {
      said.replace(at, 4, port);
    }
    if (said.empty()) {
      EXPECT_EQ(run.err.find("not parked"), std::string::npos) << run.err;
    } else {
      EXPECT_NE(run.err.find("zenarith track: " + said), std::string::npos) << run.err;
    }
  }
}

TEST_F(TrackCommand, PrintsOnlyWhatTheRadioTookAndSeesTheQueueThroughAtTheEnd) {
  TSatelliteLook look(test::IssElements(), kSiteLatDeg, kSiteLonDeg, 0.0);
  const TPassWindow pass = test::PassRisingNearestNorth([&look](double jd) { return look.At(jd); });
  ASSERT_TRUE(pass.Valid());
  // Near the top of a pass the shift changes by hertz every cycle: a command every cycle.
  const std::string from = UtcText(pass.culminationJd);
  for (const bool silentAtTheEnd : {false, true}) {
    SCOPED_TRACE(silentAtTheEnd ? "a radio that stops answering" : "a slow radio");
    test::TFakeDaemon daemon;
    daemon.answerDelayMs = 300;
    bool silent = false;
    daemon.answerer = [&silent](const QByteArray& line) -> QByteArray {
      if (silent) return {};
      if (line.startsWith("F ")) return "RPRT 0\n";
      return line == "f" ? "145800000\n" : QByteArray();
    };
    if (silentAtTheEnd) QTimer::singleShot(500, [&silent] { silent = true; });
    const TRun run =
        Track({"--rig", "127.0.0.1:" + std::to_string(daemon.Port()), "--downlink", "145.8",
               "--radio-tolerance", "1", "--cycle", "0.2", "--from", from, "--for", "1"});
    QList<QByteArray> tunes;
    for (const QByteArray& line : daemon.received) {
      if (line.startsWith("F ")) tunes << line;
    }
    const QList<QByteArray> printed = Printed(run.out, "rig");
    ASSERT_GE(tunes.size(), 2) << run.out << run.err;
    if (!silentAtTheEnd) {
      // Each command the radio took, the last included, and no other, in its order.
      EXPECT_EQ(printed, tunes);
      EXPECT_EQ(run.code, 0) << run.err;
      EXPECT_EQ(run.err, "");
    } else {
      // What was still waiting at the end is named, and the run fails.
      EXPECT_EQ(run.code, 1);
      EXPECT_TRUE(tunes.mid(0, printed.size()) == printed) << run.out;
      EXPECT_LT(printed.size(), tunes.size());
      const QByteArray dropped = tunes.back();
      EXPECT_NE(
          run.err.find("zenarith track: dropped rig " + dropped.toStdString() + ": radio at "),
          std::string::npos)
          << run.err;
    }
  }
}

TEST_F(TrackCommand, SaysWhenALinkComesBack) {
  test::TFakeDaemon daemon;
  daemon.answerer = [](const QByteArray& line) -> QByteArray {
    return line == "p" ? "0.00\n0.00\n" : "RPRT 0\n";
  };
  daemon.SetMode(test::TFakeDaemon::TMode::Refusing);
  QTimer::singleShot(300, [&daemon] { daemon.SetMode(test::TFakeDaemon::TMode::Serving); });
  const std::string address = "127.0.0.1:" + std::to_string(daemon.Port());
  const TRun run = Track({"--rotator", address, "--for", "2"});
  EXPECT_EQ(run.code, 0) << run.err;
  const std::vector<std::string> said = Lines(run.err);
  ASSERT_EQ(said.size(), 2u) << run.err;
  EXPECT_EQ(said[0],
            "zenarith track: rotator at " + address + ": connection refused; trying again in 1 s");
  EXPECT_EQ(said[1], "zenarith track: rotator at " + address + ": connected again");
}

}  // namespace
}  // namespace zen::station
