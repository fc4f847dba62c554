// The quick menu: the owners' actions in the documented order, opened from the quick-menu
// button in the side panel's corner.
#pragma once

#include <QMenu>
#include <QToolButton>

#include "app/settings_commands.h"
#include "app/show_commands.h"
#include "app/station_commands.h"
#include "app/time_commands.h"
#include "app/tracking_commands.h"
#include "app/update_commands.h"
#include "app/window_commands.h"

namespace zen {

class TQuickMenu : public QMenu {
  Q_OBJECT

 public:
  TQuickMenu(TTrackingCommands& tracking, TUpdateCommands& update, TStationCommands& station,
             TSettingsCommands& settings, TTimeCommands& time, TShowCommands& show,
             TWindowCommands& window, QWidget* parent = nullptr);

  // QuickMenu: the marks up to date, the menu's top-left corner at the button's top-right.
  void OpenBeside(const QWidget& button);

  // The submenus by caption, for tests and the help pages.
  QMenu* timeMenu;
  QMenu* optionsMenu;
};

}  // namespace zen
