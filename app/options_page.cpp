// The "Options" page: the "Show", "Sat on track", "Radar" and "Auto 'Sat on track'" groups.
#include "app/options_page.h"

#include "app/actions.h"
#include "app/page_spread.h"

#include <QGroupBox>

namespace zen {

namespace {

QCheckBox* Check(QWidget* parent, const char* caption, int x, int y, int w = 100) {
  auto* c = new QCheckBox(QString::fromUtf8(caption), parent);
  c->setGeometry(x, y, w, 20);
  return c;
}

}  // namespace

TOptionsPage::TOptionsPage(TShowCommands& commands, TSettingsCommands& settings, QWidget* parent)
    : QWidget(parent) {
  auto* show = new QGroupBox(QStringLiteral("Show"), this);
  show->setGeometry(4, 2, 226, 126);
  sun = Check(show, "Sun", 8, 18);
  satNames = Check(show, "Sat names", 8, 38);
  grid = Check(show, "Grid", 8, 58);
  trackLine = Check(show, "Track line", 8, 78);
  visibleZone = Check(show, "Visible zone", 8, 98);
  solarIllumination = Check(show, "Solar illum.", 112, 18, 110);
  hints = Check(show, "Hints", 112, 38, 110);
  trackMarkers = Check(show, "Track markers", 112, 58, 110);
  satSymbols = Check(show, "Sat symbols", 112, 78, 110);
  satColors = Check(show, "Sat colors", 112, 98, 110);
  // The group holds no more rows at the smallest window, so the Moon goes just below it, in a
  // strip as wide as the group and on its left edge: the page's spreading moves the two alike
  // and the box stays in line with the group's left column at any width.
  auto* belowShow = new QWidget(this);
  belowShow->setGeometry(show->x(), show->geometry().bottom() + 3, show->width(), 20);
  moon = Check(belowShow, "Moon", 8, 0);
  moon->setToolTip(
      QStringLiteral("The Moon in its phase on the map, the radar and the pass details"));

  auto* onTrack = new QGroupBox(QStringLiteral("Sat on track"), this);
  onTrack->setGeometry(236, 2, 100, 84);
  onTrack->setToolTip(QStringLiteral("Satellite position on the track (F10)"));
  const char* positions[] = {"Begin", "Middle", "End"};
  for (int i = 0; i < 3; ++i) {
    satOnTrack[static_cast<size_t>(i)] = new QRadioButton(QString::fromUtf8(positions[i]), onTrack);
    satOnTrack[static_cast<size_t>(i)]->setGeometry(8, 18 + 20 * i, 86, 20);
    BindButton(satOnTrack[static_cast<size_t>(i)], commands.satOnTrack[static_cast<size_t>(i)]);
  }

  auto* radar = new QGroupBox(QStringLiteral("Radar"), this);
  radar->setGeometry(342, 2, 160, 84);
  radarNames = Check(radar, "Names", 8, 18, 76);
  radarTrack = Check(radar, "Track", 8, 38, 76);
  radarMarkers = Check(radar, "Markers", 8, 58, 76);
  // Numbered by mode: 0 "On", 1 "Off", 2 "Auto"; shown in the order On, Auto, Off.
  const char* modeNames[] = {"On", "Off", "Auto"};
  const int rows[] = {0, 2, 1};
  for (int m = 0; m < 3; ++m) {
    radarMode[static_cast<size_t>(m)] = new QRadioButton(QString::fromUtf8(modeNames[m]), radar);
    radarMode[static_cast<size_t>(m)]->setGeometry(86, 18 + 20 * rows[m], 66, 20);
    BindButton(radarMode[static_cast<size_t>(m)], commands.radarMode[static_cast<size_t>(m)]);
  }

  auto* autoOnTrack = new QGroupBox(QStringLiteral("Auto 'Sat on track'"), this);
  autoOnTrack->setGeometry(236, 90, 266, 66);
  middleAfterGoToMarker = Check(autoOnTrack, "Mid. after go to marker", 8, 18, 250);
  beginAfterReturnToRt = Check(autoOnTrack, "Beg. after return to RT", 8, 40, 250);

  auto* settingsGroup = new QGroupBox(QStringLiteral("Settings"), this);
  settingsGroup->setGeometry(506, 2, 94, 100);
  loadSettings = new QPushButton(QStringLiteral("Load..."), settingsGroup);
  loadSettings->setGeometry(8, 18, 78, 24);
  loadSettings->setToolTip(QStringLiteral("Load settings from file"));
  saveSettings = new QPushButton(QStringLiteral("Save..."), settingsGroup);
  saveSettings->setGeometry(8, 46, 78, 24);
  saveSettings->setToolTip(QStringLiteral("Save settings to file"));
  autoSave = Check(settingsGroup, "Auto save", 4, 74, 88);
  autoSave->setToolTip(QStringLiteral("Auto save settings when exit Zenarith"));
  BindButton(loadSettings, settings.loadSettings);
  BindButton(saveSettings, settings.saveSettings);
  BindButton(autoSave, settings.autoSave);

  const std::pair<QCheckBox*, QAction*> boxes[] = {
      {sun, commands.sun},
      {satNames, commands.satNames},
      {grid, commands.grid},
      {trackLine, commands.trackLine},
      {visibleZone, commands.visibleZone},
      {solarIllumination, commands.solarIllumination},
      {hints, commands.hints},
      {trackMarkers, commands.trackMarkers},
      {satSymbols, commands.satSymbols},
      {satColors, commands.satColors},
      {moon, commands.moon},
      {radarNames, commands.radarNames},
      {radarTrack, commands.radarTrack},
      {radarMarkers, commands.radarMarkers},
      {middleAfterGoToMarker, commands.middleAfterGoToMarker},
      {beginAfterReturnToRt, commands.beginAfterReturnToRt},
  };
  for (const auto& [box, action] : boxes) BindButton(box, action);
  new TPageSpread(*this);
}

}  // namespace zen
