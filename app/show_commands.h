// Every command on what the map and the radar show: the "Show" options, "Sat on track" with
// its two automatic options, the radar mode and the radar's options, and the tool-tip hints.
#pragma once

#include <QAction>
#include <QActionGroup>
#include <QObject>
#include <array>

#include "app/tracker.h"

namespace zen {

class TShowCommands : public QObject {
  Q_OBJECT

 public:
  explicit TShowCommands(TTracker& tracker, QObject* parent = nullptr);

  // One checkable action per option, captioned as the quick menu shows it.
  QAction* sun;
  QAction* solarIllumination;
  QAction* grid;
  QAction* hints;
  QAction* satSymbols;
  QAction* satColors;
  QAction* satNames;
  QAction* trackLine;
  QAction* trackMarkers;
  QAction* visibleZone;
  QAction* moon;
  QAction* middleAfterGoToMarker;
  QAction* beginAfterReturnToRt;
  QAction* radarNames;
  QAction* radarTrack;
  QAction* radarMarkers;
  // Checked by index: "Begin", "Middle", "End"; radar modes "On", "Off", "Auto".
  QActionGroup* satOnTrackGroup;
  std::array<QAction*, 3> satOnTrack{};
  QActionGroup* radarModeGroup;
  std::array<QAction*, 3> radarMode{};

  // Sets one option; every option but "Hints" recomputes and redraws.
  void SetOption(bool TShowOptions::*option, bool on);
  void SetSatOnTrack(TSatOnTrack position);
  // "Begin" -> "Middle" -> "End" -> "Begin".
  void StepSatOnTrack();
  // Any mode outside 0..2 reads as "On".
  void SetRadarState(int mode);
  int GetRadarState() const { return static_cast<int>(tracker_.show.radarMode); }
  // "On" -> "Off" -> "Auto" -> "On".
  void StepRadarMode();

  // Tool tips of the whole application are shown only while "Hints" is on.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  TTracker& tracker_;
  struct TBoolOption {
    QAction* action;
    bool TShowOptions::*option;
  };
  std::vector<TBoolOption> options_;

  QAction* AddOption(const char* caption, bool TShowOptions::*option);
  void Sync();
};

}  // namespace zen
