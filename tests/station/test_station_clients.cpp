// The rotator and radio clients: the lines they write whatever the locale, the daemon address as
// the user types it, and against the real daemons with their dummy devices (skipped where those
// are not installed), the position and frequency read back, also after a daemon restart.
#include <gtest/gtest.h>

#include <QLocale>
#include <cmath>

#include "fake_daemon.h"
#include "hamlib_daemons.h"
#include "station/station_clients.h"

namespace zen::station {
namespace {

using test::WaitUntil;

TEST(Clients, WriteTheLinesTheDaemonsReadWhateverTheLocale) {
  test::TFakeDaemon daemon;
  TRotatorClient rotator;
  TRigClient rig;
  for (TDaemonLink* link : {&rotator.Link(), &rig.Link()}) {
    link->Open(QStringLiteral("127.0.0.1"), daemon.Port());
    ASSERT_TRUE(WaitUntil([&] { return link->State() == TLinkState::Up; }));
  }
  const QLocale before;
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));  // decimal commas
  const std::pair<std::function<bool()>, QByteArray> cases[] = {
      {[&] { return rotator.Point(123.456, 7.891); }, "P 123.46 7.89"},
      {[&] { return rotator.Point(-0.001, 90); }, "P 0.00 90.00"},
      {[&] { return rotator.Point(-12.3, 0.125); }, "P -12.30 0.13"},
      {[&] { return rotator.Park(); }, "K"},
      {[&] { return rig.Tune(145800000.4); }, "F 145800000"},
      {[&] { return rig.Tune(435123456.5); }, "F 435123457"},
      {[&] { return rig.Tune(0); }, "F 0"}};
  for (const auto& [send, line] : cases) {
    daemon.script[line] = "RPRT 0\n";
    const qsizetype count = daemon.received.size();
    ASSERT_TRUE(send()) << line.constData();
    ASSERT_TRUE(WaitUntil([&] { return daemon.received.size() > count; })) << line.constData();
    EXPECT_EQ(daemon.received.back(), line);
  }
  QLocale::setDefault(before);
  // Values no daemon can take are not sent at all.
  const double nan = std::nan("");
  EXPECT_FALSE(rotator.Point(nan, 10) || rotator.Point(10, INFINITY) || rig.Tune(-1) ||
               rig.Tune(nan) || rig.Tune(1e300));
}

TEST(Clients, APositionReadFarOutsideTheRotatorsRangeIsGarbage) {
  constexpr TAzimuthRange k360 = TAzimuthRange::From0To360;
  constexpr TAzimuthRange k180 = TAzimuthRange::From180To180;
  constexpr TAzimuthRange k450 = TAzimuthRange::From0To450;
  // A rotator's own reading may overshoot its range by up to 2 degrees.
  const struct {
    TRotatorGeometry geometry;
    QByteArray answer;
    bool taken;
  } cases[] = {
      {{k360, false}, "-1.50\n10.00\n", true},   {{k360, false}, "-5.00\n10.00\n", false},
      {{k360, false}, "361.90\n0.00\n", true},   {{k360, false}, "362.50\n0.00\n", false},
      {{k180, false}, "-170.00\n10.00\n", true}, {{k180, false}, "-182.50\n10.00\n", false},
      {{k180, false}, "181.00\n45.00\n", true},  {{k180, false}, "270.00\n45.00\n", false},
      {{k450, false}, "451.50\n0.00\n", true},   {{k450, false}, "455.00\n0.00\n", false},
      {{k360, false}, "10.00\n91.50\n", true},   {{k360, false}, "10.00\n95.00\n", false},
      {{k360, true}, "10.00\n95.00\n", true},    {{k360, true}, "10.00\n183.00\n", false},
      {{k360, false}, "10.00\n-1.00\n", true},   {{k360, false}, "10.00\n-3.00\n", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answer.toStdString());
    test::TFakeDaemon daemon;
    daemon.script["p"] = c.answer;
    TRotatorClient rotator;
    rotator.SetGeometry(c.geometry);
    QStringList failures;
    QObject::connect(&rotator.Link(), &TDaemonLink::Failed,
                     [&](const QString& message) { failures << message; });
    bool read = false;
    QObject::connect(&rotator, &TRotatorClient::PositionRead, [&] { read = true; });
    rotator.Link().Open(QStringLiteral("127.0.0.1"), daemon.Port());
    ASSERT_TRUE(WaitUntil([&] { return rotator.Link().State() == TLinkState::Up; }));
    ASSERT_TRUE(rotator.ReadPosition());
    ASSERT_TRUE(WaitUntil([&] { return read || !failures.isEmpty(); }));
    EXPECT_EQ(read, c.taken);
    if (!c.taken) {
      ASSERT_EQ(failures.size(), 1);
      EXPECT_TRUE(failures[0].contains("unexpected answer to \"p\"") &&
                  failures[0].contains("outside the rotator's range"))
          << failures[0].toStdString();
      EXPECT_NE(rotator.Link().State(), TLinkState::Up);
    }
  }
}

TEST(DaemonAddress, ReadsHostAndPortOrSaysWhatIsWrong) {
  // Each text with the host and port read from it, or with none when it is refused.
  // clang-format off
  const std::pair<const char*, const char*> cases[] = {
      {"localhost:4533", "localhost 4533"}, {" shack-pi.local:4600 ", "shack-pi.local 4600"},
      {"192.168.1.20", "192.168.1.20 4532"}, {"[::1]:4533", "::1 4533"},
      {"[fe80::1]", "fe80::1 4532"}, {"localhost:65535", "localhost 65535"}, {"", ""},
      {":4533", ""}, {"localhost:", ""}, {"localhost:0", ""}, {"localhost:65536", ""},
      {"localhost:45x", ""}, {"localhost:-1", ""}, {"::1", ""}, {"::1:4533", ""},
      {"[::1]4533", ""}, {"[::1", ""}, {"[rotator]:4533", ""}, {"my host:4533", ""}};
  // clang-format on
  for (const auto& [text, expected] : cases) {
    QString host = QStringLiteral("unchanged");
    quint16 port = 1;
    const QString error = ParseDaemonAddress(QString::fromLatin1(text), 4532, host, port);
    EXPECT_EQ(error.isEmpty(), *expected != '\0') << text << ": " << error.toStdString();
    // A refusal leaves both as they were.
    EXPECT_EQ(host + ' ' + QString::number(port), *expected ? expected : "unchanged 1") << text;
  }
}

class RealDaemon : public ::testing::Test, private test::TCoreApplication {
 protected:
  void SetUp() override {
    if (!rotctld.Installed() || !rigctld.Installed()) GTEST_SKIP() << "no Hamlib daemons";
  }
  // True once link is up; it keeps trying until the daemon listens.
  bool StartAndOpen(test::TDaemonProcess& daemon, TDaemonLink& link) {
    link.SetTiming({kAnswerTimeoutMs, 100, 400});
    link.Open(QStringLiteral("127.0.0.1"), port);
    return daemon.Start() && WaitUntil([&] { return link.State() == TLinkState::Up; });
  }
  // The dummy rotator takes its time to turn; its daemon writes hundredths of a degree.
  ::testing::AssertionResult Reaches(TRotatorClient& rotator, double az, double el) {
    double lastAz = NAN, lastEl = NAN;
    const auto read = QObject::connect(&rotator, &TRotatorClient::PositionRead,
                                       [&](double a, double e) { lastAz = a, lastEl = e; });
    const bool reached = WaitUntil([&] {
      if (std::abs(lastAz - az) <= 0.01 && std::abs(lastEl - el) <= 0.01) return true;
      rotator.ReadPosition();
      test::Spin(100);
      return false;
    });
    QObject::disconnect(read);
    if (reached) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "last read " << lastAz << ' ' << lastEl;
  }

  quint16 port = test::FreePort();
  test::TDaemonProcess rotctld{"rotctld", port}, rigctld{"rigctld", port};
};

TEST_F(RealDaemon, RotatorGoesWhereItIsPointedAlsoAfterItsDaemonIsRestarted) {
  TRotatorClient rotator;
  ASSERT_TRUE(StartAndOpen(rotctld, rotator.Link()));
  QStringList results;
  const auto done = [&](const TAnswer& a) { results << (a.ok ? "ok" : "refused"); };
  ASSERT_TRUE(rotator.Point(8.25, 4.5, done));
  EXPECT_TRUE(Reaches(rotator, 8.25, 4.5));
  // Beyond the dummy's elevation range: refused, and the rotator stays where it is.
  ASSERT_TRUE(rotator.Point(180, 95, done));
  EXPECT_TRUE(Reaches(rotator, 8.25, 4.5));
  ASSERT_TRUE(rotator.Park(done));
  EXPECT_TRUE(Reaches(rotator, 0, 0));
  EXPECT_EQ(results, QStringList({"ok", "refused", "ok"}));

  rotctld.Kill();
  ASSERT_TRUE(WaitUntil([&] { return rotator.Link().State() != TLinkState::Up; }));
  ASSERT_TRUE(rotctld.Start());
  ASSERT_TRUE(WaitUntil([&] { return rotator.Link().State() == TLinkState::Up; }));
  ASSERT_TRUE(rotator.Point(3.5, 2.25));
  EXPECT_TRUE(Reaches(rotator, 3.5, 2.25));
}

TEST_F(RealDaemon, RadioReadsBackTheWholeHertzItWasTunedTo) {
  TRigClient rig;
  ASSERT_TRUE(StartAndOpen(rigctld, rig.Link()));
  double read = NAN;
  QObject::connect(&rig, &TRigClient::FrequencyRead, [&](double hz) { read = hz; });
  const std::pair<double, double> cases[] = {
      {145800000, 145800000}, {435123456.4, 435123456}, {28000000.5, 28000001}, {1296e6, 1296e6}};
  for (const auto& [hz, expected] : cases) {
    read = NAN;
    ASSERT_TRUE(rig.Tune(hz) && rig.ReadFrequency());
    ASSERT_TRUE(WaitUntil([&] { return !std::isnan(read); }));
    EXPECT_EQ(read, expected) << hz;
  }
}

}  // namespace
}  // namespace zen::station
