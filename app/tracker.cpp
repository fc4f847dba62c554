// The tracker's model in one object, and the one notification that every page follows.
#include "app/tracker.h"

#include <utility>

namespace zen {

TTracker::TTracker(std::function<TDateRec()> clock, QObject* parent)
    : QObject(parent), clock_(std::move(clock)) {
  if (!clock_) clock_ = [] { return NowDateRec(); };
  SetSite(DefaultSite());
}

void TTracker::SetSite(const TSite& site) {
  site_ = site;
  observer_ = UstawLokacje(site_);
}

void TTracker::PobierzCzas() {
  time.PobierzCzas(clock_());
}

void TTracker::LiczWszo() {
  cycle.LiczWszo(time.NowUtc, observer_, list, time, show);
}

void TTracker::Recompute() {
  LiczWszo();
  emit Changed();
}

void TTracker::ZmianaCzasu() {
  PobierzCzas();
  Recompute();
}

}  // namespace zen
