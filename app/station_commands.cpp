// "Station...": the rotator and the radios follow the active satellite, the Moon or the Sun;
// the settings of the station, its target and transmitter choice and its dialog.
#include "app/station_commands.h"

#include <algorithm>
#include <filesystem>

#include "app/station_dialog.h"
#include "core/elements.h"
#include "tracking/text_file.h"

namespace zen {

TStationCommands::TStationCommands(TTracker& tracker, UserDialogs& dialogs, QWidget* window,
                                   QObject* parent)
    : QObject(parent), tracker_(tracker), dialogs_(dialogs), window_(window) {
  openStation = new QAction(QStringLiteral("Station..."), this);
  openStation->setToolTip(
      QStringLiteral("Drive the antenna rotator and the radios for the active satellite, the Moon "
                     "or the Sun"));
  connect(openStation, &QAction::triggered, this, &TStationCommands::ShowDialog);
  // Real time is the machine's clock to the millisecond; a simulation is the window's moment,
  // which moves with its steps.
  station_.clock = [this] {
    return tracker_.time.Mode() == TTimeMode::RealTime ? station::MachineUtcJulian()
                                                       : tracker_.time.NowUtc;
  };
  connect(&tracker_, &TTracker::Changed, this, &TStationCommands::FollowActive);
}

TStationCommands::~TStationCommands() {
  station_.Stop();
}

QString TStationCommands::SettingsFile() const {
  return programFolder_ + QLatin1Char('/') + QString::fromLatin1(kMainSettingsFile);
}

void TStationCommands::SetProgramFolder(const QString& folder) {
  programFolder_ = folder;
  settings_ = station::ReadStationSettings(SettingsFile().toStdString());
}

void TStationCommands::ReadTransmitters() {
  transmitterProblem_.clear();
  const std::filesystem::path folder = programFolder_.toStdString();
  TTransmitterList shipped;
  TTransmitterList user;
  try {
    shipped = zen::ReadTransmitters(folder / kTransmittersFile);
    user = zen::ReadTransmitters(folder / kUserTransmittersFile);
  } catch (const TFileError& error) {
    transmitterProblem_ = QString::fromStdString(error.what());
  }
  for (const TTransmitterList* list : {&shipped, &user}) {
    if (!list->problem.empty() && transmitterProblem_.isEmpty()) {
      transmitterProblem_ = QString::fromStdString(list->problem);
    }
  }
  transmitters_.clear();
  chosen_ = -1;
  const TSatelliteList& list = tracker_.list;
  if (target_ != TStationTarget::ActiveSatellite || !list.HasActiveSat()) return;
  const TCatalogSet& set = list.ElementsOf(list.ActiveSat);
  if (set.number < 0) return;
  transmitters_ = TransmittersOf(shipped, user, set.number);
  const auto saved =
      std::find_if(transmitters_.begin(), transmitters_.end(), [this](const TTransmitter& t) {
        return !settings_.transmitter.empty() && t.uuid == settings_.transmitter;
      });
  if (saved != transmitters_.end()) {
    chosen_ = static_cast<int>(saved - transmitters_.begin());
  } else if (!transmitters_.empty()) {
    chosen_ = 0;
  }
}

void TStationCommands::ApplyRadioPlan() {
  if (target_ != TStationTarget::ActiveSatellite) {
    // The station narrows the plan to what the body allows: the echo for the Moon, nothing for
    // the Sun.
    station::TRadioPlan plan;
    plan.downlinkHz = settings_.echoHz;
    station_.SetRadioPlan(plan);
    return;
  }
  if (chosen_ < 0 || chosen_ >= static_cast<int>(transmitters_.size())) {
    station_.SetRadioPlan(station::TRadioPlan{});
    return;
  }
  station_.SetRadioPlan(station::PlanFor(transmitters_[size_t(chosen_)], settings_.downlinkHz));
}

void TStationCommands::FollowActive() {
  const TSatelliteList& list = tracker_.list;
  const TSite& site = tracker_.Site();
  const std::string siteKey = "|" + std::to_string(site.latitude) + "," +
                              std::to_string(site.longitude) + "," + std::to_string(site.altitude);
  std::string key;
  if (target_ != TStationTarget::ActiveSatellite) {
    key = (target_ == TStationTarget::Moon ? "Moon" : "Sun") + siteKey;
  } else if (list.HasActiveSat()) {
    const TCatalogSet& set = list.ElementsOf(list.ActiveSat);
    key = set.lines.line1 + set.lines.line2 + std::to_string(set.number) + "|" +
          std::to_string(list.CatalogGeneration) + siteKey;
  }
  if (key == targetKey_) return;
  targetKey_ = key;
  targetName_.clear();
  if (target_ != TStationTarget::ActiveSatellite) {
    const station::TSkyBody body =
        target_ == TStationTarget::Moon ? station::TSkyBody::Moon : station::TSkyBody::Sun;
    targetName_ = QString::fromLatin1(station::BodyName(body));
    station_.SetBodyTarget(body, site.latitude, site.longitude, site.altitude);
  } else if (key.empty()) {
    station_.ClearTarget();
  } else {
    const TCatalogSet& set = list.ElementsOf(list.ActiveSat);
    targetName_ = QString::fromStdString(list.NameOf(list.ActiveSat));
    try {
      if (!set.decodable) throw TElementError(set.decodeError);
      station_.SetTarget(set.elements, site.latitude, site.longitude, site.altitude);
    } catch (const std::exception& error) {
      station_.ClearTarget();
      targetName_ += QStringLiteral(" (cannot be followed: ") +
                     QString::fromStdString(error.what()) + QLatin1Char(')');
    }
  }
  ReadTransmitters();
  ApplyRadioPlan();
  emit Changed();
}

void TStationCommands::ChooseTarget(TStationTarget target) {
  if (target == target_) return;
  target_ = target;
  FollowActive();
}

void TStationCommands::ChooseEchoFrequency(double hz) {
  settings_.echoHz = hz > 0.0 ? hz : 0.0;
  ApplyRadioPlan();
  emit Changed();
}

void TStationCommands::Connect(const station::TStationSettings& settings) {
  QString problem;
  const station::TStationSetup setup = station::SetupOf(settings, problem);
  if (!problem.isEmpty()) {
    dialogs_.ShowError(problem + QLatin1Char('.'));
    return;
  }
  if (!setup.rotator.Used() && !setup.rig.Used() && !setup.uplink.Used()) {
    dialogs_.ShowError(QStringLiteral("Give the address of the rotator or of a radio."));
    return;
  }
  settings_ = settings;
  try {
    station::WriteStationSettings(SettingsFile().toStdString(), settings_);
  } catch (const TFileError& error) {
    dialogs_.ShowError(QStringLiteral("The station's settings could not be kept: ") +
                       QString::fromStdString(error.what()));
  }
  ApplyRadioPlan();
  station_.Start(setup);
  emit Changed();
}

void TStationCommands::Disconnect() {
  station_.Stop();
  emit Changed();
}

void TStationCommands::Park() {
  station_.ParkNow();
}

void TStationCommands::Resume() {
  station_.Resume();
}

void TStationCommands::ChooseTransmitter(int index, double downlinkHz) {
  if (index < 0 || index >= static_cast<int>(transmitters_.size())) return;
  chosen_ = index;
  settings_.transmitter = transmitters_[size_t(index)].uuid;
  settings_.downlinkHz = downlinkHz;
  ApplyRadioPlan();
  emit Changed();
}

TStationDialog* TStationCommands::Dialog() const {
  return dialog_;
}

void TStationCommands::ShowDialog() {
  if (dialog_ == nullptr) dialog_ = new TStationDialog(*this, window_);
  dialog_->show();
  dialog_->raise();
  dialog_->activateWindow();
}

}  // namespace zen
