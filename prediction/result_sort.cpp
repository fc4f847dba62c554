// A quicksort that reports its progress by the outer levels of its recursion.
#include "prediction/result_sort.h"

#include <array>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace zen {

namespace {

// The four outermost levels of the recursion report progress: a finished call at level d
// is worth 100 / 2^d percent of the whole.
constexpr int kReportedLevels = 4;
constexpr std::array<double, kReportedLevels> kLevelWeights = {100.0, 50.0, 25.0, 12.5};

class TQuickSort {
 public:
  TQuickSort(TResultRows& rows, int count, const TSortControl& control)
      : rows_(rows), control_(control) {
    keys_.reserve(static_cast<size_t>(count));
    for (int item = 0; item < count; ++item) {
      const std::optional<TFound>& row = rows_[RowOf(item) + static_cast<size_t>(control.keyRow)];
      keys_.push_back(row ? DateRecToText(row->time) : std::string());
    }
  }

  // False when stopped by a terminate.
  bool Sort(int lo, int hi, int depth) {
    int i = lo;
    int j = hi;
    const std::string pivot = keys_[static_cast<size_t>((lo + hi) / 2)];
    do {
      while (keys_[static_cast<size_t>(i)] < pivot) ++i;
      while (keys_[static_cast<size_t>(j)] > pivot) --j;
      if (i <= j) {
        Exchange(i, j);
        ++i;
        --j;
      }
    } while (i <= j);
    if (control_.terminate != nullptr && control_.terminate->load()) return false;
    if (lo < j && !Sort(lo, j, depth + 1)) return false;
    if (i < hi && !Sort(i, hi, depth + 1)) return false;
    if (depth < kReportedLevels) ReportLevel(depth);
    return true;
  }

 private:
  size_t RowOf(int item) const {
    return static_cast<size_t>(item) * static_cast<size_t>(control_.rowsPerEvent);
  }

  void Exchange(int a, int b) {
    if (a == b) return;
    std::swap(keys_[static_cast<size_t>(a)], keys_[static_cast<size_t>(b)]);
    // An event's rows move together; a full output's empty row stays where it is.
    const int moved = control_.rowsPerEvent == 1 ? 1 : 3;
    for (int r = 0; r < moved; ++r) {
      std::swap(rows_[RowOf(a) + static_cast<size_t>(r)], rows_[RowOf(b) + static_cast<size_t>(r)]);
    }
  }

  void ReportLevel(int depth) {
    const size_t d = static_cast<size_t>(depth);
    ++levelCounts_[d];
    for (size_t deeper = d + 1; deeper < levelCounts_.size(); ++deeper) levelCounts_[deeper] = 0;
    double percent = 0.0;
    for (size_t level = 0; level <= d; ++level)
      percent += levelCounts_[level] * kLevelWeights[level];
    if (control_.progress) control_.progress(static_cast<int>(std::lround(percent)));
  }

  TResultRows& rows_;
  const TSortControl& control_;
  std::vector<std::string> keys_;
  std::array<int, kReportedLevels> levelCounts_{};
};

}  // namespace

bool SortResults(TResultRows& rows, int count, const TSortControl& control) {
  if (count < 2) {
    if (control.progress) control.progress(100);
    return true;
  }
  TQuickSort sort(rows, count, control);
  return sort.Sort(0, count - 1, 0);
}

}  // namespace zen
