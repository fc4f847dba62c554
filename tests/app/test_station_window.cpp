// The station in the window: the dialog drives the dummy rotator and radio of the real daemons
// for the active satellite at a simulated moment, and daemons that are down or silent leave the
// window working and say so.
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "app/station_dialog.h"
#include "app_fixture.h"
#include "station/body_look.h"
#include "station/fake_daemon_server.h"
#include "station/hamlib_daemons.h"
#include "station/pass_window.h"
#include "station/satellite_look.h"
#include "station/station_scene.h"

namespace zen {
namespace {

class StationWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureApplication();
    ASSERT_TRUE(folder.HasShippedData());
    ASSERT_TRUE(folder.CopyData());
    ASSERT_TRUE(QDir().mkpath(folder.home.filePath("Tle")));
    ASSERT_TRUE(QFile::copy(QString::fromLatin1(test::kIssElementFile),
                            folder.home.filePath("Tle/amateur.tle")));
    ASSERT_TRUE(QFile::copy(test::kShippedData + "/transmitters.json",
                            folder.home.filePath("Data/transmitters.json")));
    TStartContext c = test::Context(folder.home.path(), folder.locks.path());
    c.elementFile = folder.home.filePath("Tle/amateur.tle");
    c.trackIds = {"25544"};
    window = test::StartWindow(c, dialogs);
  }
  void TearDown() override {
    if (window) test::CloseWindow(window, dialogs);
  }

  // Simulated time at a UTC moment.
  void SimulateAt(double utcJd) {
    TTracker& tracker = window->Tracker();
    window->TimeCommands().SetMode(TTimeMode::Simulation);
    tracker.time.SimTime = UtcToLocal(utcJd, tracker.time.UtcOffsetHours());
    tracker.ZmianaCzasu();
  }

  TStationDialog* OpenDialog() {
    window->StationCommands().ShowDialog();
    return window->StationCommands().Dialog();
  }

  test::TProgramFolder folder;
  test::TScriptedDialogs dialogs;
  std::unique_ptr<TMainWindow> window;
};

TEST_F(StationWindow, FollowsTheActiveSatelliteOnTheDummyRotatorAndRadio) {
  const quint16 rotatorPort = test::FreePort();
  test::TDaemonProcess rotator("rotctld", rotatorPort);
  if (!rotator.Installed()) GTEST_SKIP() << "the daemons of Hamlib are not installed";
  const quint16 rigPort = test::FreePort();
  test::TDaemonProcess rig("rigctld", rigPort);
  ASSERT_TRUE(rotator.Start());
  ASSERT_TRUE(rig.Start());

  // A pass rising near north, a minute ahead: the antenna waits at its rise azimuth, which the
  // dummy rotator (about six degrees a second) reaches within the test.
  const TSite& site = window->Tracker().Site();
  station::TSatelliteLook look(test::IssElements(), site.latitude, site.longitude, site.altitude);
  const station::TLookAt lookAt = [&look](double jd) { return look.At(jd); };
  const station::TPassWindow pass = test::PassRisingNearestNorth(lookAt);
  ASSERT_TRUE(pass.Valid());
  SimulateAt(pass.riseJd - 60.0 / 86400.0);

  TStationDialog* dialog = OpenDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(dialog->target->text().contains(QStringLiteral("ISS")));
  ASSERT_TRUE(dialog->transmitter->isEnabled()) << "the shipped list knows the station's radios";
  dialog->rotatorAddress->setText(QStringLiteral("127.0.0.1:%1").arg(rotatorPort));
  dialog->radioAddress->setText(QStringLiteral("127.0.0.1:%1").arg(rigPort));
  dialog->uplinkAddress->clear();
  dialog->azimuthRange->setCurrentIndex(1);  // -180..180
  dialog->connectButton->click();
  EXPECT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join("\n").toStdString();

  const station::TStationControl& station = window->StationCommands().Station();
  ASSERT_TRUE(test::WaitUntil(
      [&] { return station.Status().commanded && station.Status().downlinkTunedHz; }, 8000))
      << dialog->lastError->text().toStdString();
  EXPECT_TRUE(dialog->aosLos->text().startsWith(QStringLiteral("AOS in 0")))
      << dialog->aosLos->text().toStdString();
  const station::TAim aim = *station.Status().commanded;
  const double riseAz = look.At(pass.riseJd).azDeg;
  EXPECT_NEAR(aim.azDeg, riseAz > 180.0 ? riseAz - 360.0 : riseAz, 0.5);
  EXPECT_DOUBLE_EQ(aim.elDeg, 0.0);
  // The radio holds the downlink corrected for the range rate of the moment.
  const double tuned = *station.Status().downlinkTunedHz;
  const double planned = station.RadioPlan().downlinkHz;
  const double rate = look.At(window->Tracker().time.NowUtc).rangeRateKmS;
  EXPECT_NEAR(tuned, planned * (1.0 - rate / 299792.458), 1.0);
  // The status holds what was queued; the daemon holds it once its answer came back.
  QList<QByteArray> frequency;
  EXPECT_TRUE(test::WaitUntil(
      [&] {
        frequency = test::AskDaemon(rigPort, "f", 1);
        return frequency.size() == 1 && frequency[0].toDouble() == std::round(tuned);
      },
      8000))
      << "the radio holds " << frequency.join(' ').toStdString() << ", not " << std::round(tuned);
  // The dummy rotator moves by the time between two readings, which readings in quick
  // succession cut short: it is read twice a second.
  QList<QByteArray> lastRead;
  EXPECT_TRUE(test::WaitUntil(
      [&] {
        test::WaitUntil([] { return false; }, 500);
        const QList<QByteArray> p = test::AskDaemon(rotatorPort, "p", 2);
        lastRead = p;
        return p.size() == 2 && std::abs(p[0].toDouble() - aim.azDeg) <= 0.01;
      },
      35000))
      << aim.azDeg << " read " << lastRead.join(' ').toStdString();
  // What the rotator reports comes back into the dialog.
  EXPECT_TRUE(test::WaitUntil(
      [&] {
        return station.Status().actual &&
               std::abs(station.Status().actual->azDeg - aim.azDeg) <= 0.01;
      },
      4000));
  // Without a park position of its own the rotator goes to the daemon's ("K": 0, 0 for the
  // dummy).
  dialog->parkButton->click();
  EXPECT_FALSE(station.Status().commanded.has_value());
  EXPECT_TRUE(test::WaitUntil(
      [&] {
        test::WaitUntil([] { return false; }, 500);
        const QList<QByteArray> p = test::AskDaemon(rotatorPort, "p", 2);
        return p.size() == 2 && std::abs(p[0].toDouble()) <= 0.01 &&
               std::abs(p[1].toDouble()) <= 0.01;
      },
      35000));
  // The settings were kept in the main file.
  EXPECT_EQ(station::ReadStationSettings(folder.home.filePath("Setup/zenarith.set").toStdString())
                .azimuthRange,
            station::TAzimuthRange::From180To180);
}

// The target choice drives the same station: the dummy rotator is sent to the Moon and the
// radio tuned to its echo, then to the Sun with the radio left as it was.
TEST_F(StationWindow, TheTargetChoiceFollowsTheMoonWithItsEchoAndTheSunWithNoRadio) {
  const quint16 rotatorPort = test::FreePort();
  test::TDaemonProcess rotator("rotctld", rotatorPort);
  if (!rotator.Installed()) GTEST_SKIP() << "the daemons of Hamlib are not installed";
  const quint16 rigPort = test::FreePort();
  test::TDaemonProcess rig("rigctld", rigPort);
  ASSERT_TRUE(rotator.Start() && rig.Start());
  const TSite& site = window->Tracker().Site();
  const auto look = [&](station::TSkyBody body, double jd) {
    return station::TBodyLook(body, site.latitude, site.longitude, site.altitude).At(jd);
  };
  double jd = test::kIssEpochDayJd;  // and on by hours to both bodies well up
  while (look(station::TSkyBody::Moon, jd).elDeg < 15.0 ||
         look(station::TSkyBody::Sun, jd).elDeg < 15.0)
    jd += 1.0 / 24.0;
  SimulateAt(jd);
  const station::TLook moon = look(station::TSkyBody::Moon, window->Tracker().time.NowUtc);
  const station::TLook sun = look(station::TSkyBody::Sun, window->Tracker().time.NowUtc);

  TStationDialog* dialog = OpenDialog();
  dialog->targetChoice->setCurrentIndex(1);
  dialog->downlinkMhz->setValue(1296.05);
  emit dialog->downlinkMhz->editingFinished();
  dialog->rotatorAddress->setText(QStringLiteral("127.0.0.1:%1").arg(rotatorPort));
  dialog->radioAddress->setText(QStringLiteral("127.0.0.1:%1").arg(rigPort));
  dialog->uplinkAddress->clear();
  dialog->azimuthRange->setCurrentIndex(0);
  dialog->connectButton->click();
  const station::TStationControl& station = window->StationCommands().Station();
  const auto aimsAt = [&](const station::TLook& body) {
    const auto& aim = station.Status().commanded;
    return aim && std::abs(std::remainder(aim->azDeg - body.azDeg, 360.0)) < 0.01 &&
           std::abs(aim->elDeg - body.elDeg) < 0.01;
  };
  EXPECT_TRUE(test::WaitUntil([&] { return aimsAt(moon); }, 8000))
      << dialog->lastError->text().toStdString();
  const double echoHz = 1296.05e6 * (1.0 - 2.0 * moon.rangeRateKmS / 299792.458);
  QList<QByteArray> heard;
  EXPECT_TRUE(test::WaitUntil(
      [&] {
        heard = test::AskDaemon(rigPort, "f", 1);
        return std::abs(heard.value(0).toDouble() - echoHz) <= 1.0;
      },
      8000))
      << "the radio holds " << heard.value(0).toStdString() << ", not " << echoHz;

  dialog->targetChoice->setCurrentIndex(2);
  EXPECT_TRUE(test::WaitUntil([&] { return aimsAt(sun); }, 8000));
  test::WaitUntil([] { return false; }, 2500);  // two cycles and more
  EXPECT_EQ(test::AskDaemon(rigPort, "f", 1), heard);
  // A simulated moment the sky does not reach is said, and the antenna is not moved.
  SimulateAt(2433282.5 - 1.0);  // 1949-12-31
  test::WaitUntil([] { return false; }, 1500);
  EXPECT_EQ(dialog->target->text(), QStringLiteral("Sun (no place outside 1950-2100)"));
  EXPECT_TRUE(aimsAt(sun));
}

TEST_F(StationWindow, DaemonsThatAreDownOrSilentLeaveTheWindowWorking) {
  // A daemon that takes the connection and never answers.
  QTcpServer silent;
  ASSERT_TRUE(silent.listen(QHostAddress::LocalHost, 0));
  const quint16 nobody = test::FreePort();
  TStationDialog* dialog = OpenDialog();
  dialog->rotatorAddress->setText(QStringLiteral("127.0.0.1:%1").arg(nobody));
  dialog->radioAddress->setText(QStringLiteral("127.0.0.1:%1").arg(silent.serverPort()));
  dialog->connectButton->click();

  // The window's own timers keep their pace while the links fail and are tried again.
  QElapsedTimer clock;
  clock.start();
  qint64 last = 0;
  qint64 longestGap = 0;
  QTimer pulse;
  QObject::connect(&pulse, &QTimer::timeout, [&] {
    longestGap = std::max(longestGap, clock.elapsed() - last);
    last = clock.elapsed();
  });
  pulse.start(20);
  test::WaitUntil([] { return false; }, 3500);
  EXPECT_LT(longestGap, 500);
  const station::TStationControl& station = window->StationCommands().Station();
  EXPECT_EQ(station.RotatorLink().State(), station::TLinkState::Retrying);
  EXPECT_TRUE(dialog->links->text().contains(QStringLiteral("trying again in")))
      << dialog->links->text().toStdString();
  EXPECT_FALSE(dialog->lastError->text().isEmpty());
  EXPECT_NE(dialog->lastError->text(), QStringLiteral("none"));
  // A wrong address is said and starts nothing new.
  dialog->rotatorAddress->setText(QStringLiteral("nowhere"));
  dialog->connectButton->click();
  ASSERT_EQ(dialogs.errors.size(), 1);
  EXPECT_TRUE(dialogs.errors[0].contains(QStringLiteral("HOST:PORT")));
  dialog->disconnectButton->click();
  EXPECT_EQ(station.RotatorLink().State(), station::TLinkState::Off);
  EXPECT_TRUE(window->isVisible());
}

TEST_F(StationWindow, ParkHoldsUntilResumeAndOldReadingsAndErrorsShowForWhatTheyAre) {
  test::TFakeDaemon daemon;
  daemon.answerer = [](const QByteArray& line) -> QByteArray {
    if (line.startsWith("P ") || line == "K") return "RPRT 0\n";
    return line == "p" ? "12.00\n34.00\n" : QByteArray();
  };
  auto moves = [&daemon] {
    return std::count_if(daemon.received.begin(), daemon.received.end(),
                         [](const QByteArray& line) { return line.startsWith("P "); });
  };
  auto lastMove = [&daemon] {
    for (qsizetype i = daemon.received.size() - 1; i >= 0; --i) {
      if (daemon.received[i].startsWith("P ")) return daemon.received[i];
    }
    return QByteArray();
  };
  // The simulated clock stands still at the top of a pass: the satellite does not move, as a
  // geostationary one in view.
  const TSite& site = window->Tracker().Site();
  station::TSatelliteLook look(test::IssElements(), site.latitude, site.longitude, site.altitude);
  const station::TPassWindow pass =
      test::PassRisingNearestNorth([&look](double jd) { return look.At(jd); });
  ASSERT_TRUE(pass.Valid());
  SimulateAt(pass.culminationJd);

  TStationDialog* dialog = OpenDialog();
  const QString address = QStringLiteral("127.0.0.1:%1").arg(daemon.Port());
  dialog->rotatorAddress->setText(address);
  dialog->radioAddress->clear();
  dialog->uplinkAddress->clear();
  dialog->azimuthRange->setCurrentIndex(1);  // -180..180
  dialog->flip->setChecked(false);
  dialog->parkAfterPass->setChecked(true);
  dialog->parkAz->setValue(270);
  // An elevation no turn brings within 0..90 is refused, and nothing starts.
  dialog->parkEl->setValue(95);
  dialog->connectButton->click();
  ASSERT_EQ(dialogs.errors.size(), 1);
  EXPECT_EQ(dialogs.errors[0],
            "The park position cannot be reached: elevation 95° is beyond the rotator's 0° to "
            "90°; with Flip it reaches 180°.");
  const station::TStationControl& station = window->StationCommands().Station();
  EXPECT_FALSE(station.Running());
  dialog->parkEl->setValue(10);
  dialog->connectButton->click();
  ASSERT_EQ(dialogs.errors.size(), 1);
  ASSERT_TRUE(test::WaitUntil([&] { return !lastMove().isEmpty() && station.Status().actual; }));
  const QByteArray follow = lastMove();
  EXPECT_TRUE(dialog->resumeButton->isHidden());

  // Parked, west brought into the range, and held there while the satellite stays in view.
  dialog->parkButton->click();
  ASSERT_TRUE(test::WaitUntil([&] { return lastMove() == "P -90.00 10.00"; }));
  EXPECT_TRUE(dialog->commanded->text().startsWith(QStringLiteral("Parked")))
      << dialog->commanded->text().toStdString();
  EXPECT_FALSE(dialog->resumeButton->isHidden());
  const auto sent = moves();
  test::WaitUntil([] { return false; }, 2500);  // two cycles and more
  EXPECT_EQ(moves(), sent);
  dialog->resumeButton->click();
  EXPECT_TRUE(dialog->resumeButton->isHidden());
  ASSERT_TRUE(test::WaitUntil([&] { return lastMove() == follow; }, 1000));
  EXPECT_FALSE(dialog->commanded->text().startsWith(QStringLiteral("Parked")));

  // The link drops: the last reading is shown as old, greyed with its age, beside the error.
  EXPECT_TRUE(dialog->actual->isEnabled());
  EXPECT_EQ(dialog->actual->text(), QStringLiteral("az 12.0°, el 34.0°"));
  daemon.SetMode(test::TFakeDaemon::TMode::Refusing);
  ASSERT_TRUE(test::WaitUntil(
      [&] { return station.RotatorLink().State() == station::TLinkState::Retrying; }));
  EXPECT_FALSE(dialog->actual->isEnabled());
  EXPECT_TRUE(dialog->actual->text().startsWith(QStringLiteral("az 12.0°, el 34.0° (read ")) &&
              dialog->actual->text().endsWith(QStringLiteral(" s ago)")))
      << dialog->actual->text().toStdString();
  EXPECT_TRUE(dialog->lastError->text().contains(QStringLiteral("trying again in")));
  // Back: the error is over, and says when it ended.
  daemon.SetMode(test::TFakeDaemon::TMode::Serving);
  ASSERT_TRUE(
      test::WaitUntil([&] { return station.RotatorLink().State() == station::TLinkState::Up; }));
  EXPECT_TRUE(dialog->actual->isEnabled());
  EXPECT_TRUE(
      QRegularExpression(QStringLiteral("^rotator at %1: reconnected at \\d\\d:\\d\\d:\\d\\d$")
                             .arg(QRegularExpression::escape(address)))
          .match(dialog->lastError->text())
          .hasMatch())
      << dialog->lastError->text().toStdString();
  // Disconnected: no error left over, and the reading is old.
  daemon.SetMode(test::TFakeDaemon::TMode::Refusing);
  ASSERT_TRUE(test::WaitUntil(
      [&] { return station.RotatorLink().State() == station::TLinkState::Retrying; }));
  dialog->disconnectButton->click();
  EXPECT_EQ(dialog->lastError->text(), QStringLiteral("none"));
  EXPECT_FALSE(dialog->actual->isEnabled());
}

}  // namespace
}  // namespace zen
