// The station's dialog: what to follow, the daemons' addresses, how the rotator follows, the
// transmitter to tune for, and what the devices are doing.
#include "app/station_dialog.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <chrono>
#include <cmath>

namespace zen {

namespace {

QDoubleSpinBox* Spin(QWidget* parent, double low, double high, int decimals, double step,
                     const QString& suffix) {
  auto* spin = new QDoubleSpinBox(parent);
  spin->setRange(low, high);
  spin->setDecimals(decimals);
  spin->setSingleStep(step);
  spin->setSuffix(suffix);
  return spin;
}

QString AimText(const std::optional<station::TAim>& aim) {
  if (!aim) return QStringLiteral("-");
  return QStringLiteral("az %1°, el %2°")
      .arg(QString::number(aim->azDeg, 'f', 1), QString::number(aim->elDeg, 'f', 1));
}

// "az 12.0°, el 3.0° (read 14 s ago)": a reading that can no longer be renewed.
QString OldAimText(const station::TAim& aim, std::chrono::steady_clock::time_point readAt) {
  const auto ageSeconds =
      std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - readAt)
          .count();
  return AimText(aim) + QStringLiteral(" (read %1 s ago)").arg(ageSeconds);
}

QString MhzText(const std::optional<double>& hz) {
  if (!hz) return QStringLiteral("-");
  return QString::number(*hz / 1e6, 'f', 6) + QStringLiteral(" MHz");
}

}  // namespace

QString LinkStateText(const station::TDaemonLink& link) {
  switch (link.State()) {
    case station::TLinkState::Up:
      return QStringLiteral("connected");
    case station::TLinkState::Connecting:
      return QStringLiteral("connecting");
    case station::TLinkState::Retrying:
      return QStringLiteral("trying again in %1 s")
          .arg(std::max(1, static_cast<int>(std::lround(link.RetryWaitMs() / 1000.0))));
    case station::TLinkState::Off:
      break;
  }
  return QStringLiteral("not connected");
}

TStationDialog::TStationDialog(TStationCommands& commands, QWidget* parent)
    : QDialog(parent), commands_(commands) {
  setObjectName(QStringLiteral("stationDialog"));
  setWindowTitle(QStringLiteral("Station"));
  setModal(false);

  auto* targetRow = new QFormLayout;
  targetChoice = new QComboBox(this);
  targetChoice->addItems(
      {QStringLiteral("Active satellite"), QStringLiteral("Moon"), QStringLiteral("Sun")});
  targetChoice->setToolTip(
      QStringLiteral("For the Moon the radio is tuned to the echo of the downlink frequency you "
                     "send; for the Sun no radio is tuned"));
  targetRow->addRow(QStringLiteral("Tar&get:"), targetChoice);

  auto* devices = new QGroupBox(QStringLiteral("Devices (rotctld, rigctld)"), this);
  auto* deviceForm = new QFormLayout(devices);
  rotatorAddress = new QLineEdit(devices);
  radioAddress = new QLineEdit(devices);
  uplinkAddress = new QLineEdit(devices);
  for (QLineEdit* field : {rotatorAddress, radioAddress, uplinkAddress}) {
    field->setPlaceholderText(QStringLiteral("HOST:PORT, empty: none"));
  }
  deviceForm->addRow(QStringLiteral("&Rotator:"), rotatorAddress);
  deviceForm->addRow(QStringLiteral("Ra&dio:"), radioAddress);
  deviceForm->addRow(QStringLiteral("&Uplink radio:"), uplinkAddress);
  auto* buttons = new QHBoxLayout;
  connectButton = new QPushButton(QStringLiteral("&Connect"), devices);
  disconnectButton = new QPushButton(QStringLiteral("D&isconnect"), devices);
  parkButton = new QPushButton(QStringLiteral("&Park now"), devices);
  resumeButton = new QPushButton(QStringLiteral("R&esume"), devices);
  resumeButton->setToolTip(QStringLiteral("Follow the target again"));
  buttons->addWidget(connectButton);
  buttons->addWidget(disconnectButton);
  buttons->addWidget(parkButton);
  buttons->addWidget(resumeButton);
  deviceForm->addRow(buttons);

  auto* rotator = new QGroupBox(QStringLiteral("Rotator"), this);
  auto* rotatorForm = new QFormLayout(rotator);
  minElevation = Spin(rotator, 0.0, 80.0, 1, 1.0, QStringLiteral("°"));
  tolerance = Spin(rotator, 0.1, 20.0, 1, 0.5, QStringLiteral("°"));
  cycle = Spin(rotator, 0.2, 60.0, 1, 0.5, QStringLiteral(" s"));
  azimuthRange = new QComboBox(rotator);
  azimuthRange->addItems({QStringLiteral("0° to 360°"), QStringLiteral("-180° to 180°"),
                          QStringLiteral("0° to 450°")});
  flip = new QCheckBox(QStringLiteral("&Flip: elevation up to 180°"), rotator);
  parkAfterPass = new QCheckBox(QStringLiteral("Par&k after a pass at"), rotator);
  parkAz = Spin(rotator, -180.0, 450.0, 1, 1.0, QStringLiteral("° az"));
  parkEl = Spin(rotator, 0.0, 180.0, 1, 1.0, QStringLiteral("° el"));
  auto* parkRow = new QHBoxLayout;
  parkRow->addWidget(parkAfterPass);
  parkRow->addWidget(parkAz);
  parkRow->addWidget(parkEl);
  rotatorForm->addRow(QStringLiteral("&Lowest elevation:"), minElevation);
  rotatorForm->addRow(QStringLiteral("&Tolerance:"), tolerance);
  rotatorForm->addRow(QStringLiteral("C&ycle:"), cycle);
  rotatorForm->addRow(QStringLiteral("&Azimuths:"), azimuthRange);
  rotatorForm->addRow(flip);
  rotatorForm->addRow(parkRow);

  auto* radio = new QGroupBox(QStringLiteral("Radio"), this);
  auto* radioForm = new QFormLayout(radio);
  transmitter = new QComboBox(radio);
  transmitter->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  transmitter->setMinimumContentsLength(40);
  downlinkMhz = Spin(radio, 0.0, 300000.0, 6, 0.001, QStringLiteral(" MHz"));
  radioTolerance = Spin(radio, 1.0, 10000.0, 0, 1.0, QStringLiteral(" Hz"));
  radioForm->addRow(QStringLiteral("Trans&mitter:"), transmitter);
  radioForm->addRow(QStringLiteral("Do&wnlink:"), downlinkMhz);
  radioForm->addRow(QStringLiteral("Retu&ne above:"), radioTolerance);

  auto* now = new QGroupBox(QStringLiteral("Now"), this);
  auto* nowForm = new QFormLayout(now);
  target = new QLabel(now);
  aosLos = new QLabel(now);
  satellitePosition = new QLabel(now);
  commanded = new QLabel(now);
  actual = new QLabel(now);
  doppler = new QLabel(now);
  tuned = new QLabel(now);
  links = new QLabel(now);
  lastError = new QLabel(now);
  lastError->setWordWrap(true);
  links->setWordWrap(true);
  lastError->setTextInteractionFlags(Qt::TextSelectableByMouse);
  nowForm->addRow(QStringLiteral("Target:"), target);
  nowForm->addRow(QStringLiteral("Pass:"), aosLos);
  nowForm->addRow(QStringLiteral("Seen at:"), satellitePosition);
  nowForm->addRow(QStringLiteral("Commanded:"), commanded);
  nowForm->addRow(QStringLiteral("Rotator reports:"), actual);
  nowForm->addRow(QStringLiteral("Doppler:"), doppler);
  nowForm->addRow(QStringLiteral("Tuned:"), tuned);
  nowForm->addRow(QStringLiteral("Links:"), links);
  nowForm->addRow(QStringLiteral("Last error:"), lastError);

  auto* left = new QVBoxLayout;
  left->addLayout(targetRow);
  left->addWidget(devices);
  left->addWidget(rotator);
  left->addWidget(radio);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left);
  auto* right = new QVBoxLayout;
  right->addWidget(now);
  right->addStretch();
  layout->addLayout(right, 1);
  now->setMinimumWidth(380);

  connect(connectButton, &QPushButton::clicked, this,
          [this] { commands_.Connect(FieldSettings()); });
  connect(disconnectButton, &QPushButton::clicked, this, [this] { commands_.Disconnect(); });
  connect(parkButton, &QPushButton::clicked, this, [this] { commands_.Park(); });
  connect(resumeButton, &QPushButton::clicked, this, [this] { commands_.Resume(); });
  connect(targetChoice, &QComboBox::currentIndexChanged, this, &TStationDialog::onTargetChosen);
  connect(transmitter, &QComboBox::activated, this, &TStationDialog::onTransmitterChosen);
  connect(downlinkMhz, &QDoubleSpinBox::editingFinished, this,
          &TStationDialog::onTransmitterChosen);
  connect(&commands_, &TStationCommands::Changed, this, [this] {
    ShowTransmitters();
    ShowStatus();
  });
  connect(&commands_.Station(), &station::TStationControl::Changed, this,
          &TStationDialog::ShowStatus);
  ShowSettings();
  ShowTransmitters();
  ShowStatus();
}

void TStationDialog::ShowSettings() {
  const station::TStationSettings& s = commands_.Settings();
  rotatorAddress->setText(QString::fromStdString(s.rotator));
  radioAddress->setText(QString::fromStdString(s.rig));
  uplinkAddress->setText(QString::fromStdString(s.uplink));
  minElevation->setValue(s.minElevationDeg);
  tolerance->setValue(s.toleranceDeg);
  cycle->setValue(s.cycleSeconds);
  azimuthRange->setCurrentIndex(static_cast<int>(s.azimuthRange));
  flip->setChecked(s.flip);
  parkAfterPass->setChecked(s.park);
  parkAz->setValue(s.parkAzDeg);
  parkEl->setValue(s.parkElDeg);
  radioTolerance->setValue(s.radioToleranceHz);
}

station::TStationSettings TStationDialog::FieldSettings() const {
  station::TStationSettings s = commands_.Settings();
  s.rotator = rotatorAddress->text().trimmed().toStdString();
  s.rig = radioAddress->text().trimmed().toStdString();
  s.uplink = uplinkAddress->text().trimmed().toStdString();
  s.minElevationDeg = minElevation->value();
  s.toleranceDeg = tolerance->value();
  s.cycleSeconds = cycle->value();
  s.azimuthRange = static_cast<station::TAzimuthRange>(azimuthRange->currentIndex());
  s.flip = flip->isChecked();
  s.park = parkAfterPass->isChecked();
  s.parkAzDeg = parkAz->value();
  s.parkElDeg = parkEl->value();
  s.radioToleranceHz = radioTolerance->value();
  return s;
}

void TStationDialog::ShowTransmitters() {
  filling_ = true;
  const TStationTarget target = commands_.Target();
  targetChoice->setCurrentIndex(static_cast<int>(target));
  transmitter->clear();
  if (target != TStationTarget::ActiveSatellite) {
    const bool moon = target == TStationTarget::Moon;
    transmitter->addItem(moon ? QStringLiteral("The Moon's echo of the downlink frequency you send")
                              : QStringLiteral("No radio is tuned for the Sun"));
    transmitter->setEnabled(false);
    downlinkMhz->setEnabled(moon);
    downlinkMhz->setToolTip(
        QStringLiteral("The frequency you send; the radio is tuned to its echo"));
    downlinkMhz->setValue(moon ? commands_.Settings().echoHz / 1e6 : 0.0);
    filling_ = false;
    return;
  }
  downlinkMhz->setEnabled(true);
  downlinkMhz->setToolTip(
      QStringLiteral("The downlink inside a transponder's passband; its uplink is paired"));
  for (const TTransmitter& t : commands_.Transmitters()) {
    transmitter->addItem(QString::fromStdString(TransmitterText(t)));
  }
  if (commands_.Transmitters().empty()) {
    transmitter->addItem(commands_.TransmitterProblem().isEmpty()
                             ? QStringLiteral("No transmitters known for this satellite")
                             : commands_.TransmitterProblem());
    transmitter->setEnabled(false);
  } else {
    transmitter->setEnabled(true);
    transmitter->setCurrentIndex(std::max(0, commands_.Chosen()));
  }
  const station::TRadioPlan& plan = commands_.Station().RadioPlan();
  downlinkMhz->setValue(plan.downlinkHz / 1e6);
  filling_ = false;
}

void TStationDialog::onTransmitterChosen() {
  if (filling_) return;
  if (commands_.Target() == TStationTarget::Moon) {
    commands_.ChooseEchoFrequency(downlinkMhz->value() * 1e6);
    return;
  }
  if (commands_.Transmitters().empty()) return;
  commands_.ChooseTransmitter(transmitter->currentIndex(), downlinkMhz->value() * 1e6);
}

void TStationDialog::onTargetChosen(int index) {
  if (filling_ || index < 0) return;
  commands_.ChooseTarget(static_cast<TStationTarget>(index));
}

void TStationDialog::ShowStatus() {
  const station::TStationControl& station = commands_.Station();
  const station::TStationStatus& st = station.Status();
  QString targetText = commands_.TargetName();
  if (targetText.isEmpty()) targetText = QStringLiteral("no active satellite");
  // The sky's bodies are computed for 1950 to 2100 only.
  if (station.Body() && !st.look.ok) targetText += QStringLiteral(" (no place outside 1950-2100)");
  target->setText(targetText);
  QString passText = station.AosLosText();
  if (passText.isEmpty()) passText = QStringLiteral("no pass within two days");
  if (st.crossesStop) passText += QStringLiteral("; crosses the azimuth stop");
  aosLos->setText(passText);
  satellitePosition->setText(
      st.look.ok ? QStringLiteral("az %1°, el %2°")
                       .arg(QString::number(st.look.azDeg, 'f', 1),
                            QString::number(st.look.elDeg, 'f', 1))
                 : QStringLiteral("-"));
  if (st.parked) {
    commanded->setText(QStringLiteral("Parked") +
                       (st.commanded ? QStringLiteral(" at ") + AimText(st.commanded)
                                     : QStringLiteral(" at the rotator's own position")));
  } else {
    commanded->setText(AimText(st.commanded));
  }
  // A reading over a link that is down is old: greyed, with its age.
  const bool current = station.RotatorLink().State() == station::TLinkState::Up;
  actual->setText(st.actual && !current ? OldAimText(*st.actual, st.actualReadAt)
                                        : AimText(st.actual));
  actual->setEnabled(current || !st.actual);
  const station::TRadioPlan& plan = station.RadioPlan();
  const QString rate = st.look.ok ? QStringLiteral("range rate %1 km/s")
                                        .arg(QString::number(st.look.rangeRateKmS, 'f', 3))
                                  : QString();
  if (station.Body() == station::TSkyBody::Sun) {
    doppler->setText(QStringLiteral("no radio is tuned for the Sun") +
                     (rate.isEmpty() ? QString() : QStringLiteral(" (") + rate + ')'));
  } else if (plan.downlinkHz > 0 && st.look.ok && plan.echo) {
    doppler->setText(QStringLiteral("echo %1 Hz, one way %2 Hz (%3)")
                         .arg(QString::number(std::lround(st.downlinkShiftHz)),
                              QString::number(std::lround(st.oneWayShiftHz)), rate));
  } else {
    doppler->setText(plan.downlinkHz > 0 && st.look.ok
                         ? QStringLiteral("%1 Hz on the downlink (%2)")
                               .arg(QString::number(std::lround(st.downlinkShiftHz)), rate)
                         : rate);
  }
  tuned->setText(QStringLiteral("down %1, up %2")
                     .arg(MhzText(st.downlinkTunedHz), MhzText(st.uplinkTunedHz)));
  links->setText(QStringLiteral("rotator %1; radio %2; uplink %3")
                     .arg(LinkStateText(station.RotatorLink()), LinkStateText(station.RigLink()),
                          LinkStateText(station.UplinkLink())));
  lastError->setText(st.lastError.isEmpty() ? QStringLiteral("none") : st.lastError);
  connectButton->setText(station.Running() ? QStringLiteral("Re&connect")
                                           : QStringLiteral("&Connect"));
  disconnectButton->setEnabled(station.Running());
  parkButton->setEnabled(station.RotatorLink().State() == station::TLinkState::Up);
  resumeButton->setVisible(st.parked);
}

}  // namespace zen
