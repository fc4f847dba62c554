// The station at work: the rotator and the radios follow one satellite, the Moon or the Sun
// seen from one site, on a cycle of their own, through the daemons' clients. The window and the
// track command both drive the station through this one object.
#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTimer>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>

#include "core/elements.h"
#include "station/body_look.h"
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
  // The last failure; once its device is up again, "... reconnected at HH:MM:SS" (local time).
  QString lastError;
  TLook look;  // the target now
  TPassWindow pass;
  // The path chosen for the pass prepared or followed swings across the azimuth stop once.
  bool crossesStop = false;
  // Park now was given: the rotator holds its park position until Resume, Start or another
  // satellite.
  bool parked = false;
  std::optional<TAim> commanded;  // nothing while parked at the rotator's own position
  std::optional<TAim> actual;     // the rotator's own "p"
  // When actual was read; a reading is only current while the rotator's link is up.
  std::chrono::steady_clock::time_point actualReadAt;
  std::optional<double> downlinkTunedHz;
  std::optional<double> uplinkTunedHz;
  std::optional<double> rigReadHz;  // the receiving radio's own "f"
  double downlinkShiftHz = 0.0;     // what the receiver hears less the plan's (an echo's both ways)
  double oneWayShiftHz = 0.0;
};

// The machine's clock as a Julian date (UTC), to the millisecond.
double MachineUtcJulian();
// A Julian date (UTC) as a date and time in UTC, to the millisecond.
QDateTime UtcDateTimeOf(double jd);

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
  // The Moon or the Sun, followed with the same rotator settings as a satellite. The radios are
  // tuned by the plan's rule for a body: for the Moon the receiver to the echo of the plan's
  // downlink (the uplink radio is left alone), for the Sun not at all.
  void SetBodyTarget(TSkyBody body, double latitudeDeg, double longitudeDeg, double altitudeM);
  void ClearTarget();
  bool HasTarget() const { return look_ != nullptr; }
  // The body followed, or none for a satellite or no target.
  std::optional<TSkyBody> Body() const { return body_; }
  // The frequencies asked for (the satellite's own, or for the Moon the one sent); zero ones are
  // not tuned. The target may narrow them (RadioPlan).
  void SetRadioPlan(const TRadioPlan& plan);
  // The plan the radios are tuned by: the one asked for as the target allows it.
  const TRadioPlan& RadioPlan() const { return radio_.Plan(); }

  // Opens the links of the setup's devices and starts driving them each cycle; a running
  // station is closed first. Links that fail are tried again by themselves. Without a running
  // station the look, the pass and the shift are still followed once a second for showing.
  void Start(const TStationSetup& setup);
  // Closes every link.
  void Stop();
  bool Running() const { return running_; }
  // Sends the rotator to the setup's park position now (brought into the range, the nearer of
  // two turns to where it was last known), or without one to the rotator's own ("K"), and holds
  // it there: the station is parked until Resume, Start or another satellite, and parks again
  // when the rotator's link comes back. ParkDone follows either way; a rotator that is not
  // connected is not parked.
  void ParkNow();
  // Follows again at once.
  void Resume();
  // Computes no more commands and reads nothing more back; read-backs not sent are dropped.
  // Drained follows once no command waits on any link (at once when none does). ParkNow still
  // works. Start or Stop ends it.
  void WindDown();
  // Commands queued on every link, those on the wire included.
  int Waiting() const;

  const TStationStatus& Status() const { return status_; }
  const TDaemonLink& RotatorLink() const { return rotatorClient_->Link(); }
  const TDaemonLink& RigLink() const { return rigClient_->Link(); }
  const TDaemonLink& UplinkLink() const { return uplinkClient_->Link(); }
  const TStationSetup& Setup() const { return setup_; }
  // "AOS in mm:ss" / "LOS in mm:ss" at the clock's moment, or empty.
  QString AosLosText() const;

 signals:
  // A command the daemon took ("RPRT 0": accepted, not yet carried out): device "rotator",
  // "rig" or "uplink", the command's text, and the clock's moment it was computed for.
  void CommandConfirmed(double jd, const QString& device, const QString& command);
  // A command that failed or was dropped with its link; reason is the link's. A command
  // replaced by a newer one before it went out is neither confirmed nor dropped.
  void CommandDropped(double jd, const QString& device, const QString& command,
                      const QString& reason);
  // A failure of a device, readable; the station carries on. Also a pass whose path must
  // cross the azimuth stop.
  void Failed(const QString& message);
  // A device's link is up again after a failure.
  void Restored(const QString& message);
  // The park command's answer; reason says why it failed.
  void ParkDone(bool ok, const QString& reason);
  // After WindDown, nothing waits on any link.
  void Drained();
  // Anything shown changed.
  void Changed();

 private:
  void Cycle();
  void UpdatePass(double nowJd);
  void DriveRotator(double nowJd);
  void DriveRadios(double nowJd);
  void ReadBack();
  // Sends the park; false when the rotator's link is not up.
  bool SendPark();
  void NoteFailure(const QString& message, const TDaemonLink* from = nullptr);
  void NoteRestored(const QString& message, const TDaemonLink& link);
  void NotePath(double nowJd);
  // The done of a command to a device, telling the confirmation or the drop; failed runs on a
  // failure.
  std::function<void(const TAnswer&)> Outcome(double jd, const QString& device,
                                              const QString& command, std::function<void()> failed);
  TLook LookAt(double jd);
  // Follows a new target; key tells whether it is another one, which ends a park.
  void Retarget(std::unique_ptr<TTargetLook> look, const std::string& key);
  // The plan asked for, narrowed to what the target allows, handed to the radio's controller.
  void ApplyRadioPlan();

  TStationSetup setup_;
  TStationStatus status_;
  std::unique_ptr<TTargetLook> look_;
  std::optional<TSkyBody> body_;
  TRadioPlan askedPlan_;
  TRotatorControl rotator_{TRotatorSettings{}};
  TRadioControl radio_;
  TRotatorClient* rotatorClient_;
  TRigClient* rigClient_;
  TRigClient* uplinkClient_;
  QTimer cycle_;
  bool running_ = false;
  bool windingDown_ = false;
  const TDaemonLink* lastErrorFrom_ = nullptr;
  int pathsSeen_ = 0;
  // The catalogue number of the target or the body's name, which a park outlives.
  std::string targetNumber_;
  double passFoundAtJd_ = 0.0;
  double lastCycleJd_ = 0.0;
};

}  // namespace zen::station
