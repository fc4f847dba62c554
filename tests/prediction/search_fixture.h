// Shared by the search tests: element sets from the reference data, requests and a listener
// that records what a search tells it.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "core/catalog.h"
#include "core/timescale.h"
#include "prediction/search.h"
#include "test_support.h"

namespace zen::test {

// The sets of a reference element file whose names pass keep (all when keep is empty).
inline std::vector<TSearchSatellite> ReferenceSets(
    const std::string& file, const std::function<bool(const std::string&)>& keep = {}) {
  std::vector<TSearchSatellite> sets;
  const std::filesystem::path dir = ReferenceDataDir();
  TCatalog catalog;
  catalog.ReadEverySet(dir / "tle" / file, [&](const std::string& name, const TCatalogSet& set) {
    if (!keep || keep(name)) sets.push_back(SearchSatelliteOf(name, set));
  });
  return sets;
}

// Torun, as the benchmarks use it; the period on the local clock of a UTC+2 zone.
inline TSearchRequest TorunRequest(const TDateRec& startUtc, double hours) {
  TSearchRequest request;
  request.latitudeDeg = 53.0217;
  request.longitudeDeg = 18.6107;
  request.altitudeM = 65.0;
  request.utcOffsetHours = 2.0;
  request.periodStartLocal = UtcToLocal(DateRecToJulian(startUtc), request.utcOffsetHours);
  request.periodEndLocal = request.periodStartLocal + hours / 24.0;
  request.threads = 1;
  return request;
}

struct TRecordedEvent {
  int position = 0;
  TResultRows rows;
  int satelliteCount = 0;
  int totalCount = 0;
};

// Records every call and whether any came from another thread than the one that made it;
// hooks let a test act at a chosen call (set a flag, say).
class TRecordingListener : public TSearchListener {
 public:
  void SatelliteStarted(int position, const std::string& line, int satelliteCount) override {
    Note();
    started.push_back({position, line, satelliteCount});
  }
  void Progress(int satellitePercent, int globalPercent, const std::string& estimate) override {
    Note();
    progress.push_back({satellitePercent, globalPercent});
    estimates.push_back(estimate);
  }
  void EventAdded(int position, const TResultRows& rows, int satelliteCount,
                  int totalCount) override {
    Note();
    events.push_back({position, rows, satelliteCount, totalCount});
    if (onEvent) onEvent();
  }
  void SortStarted(bool interruptedByCancel) override {
    Note();
    sortStarted.push_back(interruptedByCancel);
    if (onSortStarted) onSortStarted();
  }
  void SortProgress(int percent) override {
    Note();
    sortProgress.push_back(percent);
  }

  // The rows of the events as the search found them, satellite after satellite.
  TResultRows RowsInListOrder() const {
    TResultRows rows;
    std::vector<const TRecordedEvent*> ordered;
    for (const TRecordedEvent& e : events) ordered.push_back(&e);
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](auto* a, auto* b) { return a->position < b->position; });
    for (const TRecordedEvent* e : ordered) rows.insert(rows.end(), e->rows.begin(), e->rows.end());
    return rows;
  }

  bool calledFromAnotherThread = false;

  struct TStarted {
    int position = 0;
    std::string line;
    int satelliteCount = 0;
  };
  std::vector<TStarted> started;
  std::vector<std::pair<int, int>> progress;
  std::vector<std::string> estimates;
  std::vector<TRecordedEvent> events;
  std::vector<bool> sortStarted;
  std::vector<int> sortProgress;
  std::function<void()> onEvent;
  std::function<void()> onSortStarted;

 private:
  void Note() {
    if (std::this_thread::get_id() != owner_) calledFromAnotherThread = true;
  }
  std::thread::id owner_ = std::this_thread::get_id();
};

// Rows equal field by field (times to the bit).
inline void ExpectSameRows(const TResultRows& a, const TResultRows& b) {
  ASSERT_EQ(a.size(), b.size());
  for (size_t i = 0; i < a.size(); ++i) {
    SCOPED_TRACE("row " + std::to_string(i));
    ASSERT_EQ(a[i].has_value(), b[i].has_value());
    if (!a[i]) continue;
    EXPECT_EQ(a[i]->time, b[i]->time);
    EXPECT_EQ(a[i]->timeUtc, b[i]->timeUtc);
    EXPECT_EQ(a[i]->sat, b[i]->sat);
    EXPECT_EQ(a[i]->catalogNumber, b[i]->catalogNumber);
    EXPECT_EQ(a[i]->azimuth, b[i]->azimuth);
    EXPECT_EQ(a[i]->elevation, b[i]->elevation);
    EXPECT_EQ(a[i]->range, b[i]->range);
    EXPECT_EQ(a[i]->sunAzimuth, b[i]->sunAzimuth);
    EXPECT_EQ(a[i]->sunElevation, b[i]->sunElevation);
  }
}

}  // namespace zen::test

// A file of the reference data that gave no sets is a fault of the data or of the reader.
#define ZEN_ASSERT_LOADED(sets) ASSERT_FALSE((sets).empty()) << "no element sets read"
