// The "Options" page: the "Show", "Sat on track", "Radar" and "Auto 'Sat on track'" groups.
#pragma once

#include <QCheckBox>
#include <QRadioButton>
#include <QWidget>
#include <array>

#include "tracking/options.h"

namespace zen {

class TOptionsPage : public QWidget {
  Q_OBJECT

 public:
  TOptionsPage(TShowOptions& options, QWidget* parent = nullptr);

  // Sets every control from the options without running their handlers.
  void SyncFromOptions();

  // The radar mode's three radio buttons; any mode above 2 reads as "On".
  void SetRadarState(int mode);
  int GetRadarState() const;

  QCheckBox* sun;
  QCheckBox* satNames;
  QCheckBox* grid;
  QCheckBox* trackLine;
  QCheckBox* visibleZone;
  QCheckBox* solarIllumination;
  QCheckBox* hints;
  QCheckBox* trackMarkers;
  QCheckBox* satSymbols;
  QCheckBox* satColors;
  std::array<QRadioButton*, 3> satOnTrack{};  // "Begin", "Middle", "End"
  QCheckBox* radarNames;
  QCheckBox* radarTrack;
  QCheckBox* radarMarkers;
  std::array<QRadioButton*, 3> radarMode{};  // "On", "Off", "Auto" by mode number
  QCheckBox* middleAfterGoToMarker;
  QCheckBox* beginAfterReturnToRt;

 signals:
  // A "Show" option, "Sat on track" or an "Auto 'Sat on track'" box changed: recompute, redraw.
  void RefrAfterChg();
  // A radar control changed: recompute and redraw (the radar with it).
  void RadarChanged();
  void HintsToggled(bool on);

 private:
  TShowOptions& options_;
  bool syncing_ = false;
};

}  // namespace zen
