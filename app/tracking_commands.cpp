// Every command on the catalogue and the tracked list: loading an element file, adding,
// removing and cropping tracked satellites, and choosing the active one.
#include "app/tracking_commands.h"

#include <QFileInfo>

#include "tracking/element_age.h"

namespace zen {

// Element lines and mean-elements messages read alike (the content tells them apart), so the
// first choice shows both.
QString ElementFileFilter() {
  return QStringLiteral(
      "Element sets (*.tle *.txt *.mtl *.csv *.json *.xml);;"
      "Two-line element (*.tle *.txt *.mtl);;"
      "Orbit mean-elements messages (*.csv *.json *.xml);;"
      "All files (*)");
}

TTrackingCommands::TTrackingCommands(TTracker& tracker, TFooter& footer, UserDialogs& dialogs,
                                     QObject* parent)
    : QObject(parent), tracker_(tracker), footer_(footer), dialogs_(dialogs) {
  auto add = [this](const char* caption, std::function<void()> run) {
    auto* action = new QAction(QString::fromLatin1(caption), this);
    connect(action, &QAction::triggered, this, std::move(run));
    return action;
  };
  loadTle = add("Load TLE...", [this] { ChooseElementFile(); });
  addSelected = add("Add selected", [this] { AddTr(false, false, 0); });
  addSelectedAndActivate = add("Add selected and activate", [this] { AddTr(false, true, 0); });
  addAll = add("Add all to tracked", [this] { AddTr(true, false, 0); });
  replaceWithSelected = add("Replace tracked to selected", [this] { ReplaceTracked(false); });
  replaceWithAll = add("Replace tracked to all", [this] { ReplaceTracked(true); });
  removeSelected = add("Remove selected", [this] { RemoveTr(false, false, 0); });
  removeAll = add("Remove all", [this] { RemoveTr(true, false, 0); });
  crop = add("Crop", [this] { RemoveTr(false, true, 0); });
}

void TTrackingCommands::ChooseElementFile() {
  QString file = dialogs_.ChooseFileToOpen(
      QStringLiteral("Load TLE"), programFolder_ + QStringLiteral("/Tle"), ElementFileFilter());
  if (!file.isEmpty()) LoadElementFile(file);
}

void TTrackingCommands::LoadElementFile(const QString& file) {
  if (busyStarts) busyStarts();
  // The user's tracked list outlives the file; only when nothing is tracked do the numbers
  // of the settings last loaded or saved choose what to track.
  int lacking = 0;
  if (tracker_.list.TrackedCount > 0) {
    tracker_.list.TleFileName = StoredFileName(file.toStdString(), programFolder_.toStdString());
    ReadKeepingTracked(&lacking);
  } else {
    ReadElementFile(file);
  }
  tracker_.Recompute();
  TellElementAge();
  TellLacking(lacking);
  if (busyEnds) busyEnds();
}

void TTrackingCommands::TellElementAge() {
  const QString warning =
      QString::fromStdString(TrackedElementAgeWarning(tracker_.list, tracker_.time.NowUtc));
  // The word on the elements loaded before no longer holds once others are loaded.
  if (warning != ageWarning_) footer_.Withdraw(kFooterAlert, ageWarning_);
  ageWarning_ = warning;
  if (!warning.isEmpty()) footer_.SendToFooter(kFooterAlert, warning);
}

void TTrackingCommands::OfferUpdate() {
  QString offer = QString::fromStdString(UpdateOffer(tracker_.list, tracker_.time.NowUtc));
  if (offer.isEmpty()) return;
  // Said together with the tracked satellites' age, so neither hides the other.
  if (!ageWarning_.isEmpty()) {
    ageWarning_ += QStringLiteral(" - ") + QString::fromLatin1(kUpdateHint);
    offer = ageWarning_;
  }
  footer_.SendToFooter(kFooterAlert, offer);
}

void TTrackingCommands::ReadElementFile(const QString& file) {
  tracker_.list.TleFileName = StoredFileName(file.toStdString(), programFolder_.toStdString());
  ReloadCatalogue();
}

void TTrackingCommands::ReloadCatalogue() {
  std::string error;
  TTrackedView view = tracker_.list.zapodawajSatelity(programFolder_.toStdString(), &error);
  if (lists_ != nullptr) lists_->ShowCatalog(view);
  TellReadProblem(error);
}

void TTrackingCommands::ReloadKeepingTracked() {
  if (busyStarts) busyStarts();
  int lacking = 0;
  ReadKeepingTracked(&lacking);
  tracker_.Recompute();
  TellElementAge();
  TellLacking(lacking);
  if (busyEnds) busyEnds();
}

void TTrackingCommands::ReadKeepingTracked(int* lacking) {
  std::string error;
  TTrackedView view =
      tracker_.list.ReloadKeepingTracked(programFolder_.toStdString(), &error, lacking);
  if (lists_ != nullptr) lists_->ShowCatalog(view);
  TellReadProblem(error);
}

void TTrackingCommands::TellReadProblem(const std::string& error) {
  const QString file = LoadedFile();
  // An empty catalogue is what a missing or unreadable file gives; the alert says why.
  if (!error.empty()) {
    footer_.SendToFooter(kFooterAlert, QString::fromStdString(error));
  } else if (!file.isEmpty() && !QFileInfo::exists(file)) {
    footer_.SendToFooter(kFooterAlert, QStringLiteral("Element file not found: ") + file);
  }
}

void TTrackingCommands::TellLacking(int lacking) {
  if (lacking <= 0) return;
  const int before = tracker_.list.TrackedCount + lacking;
  footer_.SendToFooter(kFooterAlert, QStringLiteral("%1 of %2 tracked satellites are not in %3")
                                         .arg(lacking)
                                         .arg(before)
                                         .arg(QFileInfo(LoadedFile()).fileName()));
}

QString TTrackingCommands::LoadedFile() const {
  const std::string& stored = tracker_.list.TleFileName;
  if (stored.empty()) return {};
  return QString::fromStdString(ExpandFileName(stored, programFolder_.toStdString()).string());
}

void TTrackingCommands::AddTr(bool all, bool activate, int position) {
  TSelection loaded = lists_ != nullptr ? lists_->LoadedSelection() : TSelection{};
  TTrackedView view = tracker_.list.AddTr(all, activate, position, loaded);
  if (lists_ != nullptr) {
    lists_->SetLoadedSelection(loaded);
    if (view.focusedRow < 0) view.selection = lists_->TrackedSelection();
    lists_->ShowTracked(view);
  }
  tracker_.Recompute();
}

void TTrackingCommands::RemoveTr(bool all, bool keepSelected, int position) {
  TSelection tracked = lists_ != nullptr ? lists_->TrackedSelection() : TSelection{};
  TTrackedView view = tracker_.list.RemoveTr(all, keepSelected, position, tracked);
  if (lists_ != nullptr) lists_->ShowTracked(view);
  tracker_.Recompute();
}

void TTrackingCommands::ReplaceTracked(bool all) {
  tracker_.list.RemoveTr(true, false, 0, {});
  AddTr(all, false, 0);
}

void TTrackingCommands::ShowNext(bool backwards) {
  tracker_.list.ShowNext(backwards);
  tracker_.Recompute();
}

void TTrackingCommands::ClickTracked(int row) {
  if (tracker_.list.TrackedCount == 0) return;
  tracker_.list.ClickTracked(row);
  tracker_.Recompute();
}

void TTrackingCommands::SetActive(int position) {
  TSatelliteList& list = tracker_.list;
  list.ActiveSat = position >= 0 && position <= list.TrackedCount ? position : 0;
  if (lists_ != nullptr) lists_->ShowTracked(list.TrackedTabView());
  tracker_.Recompute();
}

}  // namespace zen
