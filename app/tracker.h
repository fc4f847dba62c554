// The tracker's model in one object, and the one notification that every page follows.
#pragma once

#include <QObject>
#include <functional>

#include "core/observer.h"
#include "tracking/compute_cycle.h"
#include "tracking/options.h"
#include "tracking/satellite_list.h"
#include "tracking/settings.h"
#include "tracking/site.h"
#include "tracking/time_control.h"

namespace zen {

inline constexpr std::array<int, 6> kRefreshSeconds = {1, 5, 10, 20, 30, 60};
// "Refresh" starts at "5" s until the settings say otherwise.
inline constexpr int kDefaultRefreshIndex = 1;

// The window's own choices that belong with the model because the settings keep them and
// several controls show them.
struct TViewChoices {
  int refreshIndex = kDefaultRefreshIndex;
  bool timePanelShown = true;
  bool timePanelAltView = false;
};

// Every command owner changes these objects and then calls Recompute, ZmianaCzasu or
// ShowTimeAgain; pages and pictures follow the signals and read the model, never a copy.
class TTracker : public QObject {
  Q_OBJECT

 public:
  // clock reads the machine's local clock.
  explicit TTracker(std::function<TDateRec()> clock, QObject* parent = nullptr);

  TSatelliteList list;
  TTimeControl time;
  TComputeCycle cycle;
  TShowOptions show;
  TViewChoices view;
  TPredictionOptions prediction;
  // The location database the settings name; the site itself is Site().
  std::string locationFile = TSettings().locationFile;

  const TSite& Site() const { return site_; }
  const TGeodetic& Observer() const { return observer_; }
  // Makes a site current (UstawLokacje) without recomputing.
  void SetSite(const TSite& site);

  void PobierzCzas();
  void LiczWszo();
  // RefrAfterChg: recompute for the moment in use and refresh everything.
  void Recompute();
  // The moment changed: fetch the time, compute, refresh everything.
  void ZmianaCzasu();
  // Only the time texts need drawing again.
  void ShowTimeAgain() { emit TimeShown(); }

 signals:
  // The model changed and the cycle has been computed for it: redraw and refresh every page.
  void Changed();
  // The time display (clock, scale, automatic state) changed; positions did not.
  void TimeShown();

 private:
  std::function<TDateRec()> clock_;
  TSite site_;
  TGeodetic observer_;
};

}  // namespace zen
