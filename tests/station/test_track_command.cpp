// "zenarith track" against the real daemons with their dummy devices: the antenna turns to the
// rise azimuth before a pass and the radio is tuned for the Doppler shift the look command's
// range rate gives; each device reads back what the printed lines say was sent.
#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <sstream>

#include "cli/look.h"
#include "cli/track_words.h"
#include "core/catalog.h"
#include "core/timescale.h"
#include "fake_daemon.h"
#include "hamlib_daemons.h"
#include "station_scene.h"
#include "station/doppler.h"
#include "station/pass_window.h"
#include "station/satellite_look.h"
#include "station/track_command.h"

namespace zen::station {
namespace {

using test::FreePort;
using test::TDaemonProcess;
using test::WaitUntil;

constexpr const char* kElementFile = test::kIssElementFile;
constexpr double kSiteLatDeg = 52.23;
constexpr double kSiteLonDeg = 21.01;
constexpr double kDownlinkHz = 145800000.0;
// The printed time is whole seconds; the range rate moves by a few metres per second in one
// second before a rise, which is a few hertz at 145 MHz.
constexpr double kPrintedSecondHz = 15.0;

std::string UtcText(double jd) {
  return DateRecToText(JulianToDateRec(jd));
}

// The range rate (km/s) the look command prints for the moment of a printed line.
double LookRangeRate(const std::string& momentText) {
  std::ostringstream out, err;
  const std::string site = std::to_string(kSiteLatDeg) + "," + std::to_string(kSiteLonDeg);
  EXPECT_EQ(cli::RunLook({kElementFile, "--sat", "25544", "--site", site, "--from", momentText,
                          "--to", momentText},
                         out, err),
            0)
      << err.str();
  std::istringstream lines(out.str());
  std::string heading, line;
  std::getline(lines, heading);
  std::getline(lines, line);
  std::istringstream columns(line);
  std::vector<std::string> words;
  for (std::string w; columns >> w;) words.push_back(w);
  return words.size() > 8 ? std::stod(words[8]) : NAN;
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

  const std::regex rotatorLine(R"((\d{4}-\d\d-\d\d \d\d:\d\d:\d\d) rotator P (-?\d+\.\d\d) (-?\d+\.\d\d))");
  const std::regex rigLine(R"((\d{4}-\d\d-\d\d \d\d:\d\d:\d\d) rig F (\d+))");
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
  EXPECT_NEAR(tunes.front().second, kDownlinkHz * (1.0 - rate / kLightSpeedKmS), kPrintedSecondHz);
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

}  // namespace
}  // namespace zen::station
