// The clients against the real daemons with their dummy devices: the position the rotator's
// daemon reports after pointing and parking, the frequency the radio's daemon reads back, and a
// daemon killed and started again under a live link. Skipped where the daemons are not installed.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "fake_daemon.h"
#include "hamlib_daemons.h"
#include "station/station_clients.h"

namespace zen::station {
namespace {

using test::FreePort;
using test::TDaemonProcess;
using test::WaitUntil;

// The daemons write two decimals, so a position reached reads back to the hundredth.
constexpr double kHundredthDeg = 0.01;

class RealDaemon : public ::testing::Test, private test::TCoreApplication {
 protected:
  // Starts the daemon and opens link to it; the link keeps trying until the daemon listens.
  void StartAndOpen(TDaemonProcess& daemon, TDaemonLink& link) {
    if (!daemon.Installed()) GTEST_SKIP() << "the daemons of Hamlib are not installed";
    ASSERT_NE(port, 0);
    ASSERT_TRUE(daemon.Start());
    link.SetTiming({kAnswerTimeoutMs, 100, 400});
    link.Open(QStringLiteral("127.0.0.1"), port);
    ASSERT_TRUE(WaitUntil([&] { return link.State() == TLinkState::Up; }));
  }

  // Reads the position until it is within a hundredth of a degree of az, el; every position
  // on the way lies between where the rotator began and where it goes.
  void ExpectReaches(TRotatorClient& rotator, double fromAz, double fromEl, double az, double el) {
    double lastAz = NAN;
    double lastEl = NAN;
    auto connection =
        QObject::connect(&rotator, &TRotatorClient::PositionRead, [&](double a, double e) {
          EXPECT_LE(std::abs(a - fromAz) + std::abs(az - a), std::abs(az - fromAz) + kHundredthDeg)
              << a;
          EXPECT_LE(std::abs(e - fromEl) + std::abs(el - e), std::abs(el - fromEl) + kHundredthDeg)
              << e;
          lastAz = a;
          lastEl = e;
        });
    const bool reached = WaitUntil([&] {
      if (std::abs(lastAz - az) <= kHundredthDeg && std::abs(lastEl - el) <= kHundredthDeg)
        return true;
      rotator.ReadPosition();
      test::Spin(100);
      return false;
    });
    QObject::disconnect(connection);
    EXPECT_TRUE(reached) << "last read " << lastAz << " " << lastEl;
  }

  quint16 port = FreePort();
};

TEST_F(RealDaemon, RotatorReachesThePointedPositionAndParks) {
  TDaemonProcess daemon("rotctld", port);
  TRotatorClient rotator;
  StartAndOpen(daemon, rotator.Link());
  if (IsSkipped() || HasFatalFailure()) return;
  int pointed = -1;
  ASSERT_TRUE(rotator.Point(8.25, 4.5, [&](bool ok) { pointed = ok; }));
  ASSERT_TRUE(WaitUntil([&] { return pointed != -1; }));
  EXPECT_EQ(pointed, 1);
  ExpectReaches(rotator, 0, 0, 8.25, 4.5);

  int parked = -1;
  ASSERT_TRUE(rotator.Park([&](bool ok) { parked = ok; }));
  ASSERT_TRUE(WaitUntil([&] { return parked != -1; }));
  EXPECT_EQ(parked, 1);
  ExpectReaches(rotator, 8.25, 4.5, 0, 0);

  // Beyond the dummy's elevation range: refused, and the link stays up for the next command.
  int refused = -1;
  ASSERT_TRUE(rotator.Point(180, 95, [&](bool ok) { refused = ok; }));
  ASSERT_TRUE(WaitUntil([&] { return refused != -1; }));
  EXPECT_EQ(refused, 0);
  EXPECT_TRUE(rotator.Link().LastError().endsWith("(RPRT -1)"))
      << rotator.Link().LastError().toStdString();
  ExpectReaches(rotator, 0, 0, 0, 0);
  EXPECT_EQ(rotator.Link().State(), TLinkState::Up);
}

TEST_F(RealDaemon, RadioReadsBackTheWholeHertzItWasTunedTo) {
  TDaemonProcess daemon("rigctld", port);
  TRigClient rig;
  StartAndOpen(daemon, rig.Link());
  if (IsSkipped() || HasFatalFailure()) return;
  double read = NAN;
  QObject::connect(&rig, &TRigClient::FrequencyRead, [&](double hz) { read = hz; });
  const struct {
    double hz;
    double expected;
  } cases[] = {
      {145800000, 145800000}, {435123456.4, 435123456}, {28000000.5, 28000001}, {1296e6, 1296e6}};
  for (const auto& c : cases) {
    int tuned = -1;
    ASSERT_TRUE(rig.Tune(c.hz, [&](bool ok) { tuned = ok; }));
    ASSERT_TRUE(WaitUntil([&] { return tuned != -1; }));
    EXPECT_EQ(tuned, 1) << c.hz;
    read = NAN;
    ASSERT_TRUE(rig.ReadFrequency());
    ASSERT_TRUE(WaitUntil([&] { return !std::isnan(read); }));
    EXPECT_EQ(read, c.expected);
  }
}

TEST_F(RealDaemon, LinkComesBackAfterTheDaemonIsKilledAndRestarted) {
  TDaemonProcess daemon("rotctld", port);
  TRotatorClient rotator;
  StartAndOpen(daemon, rotator.Link());
  if (IsSkipped() || HasFatalFailure()) return;
  ExpectReaches(rotator, 0, 0, 0, 0);
  daemon.Kill();
  ASSERT_TRUE(WaitUntil([&] { return rotator.Link().State() != TLinkState::Up; }));
  EXPECT_FALSE(rotator.ReadPosition());
  EXPECT_TRUE(rotator.Link().LastError().contains("the daemon closed the connection"))
      << rotator.Link().LastError().toStdString();

  ASSERT_TRUE(daemon.Start());
  ASSERT_TRUE(WaitUntil([&] { return rotator.Link().State() == TLinkState::Up; }));
  int pointed = -1;
  ASSERT_TRUE(rotator.Point(3.5, 2.25, [&](bool ok) { pointed = ok; }));
  ASSERT_TRUE(WaitUntil([&] { return pointed != -1; }));
  EXPECT_EQ(pointed, 1);
  ExpectReaches(rotator, 0, 0, 3.5, 2.25);
}

}  // namespace
}  // namespace zen::station
