// The station at work: the rotator and the radios follow one satellite seen from one site, on a
// cycle of their own, through the daemons' clients. The window and the track command both
// drive the station through this one object.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

#include "core/elements.h"
#include "station/daemon_link.h"
#include "station/doppler.h"
#include "station/pass_window.h"
#include "station/rotator_control.h"
#include "station/satellite_look.h"
#include "station/station_clients.h"

namespace zen::station {

// One daemon's address; port 0: the station has no such device.
struct TDaemonAddress {
  QString host;
  quint16 port = 0;
  bool Used() const { return port != 0 && !host.isEmpty(); }
};

struct TStationSetup {
  TDaemonAddress rotator;
  TDaemonAddress rig;     // the receiving radio
  TDaemonAddress uplink;  // the transmitting radio, when it is another one
  TRotatorSettings rotatorSettings;
  double radioToleranceHz = 10.0;
};

// What the station shows: links, the last command of each device, what the rotator reports.
struct TStationStatus {
  TLinkState rotatorLink = TLinkState::Off;
  TLinkState rigLink = TLinkState::Off;
  TLinkState uplinkLink = TLinkState::Off;
  QString lastError;
  TLook look;  // the target now
  TPassWindow pass;
  std::optional<TAim> commanded;
  std::optional<TAim> actual;  // the rotator's own "p"
  std::optional<double> downlinkTunedHz;
  std::optional<double> uplinkTunedHz;
  std::optional<double> rigReadHz;  // the receiving radio's own "f"
  double downlinkShiftHz = 0.0;
};

// The machine's clock as a Julian date (UTC), to the millisecond.
double MachineUtcJulian();

class TStationControl : public QObject {
  Q_OBJECT

 public:
  explicit TStationControl(QObject* parent = nullptr);
  ~TStationControl() override;

  // The moment (Julian date, UTC) the station follows: the window's clock, real or simulated,
  // or the track command's. Read once per cycle.
  std::function<double()> clock;

  // The satellite to follow; throws TElementError when its set cannot be propagated. The path
  // and pass are chosen anew.
  void SetTarget(const TElements& elements, double latitudeDeg, double longitudeDeg,
                 double altitudeM);
  void ClearTarget();
  bool HasTarget() const { return look_ != nullptr; }
  // The satellite's own frequencies; zero ones are not tuned.
  void SetRadioPlan(const TRadioPlan& plan);
  const TRadioPlan& RadioPlan() const { return radio_.Plan(); }

  // Opens the links of the setup's devices and starts driving them each cycle; a running
  // station is closed first. Links that fail are tried again by themselves. Without a running
  // station the look, the pass and the shift are still followed once a second for showing.
  void Start(const TStationSetup& setup);
  // Closes every link.
  void Stop();
  bool Running() const { return running_; }
  // Sends the rotator to the setup's park position now, or without one to the rotator's own
  // ("K"); ParkDone follows either way.
  void ParkNow();

  const TStationStatus& Status() const { return status_; }
  const TDaemonLink& RotatorLink() const { return rotatorClient_->Link(); }
  const TDaemonLink& RigLink() const { return rigClient_->Link(); }
  const TDaemonLink& UplinkLink() const { return uplinkClient_->Link(); }
  const TStationSetup& Setup() const { return setup_; }
  // "AOS in mm:ss" / "LOS in mm:ss" at the clock's moment, or empty.
  QString AosLosText() const;

 signals:
  // Each command as it goes out: device "rotator", "rig" or "uplink", the command's text, the
  // clock's moment.
  void CommandSent(double jd, const QString& device, const QString& command);
  // A failure of a device, readable; the station carries on.
  void Failed(const QString& message);
  void ParkDone(bool ok);
  // Anything shown changed.
  void Changed();

 private:
  void Cycle();
  void UpdatePass(double nowJd);
  void DriveRotator(double nowJd);
  void DriveRadios(double nowJd);
  void ReadBack();
  void NoteFailure(const QString& message);
  TLook LookAt(double jd);

  TStationSetup setup_;
  TStationStatus status_;
  std::unique_ptr<TSatelliteLook> look_;
  TRotatorControl rotator_{TRotatorSettings{}};
  TRadioControl radio_;
  TRotatorClient* rotatorClient_;
  TRigClient* rigClient_;
  TRigClient* uplinkClient_;
  QTimer cycle_;
  bool running_ = false;
  double passFoundAtJd_ = 0.0;
  double lastCycleJd_ = 0.0;
};

}  // namespace zen::station
