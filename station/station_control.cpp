// The station at work: the rotator and the radios follow one satellite seen from one site, on a
// cycle of their own, through the daemons' clients.
#include "station/station_control.h"

#include <QDateTime>
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

}  // namespace

double MachineUtcJulian() {
  constexpr double kUnixEpochJd = 2440587.5;
  return kUnixEpochJd + double(QDateTime::currentMSecsSinceEpoch()) / (kSecondsPerDay * 1000.0);
}

TStationControl::TStationControl(QObject* parent)
    : QObject(parent),
      clock(&MachineUtcJulian),
      rotatorClient_(new TRotatorClient(this)),
      rigClient_(new TRigClient(QStringLiteral("radio"), this)),
      uplinkClient_(new TRigClient(QStringLiteral("uplink radio"), this)) {
  connect(&cycle_, &QTimer::timeout, this, &TStationControl::Cycle);
  auto watch = [this](TDaemonLink& link, TLinkState TStationStatus::*state, auto forget) {
    connect(&link, &TDaemonLink::Failed, this, &TStationControl::NoteFailure);
    connect(&link, &TDaemonLink::StateChanged, this, [this, state, forget](TLinkState now) {
      // A device that comes back may have been moved or retuned meanwhile: it is told again.
      if (now == TLinkState::Up) forget();
      status_.*state = now;
      emit Changed();
    });
  };
  watch(rotatorClient_->Link(), &TStationStatus::rotatorLink, [this] { rotator_.Forget(); });
  watch(rigClient_->Link(), &TStationStatus::rigLink, [this] { radio_.Forget(); });
  watch(uplinkClient_->Link(), &TStationStatus::uplinkLink, [this] { radio_.Forget(); });
  connect(rotatorClient_, &TRotatorClient::PositionRead, this, [this](double az, double el) {
    status_.actual = TAim{az, el};
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
  look_ = std::make_unique<TSatelliteLook>(elements, latitudeDeg, longitudeDeg, altitudeM);
  status_.pass = TPassWindow{};
  status_.look = TLook{};
  passFoundAtJd_ = -1e9;
  rotator_ = TRotatorControl(setup_.rotatorSettings);
  radio_.Forget();
  // The pass and the Doppler shift are shown before any device is connected.
  if (!cycle_.isActive()) cycle_.start(kIdleCycleMs);
  Cycle();
}

void TStationControl::ClearTarget() {
  look_.reset();
  if (!running_) cycle_.stop();
  status_.pass = TPassWindow{};
  status_.look = TLook{};
  emit Changed();
}

void TStationControl::SetRadioPlan(const TRadioPlan& plan) {
  radio_.SetPlan(plan);
  status_.downlinkTunedHz.reset();
  status_.uplinkTunedHz.reset();
  Cycle();
}

void TStationControl::Start(const TStationSetup& setup) {
  Stop();
  setup_ = setup;
  rotator_ = TRotatorControl(setup_.rotatorSettings);
  const TRadioPlan plan = radio_.Plan();
  radio_ = TRadioControl(setup_.radioToleranceHz);
  radio_.SetPlan(plan);
  status_ = TStationStatus{};
  passFoundAtJd_ = -1e9;
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
  rotatorClient_->Link().Close();
  rigClient_->Link().Close();
  uplinkClient_->Link().Close();
  emit Changed();
}

void TStationControl::ParkNow() {
  const bool up = rotatorClient_->Link().State() == TLinkState::Up;
  const auto done = [this](bool ok) { emit ParkDone(ok); };
  if (!setup_.rotatorSettings.park) {
    // No position of its own chosen: the rotator's own park position, which its daemon knows.
    if (up && rotatorClient_->Park(done)) {
      status_.commanded.reset();
      emit CommandSent(clock(), QStringLiteral("rotator"), QStringLiteral("K"));
      return;
    }
  } else {
    const TAim aim = ClampToRange(setup_.rotatorSettings.geometry, setup_.rotatorSettings.parkAim);
    if (up && rotatorClient_->Point(aim.azDeg, aim.elDeg, done)) {
      status_.commanded = aim;
      emit CommandSent(clock(), QStringLiteral("rotator"), PointText(aim));
      return;
    }
  }
  NoteFailure(QStringLiteral("rotator: not parked, the rotator is not connected"));
  emit ParkDone(false);
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

void TStationControl::DriveRotator(double nowJd) {
  if (rotatorClient_->Link().State() != TLinkState::Up) return;
  const TLookAt lookAt = [this](double jd) { return LookAt(jd); };
  const TRotatorMove move = rotator_.Step(nowJd, lookAt, status_.pass);
  if (move.kind == TRotatorMove::TKind::None) return;
  const bool sent = rotatorClient_->Point(move.aim.azDeg, move.aim.elDeg, [this](bool ok) {
    if (!ok) rotator_.Forget();
  });
  if (!sent) return;
  rotator_.Sent(move, nowJd);
  status_.commanded = move.aim;
  emit CommandSent(nowJd, QStringLiteral("rotator"), PointText(move.aim));
}

void TStationControl::DriveRadios(double nowJd) {
  if (!status_.look.ok) return;
  TTuning wanted = radio_.Step(status_.look.rangeRateKmS);
  TTuning sent;
  auto failed = [this](bool ok) {
    if (!ok) radio_.Forget();
  };
  if (wanted.downlinkHz && rigClient_->Link().State() == TLinkState::Up &&
      rigClient_->Tune(*wanted.downlinkHz, failed)) {
    sent.downlinkHz = wanted.downlinkHz;
    status_.downlinkTunedHz = wanted.downlinkHz;
    emit CommandSent(nowJd, QStringLiteral("rig"), TuneText(*wanted.downlinkHz));
  }
  if (wanted.uplinkHz && uplinkClient_->Link().State() == TLinkState::Up &&
      uplinkClient_->Tune(*wanted.uplinkHz, failed)) {
    sent.uplinkHz = wanted.uplinkHz;
    status_.uplinkTunedHz = wanted.uplinkHz;
    emit CommandSent(nowJd, QStringLiteral("uplink"), TuneText(*wanted.uplinkHz));
  }
  if (sent.downlinkHz || sent.uplinkHz) radio_.Sent(sent);
}

void TStationControl::ReadBack() {
  if (rotatorClient_->Link().State() == TLinkState::Up) rotatorClient_->ReadPosition();
  if (rigClient_->Link().State() == TLinkState::Up) rigClient_->ReadFrequency();
}

void TStationControl::Cycle() {
  if (!look_) return;
  const double nowJd = clock();
  status_.look = LookAt(nowJd);
  status_.downlinkShiftHz = radio_.Plan().downlinkHz > 0 && status_.look.ok
                                ? radio_.DownlinkShiftHz(status_.look.rangeRateKmS)
                                : 0.0;
  if (!running_) {
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

void TStationControl::NoteFailure(const QString& message) {
  status_.lastError = message;
  emit Failed(message);
  emit Changed();
}

}  // namespace zen::station
