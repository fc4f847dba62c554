// "zenarith track": the station driven without a window, for a box beside the antenna.
#include "station/track_command.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <atomic>
#include <csignal>
#include <memory>

#include "cli/element_file.h"
#include "core/catalog.h"
#include "core/timescale.h"
#include "station/station_control.h"
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

TDaemonAddress AddressOf(const cli::TDaemonWords& words) {
  if (!words.Given()) return {};
  return {QString::fromStdString(words.host), static_cast<quint16>(words.port)};
}

TAzimuthRange RangeOf(int words) {
  switch (words) {
    case 180:
      return TAzimuthRange::From180To180;
    case 450:
      return TAzimuthRange::From0To450;
    default:
      return TAzimuthRange::From0To360;
  }
}

TStationSetup SetupOf(const cli::TTrackWords& w) {
  TStationSetup setup;
  setup.rotator = AddressOf(w.rotator);
  setup.rig = AddressOf(w.rig);
  setup.uplink = AddressOf(w.uplinkRig);
  TRotatorSettings& r = setup.rotatorSettings;
  r.minElevationDeg = w.minElevationDeg;
  r.toleranceDeg = w.toleranceDeg;
  r.cycleSeconds = w.cycleSeconds;
  r.geometry.range = RangeOf(w.azimuthRange);
  r.geometry.flip = w.flip;
  r.park = w.park;
  r.parkAim = TAim{w.parkAzDeg, w.parkElDeg};
  setup.radioToleranceHz = w.radioToleranceHz;
  return setup;
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
                     out << DateRecToText(JulianToDateRec(jd)) << ' ' << device.toStdString()
                         << ' ' << command.toStdString() << std::endl;
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
  station.Start(SetupOf(words));
  loop.exec();
  station.Stop();
  out.flush();
  return 0;
}

}  // namespace zen::station
