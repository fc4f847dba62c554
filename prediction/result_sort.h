// The sort at the end of a search: the results table's events in order of their time text.
#pragma once

#include <atomic>
#include <functional>

#include "prediction/search.h"

namespace zen {

// What the sort needs besides the rows: how rows make up one event, where to stop and where
// to report how far it got.
struct TSortControl {
  int rowsPerEvent = 1;  // 1, or 4 for full pass output (rise, culmination, set, empty)
  int keyRow = 0;        // the row of an event that holds its key (the culmination: 1)
  const std::atomic<bool>* terminate = nullptr;
  std::function<void(int percent)> progress;
};

// Sorts the first count events of rows by the time text of their key rows, compared as plain
// strings, moving each event's rows together. Returns false when a terminate stopped it (the
// rows are then left as far as it got). Fewer than two events report 100 at once.
bool SortResults(TResultRows& rows, int count, const TSortControl& control);

}  // namespace zen
