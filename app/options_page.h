// The "Options" page: the "Show", "Sat on track", "Radar" and "Auto 'Sat on track'" groups.
#pragma once

#include <QCheckBox>
#include <QRadioButton>
#include <QWidget>
#include <array>

#include "app/show_commands.h"

namespace zen {

class TOptionsPage : public QWidget {
  Q_OBJECT

 public:
  // Every control shows and runs an action of commands.
  explicit TOptionsPage(TShowCommands& commands, QWidget* parent = nullptr);

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
};

}  // namespace zen
