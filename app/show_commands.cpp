// Every command on what the map and the radar show: the "Show" options, "Sat on track" with
// its two automatic options, the radar mode and the radar's options, and the tool-tip hints.
#include "app/show_commands.h"

#include <QEvent>

#include "app/actions.h"
#include "display/pointer.h"

namespace zen {

TShowCommands::TShowCommands(TTracker& tracker, QObject* parent)
    : QObject(parent), tracker_(tracker) {
  sun = AddOption("Sun", &TShowOptions::sun);
  solarIllumination = AddOption("Solar illumination", &TShowOptions::solarIllumination);
  grid = AddOption("Grid", &TShowOptions::grid);
  hints = AddOption("Hints", &TShowOptions::hints);
  satSymbols = AddOption("Sat Symbols", &TShowOptions::satSymbols);
  satColors = AddOption("Sat Colors", &TShowOptions::satColors);
  satNames = AddOption("Sat Names", &TShowOptions::satNames);
  trackLine = AddOption("Track Line", &TShowOptions::trackLine);
  trackMarkers = AddOption("Track Markers", &TShowOptions::trackMarkers);
  visibleZone = AddOption("Visible Zone", &TShowOptions::visibleZone);
  moon = AddOption("Moon", &TShowOptions::moon);
  middleAfterGoToMarker =
      AddOption("Mid. after go to marker", &TShowOptions::middleAfterGoToMarker);
  beginAfterReturnToRt = AddOption("Beg. after return to RT", &TShowOptions::beginAfterReturnToRt);
  radarNames = AddOption("Names", &TShowOptions::radarNames);
  radarTrack = AddOption("Track", &TShowOptions::radarTrack);
  radarMarkers = AddOption("Markers", &TShowOptions::radarMarkers);

  satOnTrackGroup = new QActionGroup(this);
  const char* positions[] = {"Begin", "Middle", "End"};
  for (size_t i = 0; i < satOnTrack.size(); ++i) {
    satOnTrack[i] = AddChoice(satOnTrackGroup, QString::fromLatin1(positions[i]));
  }
  connect(satOnTrackGroup, &QActionGroup::triggered, this,
          [this](QAction* a) { SetSatOnTrack(static_cast<TSatOnTrack>(a->data().toInt())); });
  radarModeGroup = new QActionGroup(this);
  const char* modes[] = {"On", "Off", "Auto"};
  for (size_t i = 0; i < radarMode.size(); ++i) {
    radarMode[i] = AddChoice(radarModeGroup, QString::fromLatin1(modes[i]));
  }
  connect(radarModeGroup, &QActionGroup::triggered, this,
          [this](QAction* a) { SetRadarState(a->data().toInt()); });

  connect(&tracker_, &TTracker::Changed, this, &TShowCommands::Sync);
  Sync();
}

QAction* TShowCommands::AddOption(const char* caption, bool TShowOptions::*option) {
  auto* action = new QAction(QString::fromLatin1(caption), this);
  action->setCheckable(true);
  connect(action, &QAction::triggered, this, [this, option](bool on) { SetOption(option, on); });
  options_.push_back({action, option});
  return action;
}

void TShowCommands::Sync() {
  const TShowOptions& show = tracker_.show;
  for (const TBoolOption& o : options_) o.action->setChecked(show.*(o.option));
  satOnTrack[static_cast<size_t>(show.satOnTrack)]->setChecked(true);
  radarMode[static_cast<size_t>(show.radarMode)]->setChecked(true);
}

void TShowCommands::SetOption(bool TShowOptions::*option, bool on) {
  tracker_.show.*option = on;
  if (option == &TShowOptions::hints) {
    Sync();
    return;
  }
  tracker_.Recompute();
}

void TShowCommands::SetSatOnTrack(TSatOnTrack position) {
  tracker_.show.satOnTrack = position;
  tracker_.Recompute();
}

void TShowCommands::StepSatOnTrack() {
  SetSatOnTrack(static_cast<TSatOnTrack>((static_cast<int>(tracker_.show.satOnTrack) + 1) % 3));
}

void TShowCommands::SetRadarState(int mode) {
  tracker_.show.radarMode = RadarModeFromIndex(mode);
  tracker_.Recompute();
}

void TShowCommands::StepRadarMode() {
  SetRadarState(static_cast<int>(NextRadarMode(tracker_.show.radarMode)));
}

bool TShowCommands::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ToolTip && !tracker_.show.hints) return true;
  return QObject::eventFilter(watched, event);
}

}  // namespace zen
