// The whole station against scripted daemons: a slow daemon that still gets fresh aims, the park
// that holds until Resume, and the warning before a pass that must cross the azimuth stop.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/numeric.h"
#include "fake_daemon.h"
#include "station/station_control.h"
#include "station_scene.h"

namespace zen::station {
namespace {

using test::WaitUntil;

constexpr double kSiteLatDeg = 52.23;
constexpr double kSiteLonDeg = 21.01;
constexpr double kDayNs = 86400e9;

// The angle between two directions of the sky, in degrees.
double GreatCircleDeg(double az1Deg, double el1Deg, double az2Deg, double el2Deg) {
  const double cosine =
      std::sin(Radians(el1Deg)) * std::sin(Radians(el2Deg)) +
      std::cos(Radians(el1Deg)) * std::cos(Radians(el2Deg)) * std::cos(Radians(az1Deg - az2Deg));
  return Degrees(std::acos(std::clamp(cosine, -1.0, 1.0)));
}

// "P 123.45 67.89" → azimuth and elevation.
TAim PointOf(const QByteArray& line) {
  const QList<QByteArray> words = line.split(' ');
  return {words.value(1).toDouble(), words.value(2).toDouble()};
}

// A daemon that takes every move and reads the rotator at a fixed place.
void TakeEveryMove(test::TFakeDaemon& daemon) {
  daemon.answerer = [](const QByteArray& line) -> QByteArray {
    if (line.startsWith("P ") || line == "K") return "RPRT 0\n";
    if (line == "p") return "10.00\n20.00\n";
    return {};
  };
}

class Station : public ::testing::Test, private test::TCoreApplication {
 protected:
  TStationSetup SetupFor(TRotatorSettings settings) const {
    TStationSetup setup;
    setup.rotator = {QStringLiteral("127.0.0.1"), daemon.Port()};
    setup.rotatorSettings = settings;
    return setup;
  }
  QByteArray LastMove() const {
    for (qsizetype i = daemon.received.size() - 1; i >= 0; --i) {
      if (daemon.received[i].startsWith("P ") || daemon.received[i] == "K")
        return daemon.received[i];
    }
    return {};
  }
  qsizetype Moves() const {
    qsizetype count = 0;
    for (const QByteArray& line : daemon.received) count += line.startsWith("P ") || line == "K";
    return count;
  }

  test::TFakeDaemon daemon;
  TStationControl station;
  TSatelliteLook look{test::IssElements(), kSiteLatDeg, kSiteLonDeg, 0.0};
  TLookAt lookAt = [this](double jd) { return look.At(jd); };
};

TEST_F(Station, ASlowDaemonIsSentTheNewestAimNotOneThatWaitedBehindReadings) {
  // The highest pass of five days: near its top the satellite crosses degrees of sky a second.
  TPassWindow top;
  for (TPassWindow pass = FindPass(lookAt, test::kIssEpochDayJd, 0.0);
       pass.Valid() && pass.riseJd < test::kIssEpochDayJd + 5.0;
       pass = FindPass(lookAt, pass.setJd + 60.0 / 86400.0, 0.0)) {
    if (!top.Valid() || pass.maxElevationDeg > top.maxElevationDeg) top = pass;
  }
  ASSERT_GT(top.maxElevationDeg, 60.0);
  constexpr double kToleranceDeg = 1.0;
  constexpr double kCycleSeconds = 1.0;
  TakeEveryMove(daemon);
  daemon.answerDelayMs = 1500;
  // The station's clock runs from a few seconds before the top on the daemon's clock, so that
  // each line's arrival is a moment of the sky.
  const double startJd = top.culminationJd - 5.0 / 86400.0;
  station.clock = [&] { return startJd + double(daemon.clock.nsecsElapsed()) / kDayNs; };
  station.SetTarget(test::IssElements(), kSiteLatDeg, kSiteLonDeg, 0.0);
  // 0..450 degrees: the whole pass fits without a swing round, so every aim is the sky's.
  station.Start(SetupFor({.toleranceDeg = kToleranceDeg,
                          .cycleSeconds = kCycleSeconds,
                          .geometry = {TAzimuthRange::From0To450, false}}));
  test::Spin(10000);
  station.Stop();

  int moves = 0;
  for (qsizetype i = 0; i < daemon.received.size(); ++i) {
    if (!daemon.received[i].startsWith("P ")) continue;
    ++moves;
    const TAim aim = PointOf(daemon.received[i]);
    const double sentJd = startJd + double(daemon.receivedAtNs[i]) / kDayNs;
    const TLook now = look.At(sentJd);
    const TLook cycleBefore = look.At(sentJd - kCycleSeconds / 86400.0);
    const TLook lateBy = look.At(sentJd - 0.25 / 86400.0);
    const double offDeg = GreatCircleDeg(aim.azDeg, aim.elDeg, now.azDeg, now.elDeg);
    const double cycleMotionDeg =
        GreatCircleDeg(cycleBefore.azDeg, cycleBefore.elDeg, now.azDeg, now.elDeg);
    // What a loaded machine may add between the write and its arrival: a quarter second's
    // motion, and the hundredths of the line.
    const double slackDeg = GreatCircleDeg(lateBy.azDeg, lateBy.elDeg, now.azDeg, now.elDeg) + 0.01;
    EXPECT_LE(offDeg, kToleranceDeg + cycleMotionDeg + slackDeg)
        << daemon.received[i].constData() << " arrived with the satellite at " << now.azDeg << " "
        << now.elDeg << ", moving " << cycleMotionDeg << " degrees a cycle";
  }
  EXPECT_GE(moves, 4) << "a move every answer, 1.5 s";
}

TEST_F(Station, ParkNowHoldsUntilResumeAnotherSatelliteOrConnect) {
  TakeEveryMove(daemon);
  // The clock stands still in a pass: the satellite does not move, as a geostationary one.
  const TPassWindow pass = test::PassRisingNearestNorth(lookAt);
  ASSERT_TRUE(pass.Valid());
  const double midJd = pass.culminationJd;
  station.clock = [midJd] { return midJd; };
  station.SetTarget(test::IssElements(), kSiteLatDeg, kSiteLonDeg, 0.0);
  int parked = 0;
  QObject::connect(&station, &TStationControl::ParkDone, [&](bool ok, const QString& reason) {
    EXPECT_TRUE(ok) << reason.toStdString();
    ++parked;
  });
  const TStationSetup setup = SetupFor({.cycleSeconds = 0.2,
                                        .geometry = {TAzimuthRange::From180To180, false},
                                        .park = true,
                                        .parkAim = {270, 10}});
  station.Start(setup);
  ASSERT_TRUE(WaitUntil([&] { return Moves() == 1; }));
  const QByteArray follow = LastMove();

  // The park goes out brought into the range: west is -90, not the stop at 180.
  station.ParkNow();
  ASSERT_TRUE(WaitUntil([&] { return parked == 1; }));
  EXPECT_EQ(LastMove(), "P -90.00 10.00");
  EXPECT_TRUE(station.Status().parked);
  // Held: five cycles and more, nothing else is sent, though the satellite is in view.
  test::Spin(1200);
  EXPECT_EQ(Moves(), 2);
  // Resume follows at once: the aim is sent in the same call, whatever the tolerance says.
  station.Resume();
  EXPECT_FALSE(station.Status().parked);
  EXPECT_GT(station.Waiting(), 0);
  ASSERT_TRUE(WaitUntil([&] { return Moves() == 3; }));
  EXPECT_EQ(LastMove(), follow);

  // The same satellite seen anew keeps the park; a link that comes back is parked again.
  station.ParkNow();
  ASSERT_TRUE(WaitUntil([&] { return parked == 2; }));
  station.SetTarget(test::IssElements(), kSiteLatDeg + 0.01, kSiteLonDeg, 0.0);
  EXPECT_TRUE(station.Status().parked);
  daemon.SetMode(test::TFakeDaemon::TMode::Refusing);
  ASSERT_TRUE(WaitUntil([&] { return station.Status().rotatorLink != TLinkState::Up; }));
  const qsizetype before = Moves();
  daemon.SetMode(test::TFakeDaemon::TMode::Serving);
  ASSERT_TRUE(WaitUntil([&] { return parked == 3; }));
  EXPECT_EQ(Moves(), before + 1);
  EXPECT_EQ(LastMove(), "P -90.00 10.00");
  test::Spin(600);
  EXPECT_EQ(Moves(), before + 1);

  // Another satellite ends the park, and so does connecting again.
  TElements other = test::IssElements();
  other.catalogNumber = "99999";
  station.SetTarget(other, kSiteLatDeg, kSiteLonDeg, 0.0);
  EXPECT_FALSE(station.Status().parked);
  station.SetTarget(test::IssElements(), kSiteLatDeg, kSiteLonDeg, 0.0);
  station.ParkNow();
  ASSERT_TRUE(WaitUntil([&] { return parked == 4; }));
  station.Start(setup);
  EXPECT_FALSE(station.Status().parked);
  ASSERT_TRUE(WaitUntil([&] { return LastMove() == follow; }));

  // Without a park position of its own the rotator's own: "K", and nothing commanded.
  TStationSetup own = setup;
  own.rotatorSettings.park = false;
  station.Start(own);
  ASSERT_TRUE(WaitUntil([&] { return station.Status().rotatorLink == TLinkState::Up; }));
  station.ParkNow();
  ASSERT_TRUE(WaitUntil([&] { return parked == 5; }));
  EXPECT_EQ(LastMove(), "K");
  EXPECT_TRUE(station.Status().parked && !station.Status().commanded);
}

TEST_F(Station, APassThatMustCrossTheStopIsSaidBeforeItRises) {
  // From 52 degrees north the station passes in the south: a pass whose azimuth runs through
  // south, sampled every 10 s, steps across 180.
  TPassWindow south;
  for (TPassWindow pass = FindPass(lookAt, test::kIssEpochDayJd, 0.0);
       !south.Valid() && pass.Valid() && pass.riseJd < test::kIssEpochDayJd + 5.0;
       pass = FindPass(lookAt, pass.setJd + 60.0 / 86400.0, 0.0)) {
    for (double jd = pass.riseJd; jd + 10.0 / 86400.0 <= pass.setJd; jd += 10.0 / 86400.0) {
      const double a = look.At(jd).azDeg, b = look.At(jd + 10.0 / 86400.0).azDeg;
      if ((a < 180.0) != (b < 180.0) && std::fabs(a - b) < 90.0) south = pass;
    }
  }
  ASSERT_TRUE(south.Valid());
  TakeEveryMove(daemon);
  const struct {
    TRotatorGeometry geometry;
    bool crosses;
  } cases[] = {{{TAzimuthRange::From180To180, false}, true},
               {{TAzimuthRange::From180To180, true}, false},
               {{TAzimuthRange::From0To360, false}, false},
               {{TAzimuthRange::From0To450, false}, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << int(c.geometry.range) << " flip " << c.geometry.flip);
    QStringList said;
    const auto connection = QObject::connect(&station, &TStationControl::Failed,
                                             [&](const QString& message) { said << message; });
    // A minute before the rise, within the lead of two minutes.
    const double startJd = south.riseJd - 60.0 / 86400.0;
    const qint64 startNs = daemon.clock.nsecsElapsed();
    station.clock = [&, startJd, startNs] {
      return startJd + double(daemon.clock.nsecsElapsed() - startNs) / kDayNs;
    };
    station.SetTarget(test::IssElements(), kSiteLatDeg, kSiteLonDeg, 0.0);
    const qsizetype before = Moves();
    station.Start(SetupFor({.cycleSeconds = 0.2, .geometry = c.geometry}));
    // The antenna is sent to the rise: the path was chosen.
    ASSERT_TRUE(WaitUntil([&] { return Moves() > before; }));
    EXPECT_EQ(station.Status().crossesStop, c.crosses);
    EXPECT_EQ(said.filter(" must cross the azimuth stop").size(), c.crosses ? 1 : 0)
        << said.join('\n').toStdString();
    if (c.crosses) {
      EXPECT_TRUE(said.filter(" must cross the azimuth stop")[0].startsWith(
          "rotator: the pass rising at "));
    }
    station.Stop();
    QObject::disconnect(connection);
  }
}

}  // namespace
}  // namespace zen::station
