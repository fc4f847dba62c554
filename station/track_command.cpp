// "zenarith track": the station driven without a window, for a box beside the antenna.
#include "station/track_command.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <atomic>
#include <csignal>
#include <memory>
#include <string>

#include "cli/element_file.h"
#include "core/catalog.h"
#include "core/timescale.h"
#include "station/station_control.h"
#include "station/station_settings.h"
#include "update/core_application.h"

namespace zen::station {

namespace {

constexpr const char* kName = "zenarith track";
// How often a stop signal is looked for.
constexpr int kSignalPollMs = 100;
// At the end every command queued gets its answer limit once it is on the wire; this bounds the
// whole wait, should a daemon trickle answers in just within it.
constexpr int kLongestEndMs = (kMostWaitingCommands + 1) * kAnswerTimeoutMs;

std::atomic<int> stopSignal{0};

extern "C" void NoteStopSignal(int signal) {
  stopSignal.store(signal);
}

// The signals that end the command are noted, not acted on, while it runs; the handlers that
// were there before come back when it ends.
class TStopSignals {
 public:
  TStopSignals() {
    stopSignal.store(0);
    struct sigaction action {};
    action.sa_handler = &NoteStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &previousInterrupt_);
    sigaction(SIGTERM, &action, &previousTerminate_);
  }
  ~TStopSignals() {
    sigaction(SIGINT, &previousInterrupt_, nullptr);
    sigaction(SIGTERM, &previousTerminate_, nullptr);
  }
  TStopSignals(const TStopSignals&) = delete;
  TStopSignals& operator=(const TStopSignals&) = delete;

 private:
  struct sigaction previousInterrupt_ {};
  struct sigaction previousTerminate_ {};
};

// The words as the station's settings, so the command starts the station the way the window's
// settings do; the words were checked when they were read.
TStationSettings SettingsOf(const cli::TTrackWords& w) {
  auto address = [](const cli::TDaemonWords& words) {
    if (!words.Given()) return std::string();
    const bool ipv6 = words.host.find(':') != std::string::npos;
    return (ipv6 ? "[" + words.host + "]" : words.host) + ":" + std::to_string(words.port);
  };
  TStationSettings s;
  s.rotator = address(w.rotator);
  s.rig = address(w.rig);
  s.uplink = address(w.uplinkRig);
  s.minElevationDeg = w.minElevationDeg;
  s.toleranceDeg = w.toleranceDeg;
  s.cycleSeconds = w.cycleSeconds;
  s.azimuthRange = w.azimuthRange == 180   ? TAzimuthRange::From180To180
                   : w.azimuthRange == 450 ? TAzimuthRange::From0To450
                                           : TAzimuthRange::From0To360;
  s.flip = w.flip;
  s.park = w.park;
  s.parkAzDeg = w.parkAzDeg;
  s.parkElDeg = w.parkElDeg;
  s.radioToleranceHz = w.radioToleranceHz;
  return s;
}

// "2026-05-31 10:21:12.345" (UTC): the moment a command was computed for, to the millisecond,
// since near the zenith the antenna's aim moves by degrees in a second.
std::string MomentText(double jd) {
  return UtcDateTimeOf(jd).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")).toStdString();
}

// Reads the words' satellite and makes it the station's target; 0, or 1 when it cannot be.
int FollowSatellite(const cli::TTrackWords& words, TStationControl& station, std::ostream& err) {
  auto catalog = std::make_unique<TCatalog>();
  int count = 0;
  if (!cli::ReadCommandElementFile(kName, words.file, *catalog, count, err)) return 1;
  int slot = 1;
  while (slot <= count && catalog->CatalogElements[size_t(slot)].number != words.satelliteNumber) {
    ++slot;
  }
  if (slot > count) {
    err << kName << ": no satellite " << words.satelliteNumber << " in " << words.file << "\n";
    return 1;
  }
  const TCatalogSet& set = catalog->CatalogElements[size_t(slot)];
  if (!set.decodable) {
    err << kName << ": the set of satellite " << words.satelliteNumber
        << " cannot be used: " << set.decodeError << "\n";
    return 1;
  }
  try {
    station.SetTarget(set.elements, words.site.latitudeDeg, words.site.longitudeDeg,
                      words.site.altitudeM);
  } catch (const std::exception& error) {
    err << kName << ": the set of satellite " << words.satelliteNumber
        << " cannot be used: " << error.what() << "\n";
    return 1;
  }
  return 0;
}

}  // namespace

int RunTrackCommand(const cli::TTrackWords& words, std::ostream& out, std::ostream& err) {
  const std::unique_ptr<QCoreApplication> application = ApplicationIfNone();

  TStationControl station;
  QElapsedTimer running;
  running.start();
  if (words.haveFrom) {
    const double fromJd = words.fromJd;
    station.clock = [fromJd, &running] {
      return fromJd + double(running.nsecsElapsed()) / (86400.0 * 1e9);
    };
  }
  if (words.body != cli::TTrackBody::None) {
    station.SetBodyTarget(words.body == cli::TTrackBody::Moon ? TSkyBody::Moon : TSkyBody::Sun,
                          words.site.latitudeDeg, words.site.longitudeDeg, words.site.altitudeM);
  } else if (const int status = FollowSatellite(words, station, err); status != 0) {
    return status;
  }
  TRadioPlan plan;
  plan.downlinkHz = words.downlinkHz;
  plan.uplinkHz = words.uplinkHz;
  station.SetRadioPlan(plan);

  // A line is printed once the daemon took the command: one that never arrived is not said to.
  QObject::connect(&station, &TStationControl::CommandConfirmed, &station,
                   [&out](double jd, const QString& device, const QString& command) {
                     out << MomentText(jd) << ' ' << device.toStdString() << ' '
                         << command.toStdString() << std::endl;
                   });
  const auto say = [&err](const QString& message) {
    err << kName << ": " << message.toStdString() << std::endl;
  };
  QObject::connect(&station, &TStationControl::Failed, &station, say);
  QObject::connect(&station, &TStationControl::Restored, &station, say);

  QEventLoop loop;
  bool ending = false;
  bool parkPending = false;
  int status = 0;
  const auto endIfSettled = [&] {
    if (ending && !parkPending && station.Waiting() == 0) loop.quit();
  };
  QObject::connect(&station, &TStationControl::Drained, &loop, endIfSettled);
  QObject::connect(
      &station, &TStationControl::CommandDropped, &loop,
      [&](double, const QString& device, const QString& command, const QString& reason) {
        if (!ending) return;  // said as the link failed; the station carried on
        say(QStringLiteral("dropped %1 %2: %3").arg(device, command, reason));
        status = 1;
      });
  QObject::connect(&station, &TStationControl::ParkDone, &loop,
                   [&](bool ok, const QString& reason) {
                     if (!ending || !parkPending) return;
                     parkPending = false;
                     if (!ok) {
                       say(QStringLiteral("not parked: ") + reason);
                       status = 1;
                     }
                     endIfSettled();
                   });
  QTimer endLimit;
  endLimit.setSingleShot(true);
  QObject::connect(&endLimit, &QTimer::timeout, &loop, &QEventLoop::quit);
  // The commands already queued are seen through, and the antenna goes to its park position,
  // before the links close; each command waits at most the answer limit once it is on the wire.
  auto end = [&] {
    if (ending) return;
    ending = true;
    station.WindDown();
    if (words.park) {
      parkPending = true;
      station.ParkNow();
    }
    endLimit.start(kLongestEndMs);
    endIfSettled();
  };
  const TStopSignals stopSignals;
  QTimer signalWatch;
  // A second stop signal does not wait for the end: what still waits is dropped, and said.
  QObject::connect(&signalWatch, &QTimer::timeout, &loop, [&] {
    if (stopSignal.exchange(0) == 0) return;
    if (ending) {
      loop.quit();
    } else {
      end();
    }
  });
  signalWatch.start(kSignalPollMs);
  if (words.forSeconds > 0) {
    QTimer::singleShot(static_cast<int>(std::min(words.forSeconds * 1000.0, 2147483647.0)), &loop,
                       end);
  }
  QString unused;
  station.Start(SetupOf(SettingsOf(words), unused));
  loop.exec();
  // Whatever still waits now is dropped, and said so.
  station.Stop();
  out.flush();
  return status;
}

}  // namespace zen::station
