// The "Options" page: the "Show", "Sat on track", "Radar" and "Auto 'Sat on track'" groups.
#pragma once

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>
#include <array>

#include "app/settings_commands.h"
#include "app/show_commands.h"

namespace zen {

class TOptionsPage : public QWidget {
  Q_OBJECT

 public:
  // Every control shows and runs an action of commands or settings.
  TOptionsPage(TShowCommands& commands, TSettingsCommands& settings, QWidget* parent = nullptr);

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
  QCheckBox* moon;                            // below the "Show" group
  std::array<QRadioButton*, 3> satOnTrack{};  // "Begin", "Middle", "End"
  QCheckBox* radarNames;
  QCheckBox* radarTrack;
  QCheckBox* radarMarkers;
  std::array<QRadioButton*, 3> radarMode{};  // "On", "Off", "Auto" by mode number
  QCheckBox* middleAfterGoToMarker;
  QCheckBox* beginAfterReturnToRt;
  QPushButton* loadSettings;
  QPushButton* saveSettings;
  QCheckBox* autoSave;
};

}  // namespace zen
