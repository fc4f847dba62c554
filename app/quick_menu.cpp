// The quick menu: the owners' actions in the documented order, opened from the quick-menu
// button in the side panel's corner.
#include "app/quick_menu.h"

#include <algorithm>

namespace zen {

namespace {

void AddGroup(QMenu* menu, const QActionGroup* group) {
  for (QAction* action : group->actions()) menu->addAction(action);
}

// An entry that shows a key beside its caption; the key itself belongs to the key table.
QAction* AddWithKey(QMenu* menu, QAction* action, const char* caption, const char* key) {
  auto* entry =
      menu->addAction(QString::fromLatin1(caption) + QLatin1Char('\t') + QString::fromLatin1(key));
  QObject::connect(entry, &QAction::triggered, action, &QAction::trigger);
  return entry;
}

// A submenu's own entry is enabled exactly while one of its entries is; a submenu of
// submenus follows theirs. Every entry's change (a command that waits for simulation, say)
// reaches the entries above it at once.
void EnableByEntries(QMenu* menu) {
  const QList<QAction*> entries = menu->actions();
  menu->menuAction()->setEnabled(std::any_of(entries.begin(), entries.end(), [](QAction* a) {
    return !a->isSeparator() && a->isVisible() && a->isEnabled();
  }));
}

void FollowEntries(QMenu* menu) {
  for (QAction* entry : menu->actions()) {
    if (QMenu* submenu = entry->menu()) FollowEntries(submenu);
    QObject::connect(entry, &QAction::changed, menu, [menu] { EnableByEntries(menu); });
  }
  EnableByEntries(menu);
}

}  // namespace

TQuickMenu::TQuickMenu(TTrackingCommands& tracking, TUpdateCommands& update,
                       TStationCommands& station, TSettingsCommands& settings, TTimeCommands& time, TShowCommands& show,
                       TWindowCommands& window, QWidget* parent)
    : QMenu(parent) {
  setObjectName(QStringLiteral("quickMenu"));
  addAction(tracking.loadTle);
  addAction(update.updateElements);
  AddWithKey(this, station.openStation, "Station...", "Ctrl+R");
  addAction(settings.loadSettings);
  addAction(settings.saveSettings);
  addSeparator();

  timeMenu = addMenu(QStringLiteral("Time"));
  AddGroup(timeMenu, time.modes);
  timeMenu->addSeparator();
  AddGroup(timeMenu, time.scales);
  timeMenu->addSeparator();
  AddGroup(timeMenu->addMenu(QStringLiteral("Interval Multiplexer")), time.multipliers);
  AddGroup(timeMenu->addMenu(QStringLiteral("Interval Units")), time.units);
  timeMenu->addSeparator();
  AddGroup(timeMenu, time.automatic);
  timeMenu->addSeparator();
  timeMenu->addAction(time.timePanel);

  optionsMenu = addMenu(QStringLiteral("Options"));
  QMenu* onTrack = optionsMenu->addMenu(QStringLiteral("Sat On Track"));
  AddGroup(onTrack, show.satOnTrackGroup);
  onTrack->addSeparator();
  onTrack->addActions({show.middleAfterGoToMarker, show.beginAfterReturnToRt});
  optionsMenu->addMenu(QStringLiteral("Show"))
      ->addActions({show.sun, show.solarIllumination, show.grid, show.hints, show.satSymbols,
                    show.satColors, show.satNames, show.trackLine, show.trackMarkers,
                    show.visibleZone, show.moon});
  QMenu* radar = optionsMenu->addMenu(QStringLiteral("Radar"));
  AddGroup(radar, show.radarModeGroup);
  radar->addSeparator();
  radar->addActions({show.radarNames, show.radarTrack, show.radarMarkers});

  addMenu(QStringLiteral("Start Tracking"))
      ->addActions({tracking.addSelected, tracking.addSelectedAndActivate, tracking.addAll,
                    tracking.replaceWithSelected, tracking.replaceWithAll});
  addMenu(QStringLiteral("Stop Tranking"))
      ->addActions({tracking.removeSelected, tracking.removeAll, tracking.crop});
  addSeparator();
  addMenu(QStringLiteral("Screen shot"))
      ->addActions({window.screenShotWhole, window.screenShotMap});
  AddWithKey(this, window.help, "Help", "Alt+F1");
  AddWithKey(this, window.minimize, "Minimalize", "Alt+F3");
  AddWithKey(this, window.fullScreen, "Full screen", "Shift+F11");
  AddWithKey(this, window.exit, "Exit", "Alt+F4");

  for (QAction* entry : actions()) {
    if (QMenu* submenu = entry->menu()) FollowEntries(submenu);
  }
}

void TQuickMenu::OpenBeside(const QWidget& button) {
  // The owners keep every mark and enabled state with the model, so the menu opens current.
  popup(button.mapToGlobal(QPoint(button.width(), 0)));
}

}  // namespace zen
