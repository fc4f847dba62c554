// The "Options" page: the "Show", "Sat on track", "Radar" and "Auto 'Sat on track'" groups.
#include "app/options_page.h"

#include <QButtonGroup>
#include <QGroupBox>

namespace zen {

namespace {

QCheckBox* Check(QWidget* parent, const char* caption, int x, int y, int w = 100) {
  auto* c = new QCheckBox(QString::fromUtf8(caption), parent);
  c->setGeometry(x, y, w, 20);
  return c;
}

}  // namespace

TOptionsPage::TOptionsPage(TShowOptions& options, QWidget* parent)
    : QWidget(parent), options_(options) {
  auto* show = new QGroupBox(QStringLiteral("Show"), this);
  show->setGeometry(4, 2, 226, 126);
  sun = Check(show, "Sun", 8, 18);
  satNames = Check(show, "Sat names", 8, 38);
  grid = Check(show, "Grid", 8, 58);
  trackLine = Check(show, "Track line", 8, 78);
  visibleZone = Check(show, "Visible zone", 8, 98);
  solarIllumination = Check(show, "Solar illum.", 116, 18);
  hints = Check(show, "Hints", 116, 38);
  trackMarkers = Check(show, "Track markers", 116, 58);
  satSymbols = Check(show, "Sat symbols", 116, 78);
  satColors = Check(show, "Sat colors", 116, 98);

  auto* onTrack = new QGroupBox(QStringLiteral("Sat on track"), this);
  onTrack->setGeometry(236, 2, 100, 84);
  onTrack->setToolTip(QStringLiteral("Satellite position on the track (F10)"));
  const char* positions[] = {"Begin", "Middle", "End"};
  auto* onTrackGroup = new QButtonGroup(this);
  for (int i = 0; i < 3; ++i) {
    satOnTrack[static_cast<size_t>(i)] = new QRadioButton(QString::fromUtf8(positions[i]), onTrack);
    satOnTrack[static_cast<size_t>(i)]->setGeometry(8, 18 + 20 * i, 86, 20);
    onTrackGroup->addButton(satOnTrack[static_cast<size_t>(i)], i);
  }

  auto* radar = new QGroupBox(QStringLiteral("Radar"), this);
  radar->setGeometry(342, 2, 160, 84);
  radarNames = Check(radar, "Names", 8, 18, 70);
  radarTrack = Check(radar, "Track", 8, 38, 70);
  radarMarkers = Check(radar, "Markers", 8, 58, 70);
  // Numbered by mode: 0 "On", 1 "Off", 2 "Auto"; shown in the order On, Auto, Off.
  auto* modes = new QButtonGroup(this);
  const char* modeNames[] = {"On", "Off", "Auto"};
  const int rows[] = {0, 2, 1};
  for (int m = 0; m < 3; ++m) {
    radarMode[static_cast<size_t>(m)] = new QRadioButton(QString::fromUtf8(modeNames[m]), radar);
    radarMode[static_cast<size_t>(m)]->setGeometry(86, 18 + 20 * rows[m], 66, 20);
    modes->addButton(radarMode[static_cast<size_t>(m)], m);
  }

  auto* autoOnTrack = new QGroupBox(QStringLiteral("Auto 'Sat on track'"), this);
  autoOnTrack->setGeometry(236, 90, 266, 66);
  middleAfterGoToMarker = Check(autoOnTrack, "Mid. after go to marker", 8, 18, 250);
  beginAfterReturnToRt = Check(autoOnTrack, "Beg. after return to RT", 8, 40, 250);

  SyncFromOptions();

  auto bind = [this](QCheckBox* box, bool TShowOptions::*field, bool radarControl) {
    connect(box, &QCheckBox::toggled, this, [this, field, radarControl](bool on) {
      options_.*field = on;
      if (syncing_) return;
      if (radarControl) {
        emit RadarChanged();
      } else {
        emit RefrAfterChg();
      }
    });
  };
  bind(sun, &TShowOptions::sun, false);
  bind(satNames, &TShowOptions::satNames, false);
  bind(grid, &TShowOptions::grid, false);
  bind(trackLine, &TShowOptions::trackLine, false);
  bind(visibleZone, &TShowOptions::visibleZone, false);
  bind(solarIllumination, &TShowOptions::solarIllumination, false);
  bind(trackMarkers, &TShowOptions::trackMarkers, false);
  bind(satSymbols, &TShowOptions::satSymbols, false);
  bind(satColors, &TShowOptions::satColors, false);
  bind(middleAfterGoToMarker, &TShowOptions::middleAfterGoToMarker, false);
  bind(beginAfterReturnToRt, &TShowOptions::beginAfterReturnToRt, false);
  bind(radarNames, &TShowOptions::radarNames, true);
  bind(radarTrack, &TShowOptions::radarTrack, true);
  bind(radarMarkers, &TShowOptions::radarMarkers, true);
  connect(hints, &QCheckBox::toggled, this, [this](bool on) {
    options_.hints = on;
    if (!syncing_) emit HintsToggled(on);
  });
  connect(onTrackGroup, &QButtonGroup::idClicked, this, [this](int id) {
    options_.satOnTrack = static_cast<TSatOnTrack>(id);
    emit RefrAfterChg();
  });
  connect(modes, &QButtonGroup::idClicked, this, [this](int id) {
    options_.radarMode = static_cast<TRadarMode>(id);
    emit RadarChanged();
  });
}

void TOptionsPage::SyncFromOptions() {
  syncing_ = true;
  sun->setChecked(options_.sun);
  satNames->setChecked(options_.satNames);
  grid->setChecked(options_.grid);
  trackLine->setChecked(options_.trackLine);
  visibleZone->setChecked(options_.visibleZone);
  solarIllumination->setChecked(options_.solarIllumination);
  hints->setChecked(options_.hints);
  trackMarkers->setChecked(options_.trackMarkers);
  satSymbols->setChecked(options_.satSymbols);
  satColors->setChecked(options_.satColors);
  satOnTrack[static_cast<size_t>(options_.satOnTrack)]->setChecked(true);
  radarNames->setChecked(options_.radarNames);
  radarTrack->setChecked(options_.radarTrack);
  radarMarkers->setChecked(options_.radarMarkers);
  radarMode[static_cast<size_t>(options_.radarMode)]->setChecked(true);
  middleAfterGoToMarker->setChecked(options_.middleAfterGoToMarker);
  beginAfterReturnToRt->setChecked(options_.beginAfterReturnToRt);
  syncing_ = false;
}

void TOptionsPage::SetRadarState(int mode) {
  if (mode < 0 || mode > 2) mode = 0;
  options_.radarMode = static_cast<TRadarMode>(mode);
  radarMode[static_cast<size_t>(mode)]->setChecked(true);
}

int TOptionsPage::GetRadarState() const { return static_cast<int>(options_.radarMode); }

}  // namespace zen
