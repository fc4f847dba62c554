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
// How often a stop signal is looked for, and the longest wait for the park command's answer.
constexpr int kSignalPollMs = 100;
constexpr int kParkWaitMs = 3000;

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

}  // namespace

int RunTrackCommand(const cli::TTrackWords& words, std::ostream& out, std::ostream& err) {
  const std::unique_ptr<QCoreApplication> application = ApplicationIfNone();

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

  TStationControl station;
  QElapsedTimer running;
  running.start();
  if (words.haveFrom) {
    const double fromJd = words.fromJd;
    station.clock = [fromJd, &running] {
      return fromJd + double(running.nsecsElapsed()) / (86400.0 * 1e9);
    };
  }
  try {
    station.SetTarget(set.elements, words.site.latitudeDeg, words.site.longitudeDeg,
                      words.site.altitudeM);
  } catch (const std::exception& error) {
    err << kName << ": the set of satellite " << words.satelliteNumber
        << " cannot be used: " << error.what() << "\n";
    return 1;
  }
  TRadioPlan plan;
  plan.downlinkHz = words.downlinkHz;
  plan.uplinkHz = words.uplinkHz;
  station.SetRadioPlan(plan);

  QObject::connect(&station, &TStationControl::CommandSent, &station,
                   [&out](double jd, const QString& device, const QString& command) {
                     out << DateRecToText(JulianToDateRec(jd)) << ' ' << device.toStdString() << ' '
                         << command.toStdString() << std::endl;
                   });
  QObject::connect(&station, &TStationControl::Failed, &station, [&err](const QString& message) {
    err << kName << ": " << message.toStdString() << std::endl;
  });

  QEventLoop loop;
  bool ending = false;
  auto end = [&] {
    if (ending) return;
    ending = true;
    if (!words.park) {
      loop.quit();
      return;
    }
    // The antenna goes to its park position before the links close; a rotator that does not
    // answer does not keep the command from ending.
    QObject::connect(&station, &TStationControl::ParkDone, &loop, &QEventLoop::quit);
    QTimer::singleShot(kParkWaitMs, &loop, &QEventLoop::quit);
    station.ParkNow();
  };
  const TStopSignals stopSignals;
  QTimer signalWatch;
  QObject::connect(&signalWatch, &QTimer::timeout, &loop, [&] {
    if (stopSignal.load() != 0) end();
  });
  signalWatch.start(kSignalPollMs);
  if (words.forSeconds > 0) {
    QTimer::singleShot(static_cast<int>(std::min(words.forSeconds * 1000.0, 2147483647.0)), &loop,
                       end);
  }
  QString unused;
  station.Start(SetupOf(SettingsOf(words), unused));
  loop.exec();
  station.Stop();
  out.flush();
  return 0;
}

}  // namespace zen::station
