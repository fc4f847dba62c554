// The station at work: the rotator and the radios follow one satellite seen from one site, on a
// cycle of their own, through the daemons' clients.
#include "station/station_control.h"

#include <QDateTime>
#include <QPointer>
#include <QTime>
#include <QTimeZone>
#include <cmath>

#include "core/timescale.h"

namespace zen::station {

namespace {

constexpr double kSecondsPerDay = 86400.0;
// A clock that moved more than this between two cycles was set, not run: the pass is found
// anew from the new moment.
constexpr double kClockJumpDays = 120.0 / kSecondsPerDay;
constexpr double kPassRetryDays = 600.0 / kSecondsPerDay;
// While no device is connected the station only shows the pass and the shift.
constexpr int kIdleCycleMs = 1000;

QString PointText(const TAim& aim) {
  return QStringLiteral("P ") + QString::number(aim.azDeg, 'f', 2) + QLatin1Char(' ') +
         QString::number(aim.elDeg, 'f', 2);
}

QString TuneText(double hz) {
  return QStringLiteral("F ") + QString::number(std::llround(hz));
}

constexpr double kUnixEpochJd = 2440587.5;

// "10:21:12 UTC"
QString UtcTimeText(double jd) {
  return UtcDateTimeOf(jd).toString(QStringLiteral("HH:mm:ss")) + QStringLiteral(" UTC");
}

}  // namespace

double MachineUtcJulian() {
  return kUnixEpochJd + double(QDateTime::currentMSecsSinceEpoch()) / (kSecondsPerDay * 1000.0);
}

QDateTime UtcDateTimeOf(double jd) {
  const auto ms = static_cast<qint64>(std::llround((jd - kUnixEpochJd) * kSecondsPerDay * 1000.0));
  return QDateTime::fromMSecsSinceEpoch(ms, QTimeZone::utc());
}

TStationControl::TStationControl(QObject* parent)
    : QObject(parent),
      clock(&MachineUtcJulian),
      rotatorClient_(new TRotatorClient(this)),
      rigClient_(new TRigClient(QStringLiteral("radio"), this)),
      uplinkClient_(new TRigClient(QStringLiteral("uplink radio"), this)) {
  connect(&cycle_, &QTimer::timeout, this, &TStationControl::Cycle);
  auto watch = [this](TDaemonLink& link, TLinkState TStationStatus::*state, auto cameBack) {
    connect(&link, &TDaemonLink::Failed, this,
            [this, &link](const QString& message) { NoteFailure(message, &link); });
    connect(&link, &TDaemonLink::Restored, this,
            [this, &link](const QString& message) { NoteRestored(message, link); });
    connect(&link, &TDaemonLink::Drained, this, [this] {
      if (windingDown_ && Waiting() == 0) emit Drained();
    });
    connect(&link, &TDaemonLink::StateChanged, this, [this, state, cameBack](TLinkState now) {
      status_.*state = now;
      // A device that comes back may have been moved or retuned meanwhile: it is told again.
      if (now == TLinkState::Up) cameBack();
      emit Changed();
    });
  };
  watch(rotatorClient_->Link(), &TStationStatus::rotatorLink, [this] {
    rotator_.Forget();
    if (status_.parked && !windingDown_) SendPark();
  });
  watch(rigClient_->Link(), &TStationStatus::rigLink, [this] { radio_.Forget(); });
  watch(uplinkClient_->Link(), &TStationStatus::uplinkLink, [this] { radio_.Forget(); });
  connect(rotatorClient_, &TRotatorClient::PositionRead, this, [this](double az, double el) {
    status_.actual = TAim{az, el};
    status_.actualReadAt = std::chrono::steady_clock::now();
    rotator_.Reported(*status_.actual);
    emit Changed();
  });
  connect(rigClient_, &TRigClient::FrequencyRead, this, [this](double hz) {
    status_.rigReadHz = hz;
    emit Changed();
  });
}

TStationControl::~TStationControl() = default;

void TStationControl::SetTarget(const TElements& elements, double latitudeDeg, double longitudeDeg,
                                double altitudeM) {
  body_.reset();
  Retarget(std::make_unique<TSatelliteLook>(elements, latitudeDeg, longitudeDeg, altitudeM),
           elements.catalogNumber);
}

void TStationControl::SetBodyTarget(TSkyBody body, double latitudeDeg, double longitudeDeg,
                                    double altitudeM) {
  body_ = body;
  Retarget(std::make_unique<TBodyLook>(body, latitudeDeg, longitudeDeg, altitudeM), BodyName(body));
}

void TStationControl::Retarget(std::unique_ptr<TTargetLook> look, const std::string& key) {
  look_ = std::move(look);
  // Another target ends a park; the same one seen anew (new elements, another site) does not.
  if (key != targetNumber_) status_.parked = false;
  targetNumber_ = key;
  status_.pass = TPassWindow{};
  status_.look = TLook{};
  status_.crossesStop = false;
  passFoundAtJd_ = -1e9;
  const std::optional<double> knownAzDeg = rotator_.LastKnownAzDeg();
  rotator_ = TRotatorControl(setup_.rotatorSettings);
  if (knownAzDeg) rotator_.Reported({*knownAzDeg, 0.0});
  pathsSeen_ = rotator_.PathsChosen();
  // What a radio may be tuned to depends on the target.
  ApplyRadioPlan();
  // The pass and the Doppler shift are shown before any device is connected.
  if (!cycle_.isActive()) cycle_.start(kIdleCycleMs);
  Cycle();
}

void TStationControl::ClearTarget() {
  look_.reset();
  body_.reset();
  if (!running_) cycle_.stop();
  status_.pass = TPassWindow{};
  status_.look = TLook{};
  status_.crossesStop = false;
  emit Changed();
}

void TStationControl::ApplyRadioPlan() {
  TRadioPlan plan = askedPlan_;
  plan.echo = false;
  if (body_) {
    // A body sends nothing of its own: the Moon returns the station's own signal, and the Sun's
    // noise needs no tuning.
    plan.uplinkHz = 0.0;
    plan.echo = *body_ == TSkyBody::Moon;
    if (*body_ == TSkyBody::Sun) plan.downlinkHz = 0.0;
  }
  radio_.SetPlan(plan);
}

void TStationControl::SetRadioPlan(const TRadioPlan& plan) {
  askedPlan_ = plan;
  ApplyRadioPlan();
  status_.downlinkTunedHz.reset();
  status_.uplinkTunedHz.reset();
  Cycle();
}

void TStationControl::Start(const TStationSetup& setup) {
  Stop();
  setup_ = setup;
  rotator_ = TRotatorControl(setup_.rotatorSettings);
  pathsSeen_ = rotator_.PathsChosen();
  radio_ = TRadioControl(setup_.radioToleranceHz);
  ApplyRadioPlan();
  status_ = TStationStatus{};
  lastErrorFrom_ = nullptr;
  passFoundAtJd_ = -1e9;
  rotatorClient_->SetGeometry(setup_.rotatorSettings.geometry);
  if (setup_.rotator.Used()) rotatorClient_->Link().Open(setup_.rotator.host, setup_.rotator.port);
  if (setup_.rig.Used()) rigClient_->Link().Open(setup_.rig.host, setup_.rig.port);
  if (setup_.uplink.Used()) uplinkClient_->Link().Open(setup_.uplink.host, setup_.uplink.port);
  running_ = true;
  const double cycleSeconds = std::max(0.2, setup_.rotatorSettings.cycleSeconds);
  cycle_.start(static_cast<int>(std::lround(cycleSeconds * 1000.0)));
  Cycle();
}

void TStationControl::Stop() {
  if (look_) {
    cycle_.start(kIdleCycleMs);
  } else {
    cycle_.stop();
  }
  running_ = false;
  windingDown_ = false;
  rotatorClient_->Link().Close();
  rigClient_->Link().Close();
  uplinkClient_->Link().Close();
  // What went wrong with links that are gone is history.
  status_.lastError.clear();
  lastErrorFrom_ = nullptr;
  emit Changed();
}

void TStationControl::WindDown() {
  windingDown_ = true;
  for (TDaemonLink* link : {&rotatorClient_->Link(), &rigClient_->Link(), &uplinkClient_->Link()}) {
    link->DropUnsentReads();
  }
}

int TStationControl::Waiting() const {
  return rotatorClient_->Link().Waiting() + rigClient_->Link().Waiting() +
         uplinkClient_->Link().Waiting();
}

std::function<void(const TAnswer&)> TStationControl::Outcome(double jd, const QString& device,
                                                             const QString& command,
                                                             std::function<void()> failed) {
  QPointer<TStationControl> guard(this);
  return [guard, jd, device, command, failed = std::move(failed)](const TAnswer& answer) {
    if (!guard) return;
    if (answer.ok) {
      emit guard->CommandConfirmed(jd, device, command);
      return;
    }
    if (failed) failed();
    if (guard) emit guard->CommandDropped(jd, device, command, answer.error);
  };
}

bool TStationControl::SendPark() {
  if (rotatorClient_->Link().State() != TLinkState::Up) return false;
  const double nowJd = clock();
  QPointer<TStationControl> guard(this);
  const auto done = [guard, nowJd](const QString& command) {
    return [guard, nowJd, command](const TAnswer& answer) {
      if (!guard) return;
      if (answer.ok) emit guard->CommandConfirmed(nowJd, QStringLiteral("rotator"), command);
      if (guard) emit guard->ParkDone(answer.ok, answer.error);
    };
  };
  if (!setup_.rotatorSettings.park) {
    // No position of its own chosen: the rotator's own park position, which its daemon knows.
    if (!rotatorClient_->Park(done(QStringLiteral("K")))) return false;
    status_.commanded.reset();
    return true;
  }
  // The settings were checked: a park out of reach never gets here but from a caller that did
  // not check.
  const std::optional<TAim> aim = IntoRange(
      setup_.rotatorSettings.geometry, setup_.rotatorSettings.parkAim, rotator_.LastKnownAzDeg());
  if (!aim || !rotatorClient_->Point(aim->azDeg, aim->elDeg, done(PointText(*aim)))) return false;
  status_.commanded = aim;
  rotator_.Sent({TRotatorMove::TKind::Park, *aim}, nowJd);
  return true;
}

void TStationControl::ParkNow() {
  const TDaemonLink& link = rotatorClient_->Link();
  QString reason;
  if (setup_.rotatorSettings.park) {
    reason = QString::fromStdString(
        OutOfReachText(setup_.rotatorSettings.geometry, setup_.rotatorSettings.parkAim));
  }
  if (reason.isEmpty()) {
    if (SendPark()) {
      status_.parked = true;
      emit Changed();
      return;
    }
    if (link.State() == TLinkState::Up) {
      reason = QStringLiteral("too many commands wait for the rotator");
    } else {
      reason = QStringLiteral("the rotator is not connected");
      if (!link.LastError().isEmpty()) reason += QStringLiteral(" (") + link.LastError() + ')';
    }
  }
  // Shown, not said: ParkDone carries the reason to whoever asked for the park.
  status_.lastError = QStringLiteral("rotator: not parked, ") + reason;
  lastErrorFrom_ = &link;
  emit Changed();
  emit ParkDone(false, reason);
}

void TStationControl::Resume() {
  if (!status_.parked) return;
  status_.parked = false;
  // Where the rotator stands now is the park: the aim is sent whatever the tolerance says.
  rotator_.Forget();
  Cycle();
}

QString TStationControl::AosLosText() const {
  if (!look_ || !status_.pass.Valid()) return {};
  return QString::fromStdString(station::AosLosText(clock(), status_.pass));
}

TLook TStationControl::LookAt(double jd) {
  return look_ ? look_->At(jd) : TLook{};
}

void TStationControl::UpdatePass(double nowJd) {
  const TPassWindow& pass = status_.pass;
  const bool jumped = std::abs(nowJd - lastCycleJd_) > kClockJumpDays;
  // A satellite without a pass in the search's reach is looked at again every few minutes.
  const bool stale = (!pass.Valid() && nowJd - passFoundAtJd_ > kPassRetryDays) ||
                     nowJd < passFoundAtJd_ || jumped ||
                     (std::isfinite(pass.setJd) && nowJd > pass.setJd);
  if (!stale) return;
  // A clock set elsewhere starts afresh: the antenna is pointed again for the new moment.
  if (jumped) rotator_.Forget();
  status_.pass = FindPass([this](double jd) { return LookAt(jd); }, nowJd,
                          setup_.rotatorSettings.minElevationDeg);
  passFoundAtJd_ = nowJd;
}

void TStationControl::NotePath(double nowJd) {
  const TPassPath* path = rotator_.Path();
  status_.crossesStop = path != nullptr && path->CrossesStop();
  if (rotator_.PathsChosen() == pathsSeen_) return;
  pathsSeen_ = rotator_.PathsChosen();
  if (!status_.crossesStop) return;
  const double riseJd = status_.pass.riseJd;
  const QString when = std::isfinite(riseJd) && riseJd > nowJd
                           ? QStringLiteral("the pass rising at ") + UtcTimeText(riseJd)
                           : QStringLiteral("the pass under way");
  NoteFailure(QStringLiteral("rotator: ") + when +
              QStringLiteral(" must cross the azimuth stop: the antenna swings round once "
                             "during it"));
}

void TStationControl::DriveRotator(double nowJd) {
  if (status_.parked || rotatorClient_->Link().State() != TLinkState::Up) return;
  const TLookAt lookAt = [this](double jd) { return LookAt(jd); };
  const TRotatorMove move = rotator_.Step(nowJd, lookAt, status_.pass);
  NotePath(nowJd);
  if (move.kind == TRotatorMove::TKind::None) return;
  const QString text = PointText(move.aim);
  const bool sent = rotatorClient_->Point(
      move.aim.azDeg, move.aim.elDeg,
      Outcome(nowJd, QStringLiteral("rotator"), text, [this] { rotator_.Forget(); }));
  if (!sent) return;
  rotator_.Sent(move, nowJd);
  status_.commanded = move.aim;
}

void TStationControl::DriveRadios(double nowJd) {
  if (!status_.look.ok) return;
  TTuning wanted = radio_.Step(status_.look.rangeRateKmS);
  TTuning sent;
  const auto failed = [this] { radio_.Forget(); };
  if (wanted.downlinkHz && rigClient_->Link().State() == TLinkState::Up &&
      rigClient_->Tune(*wanted.downlinkHz, Outcome(nowJd, QStringLiteral("rig"),
                                                   TuneText(*wanted.downlinkHz), failed))) {
    sent.downlinkHz = wanted.downlinkHz;
    status_.downlinkTunedHz = wanted.downlinkHz;
  }
  if (wanted.uplinkHz && uplinkClient_->Link().State() == TLinkState::Up &&
      uplinkClient_->Tune(*wanted.uplinkHz, Outcome(nowJd, QStringLiteral("uplink"),
                                                    TuneText(*wanted.uplinkHz), failed))) {
    sent.uplinkHz = wanted.uplinkHz;
    status_.uplinkTunedHz = wanted.uplinkHz;
  }
  if (sent.downlinkHz || sent.uplinkHz) radio_.Sent(sent);
}

void TStationControl::ReadBack() {
  // A reading queued behind a command would hold up the next one by a whole answer: while a
  // command waits, the device is not read.
  const auto ready = [](const TDaemonLink& link) {
    return link.State() == TLinkState::Up && !link.SetWaiting();
  };
  if (ready(rotatorClient_->Link())) rotatorClient_->ReadPosition();
  if (ready(rigClient_->Link())) rigClient_->ReadFrequency();
  // The uplink radio's reading is not shown; it shows the radio working, which ends the
  // growing waits of its link after a failure.
  if (ready(uplinkClient_->Link())) uplinkClient_->ReadFrequency();
}

void TStationControl::Cycle() {
  if (!look_) return;
  const double nowJd = clock();
  status_.look = LookAt(nowJd);
  const bool shifted = radio_.Plan().downlinkHz > 0 && status_.look.ok;
  status_.downlinkShiftHz = shifted ? radio_.DownlinkShiftHz(status_.look.rangeRateKmS) : 0.0;
  status_.oneWayShiftHz = shifted ? radio_.OneWayShiftHz(status_.look.rangeRateKmS) : 0.0;
  if (!running_ || windingDown_) {
    UpdatePass(nowJd);
    lastCycleJd_ = nowJd;
    emit Changed();
    return;
  }
  const TPassWindow& pass = status_.pass;
  // The pass just ended: the rotator parks (or stays) before it is given the next one.
  if (pass.Valid() && std::isfinite(pass.setJd) && nowJd > pass.setJd &&
      std::abs(nowJd - lastCycleJd_) <= kClockJumpDays) {
    DriveRotator(nowJd);
  }
  UpdatePass(nowJd);
  lastCycleJd_ = nowJd;
  DriveRotator(nowJd);
  DriveRadios(nowJd);
  ReadBack();
  emit Changed();
}

void TStationControl::NoteFailure(const QString& message, const TDaemonLink* from) {
  status_.lastError = message;
  lastErrorFrom_ = from;
  emit Failed(message);
  emit Changed();
}

void TStationControl::NoteRestored(const QString& message, const TDaemonLink& link) {
  // The error shown was this device's: it is over.
  if (lastErrorFrom_ == &link) {
    status_.lastError = link.Name() + QStringLiteral(": reconnected at ") +
                        QTime::currentTime().toString(QStringLiteral("HH:mm:ss"));
    lastErrorFrom_ = nullptr;
  }
  emit Restored(message);
  emit Changed();
}

}  // namespace zen::station
