// The rotator and radio clients against a scripted daemon: the command lines they write, the
// values they read back, and the daemon address as the user types it.
#include <gtest/gtest.h>

#include <QLocale>
#include <cmath>
#include <limits>

#include "fake_daemon.h"
#include "station/station_clients.h"

namespace zen::station {
namespace {

using test::TFakeDaemon;
using test::WaitUntil;

class Clients : public ::testing::Test, private test::TCoreApplication {
 protected:
  void SetUp() override {
    for (TDaemonLink* link : {&rotator.Link(), &rig.Link()}) {
      link->Open(QStringLiteral("127.0.0.1"), daemon.Port());
      ASSERT_TRUE(WaitUntil([&] { return link->State() == TLinkState::Up; }));
    }
  }

  TFakeDaemon daemon;
  TRotatorClient rotator;
  TRigClient rig{QStringLiteral("uplink radio")};
};

TEST_F(Clients, WriteTheLinesTheDaemonsReadWhateverTheLocale) {
  // A comma-decimal default locale must not reach the wire.
  const QLocale before;
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  const struct {
    std::function<bool(std::function<void(bool)>)> send;
    QByteArray line;
  } cases[] = {
      {[&](auto done) { return rotator.Point(123.456, 7.891, done); }, "P 123.46 7.89"},
      {[&](auto done) { return rotator.Point(-0.001, 90, done); }, "P 0.00 90.00"},
      {[&](auto done) { return rotator.Point(-12.3, 0.125, done); }, "P -12.30 0.13"},
      {[&](auto done) { return rotator.Park(done); }, "K"},
      {[&](auto done) { return rig.Tune(145800000.4, done); }, "F 145800000"},
      {[&](auto done) { return rig.Tune(435123456.5, done); }, "F 435123457"},
      {[&](auto done) { return rig.Tune(0, done); }, "F 0"},
  };
  for (const auto& c : cases) {
    daemon.On(c.line, TFakeDaemon::Answer("RPRT 0\n"));
    int result = -1;
    ASSERT_TRUE(c.send([&](bool ok) { result = ok; })) << c.line.constData();
    ASSERT_TRUE(WaitUntil([&] { return result != -1; })) << c.line.constData();
    EXPECT_EQ(result, 1) << c.line.constData();
    EXPECT_EQ(daemon.Received().back(), c.line);
  }
  QLocale::setDefault(before);

  // Values no daemon can take are not sent at all.
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_FALSE(rotator.Point(nan, 10));
  EXPECT_FALSE(rotator.Point(10, INFINITY));
  EXPECT_FALSE(rig.Tune(-1));
  EXPECT_FALSE(rig.Tune(nan));
  EXPECT_FALSE(rig.Tune(1e300));
  test::Spin(50);
  EXPECT_EQ(daemon.Received().size(), qsizetype(std::size(cases)));
}

TEST_F(Clients, ReadBackNumbersAndReportRefusals) {
  daemon.On("p", TFakeDaemon::Answer("123.45\n-7.50\n"));
  daemon.On("f", TFakeDaemon::Answer("145800000\n"));
  daemon.On("P 1.00 95.00", TFakeDaemon::Answer("RPRT -1\n"));
  std::vector<double> read;
  QObject::connect(&rotator, &TRotatorClient::PositionRead, [&](double az, double el) {
    read.insert(read.end(), {az, el});
  });
  QObject::connect(&rig, &TRigClient::FrequencyRead, [&](double hz) { read.push_back(hz); });
  ASSERT_TRUE(rotator.ReadPosition());
  ASSERT_TRUE(rig.ReadFrequency());
  ASSERT_TRUE(WaitUntil([&] { return read.size() == 3; }));
  EXPECT_EQ(read, std::vector<double>({123.45, -7.5, 145800000}));

  int result = -1;
  ASSERT_TRUE(rotator.Point(1, 95, [&](bool ok) { result = ok; }));
  ASSERT_TRUE(WaitUntil([&] { return result != -1; }));
  EXPECT_EQ(result, 0);
  EXPECT_EQ(rotator.Link().LastError(),
            QStringLiteral("rotator at 127.0.0.1:%1: the value was refused as invalid (RPRT -1)")
                .arg(daemon.Port()));
  EXPECT_EQ(rotator.Link().State(), TLinkState::Up);
}

TEST(DaemonAddress, ReadsHostAndPortOrSaysWhatIsWrong) {
  const struct {
    const char* text;
    const char* host;  // nullptr: refused
    quint16 port;
  } cases[] = {
      {"localhost:4533", "localhost", 4533},
      {" shack-pi.local:4600 ", "shack-pi.local", 4600},
      {"192.168.1.20", "192.168.1.20", 4532},
      {"[::1]:4533", "::1", 4533},
      {"[fe80::1]", "fe80::1", 4532},
      {"localhost:65535", "localhost", 65535},
      {"", nullptr, 0},
      {":4533", nullptr, 0},
      {"localhost:", nullptr, 0},
      {"localhost:0", nullptr, 0},
      {"localhost:65536", nullptr, 0},
      {"localhost:45x", nullptr, 0},
      {"localhost:-1", nullptr, 0},
      {"::1", nullptr, 0},
      {"::1:4533", nullptr, 0},
      {"[::1]4533", nullptr, 0},
      {"[::1", nullptr, 0},
      {"[rotator]:4533", nullptr, 0},
      {"my host:4533", nullptr, 0},
  };
  for (const auto& c : cases) {
    QString host = QStringLiteral("unchanged");
    quint16 port = 1;
    const QString error = ParseDaemonAddress(QString::fromLatin1(c.text), 4532, host, port);
    if (c.host != nullptr) {
      EXPECT_EQ(error, QString()) << c.text;
      EXPECT_EQ(host, QString::fromLatin1(c.host)) << c.text;
      EXPECT_EQ(port, c.port) << c.text;
    } else {
      EXPECT_FALSE(error.isEmpty()) << c.text;
      EXPECT_EQ(host, "unchanged") << c.text;
      EXPECT_EQ(port, 1) << c.text;
    }
  }
}

}  // namespace
}  // namespace zen::station
