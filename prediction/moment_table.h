// The moments of a stretch of seconds, computed once and shared by every satellite's walk.
#pragma once

#include <cstdint>
#include <vector>

#include "prediction/pass_walk.h"

namespace zen {

class TMomentTable {
 public:
  // withSunRaDec: every moment with the Sun's right ascension and declination (flares).
  explicit TMomentTable(bool withSunRaDec = false) : withSunRaDec_(withSunRaDec) {}

  // Seconds first..last of the period; their moments are stale until filled.
  void Cover(int64_t first, int64_t last);
  // Fills the moments of seconds from..to (within the covered ones). Several threads may fill
  // disjoint stretches at once.
  void Fill(const TGeodetic& observer, const TSearchPeriod& period, int64_t from, int64_t to);
  // The moment of a covered second, or null.
  const TMoment* Find(int64_t second) const {
    if (second < first_ || second > last_) return nullptr;
    return &moments_[static_cast<size_t>(second - first_)];
  }
  int64_t First() const { return first_; }
  int64_t Last() const { return last_; }
  bool WithSunRaDec() const { return withSunRaDec_; }

 private:
  bool withSunRaDec_ = false;
  int64_t first_ = 0;
  int64_t last_ = -1;
  std::vector<TMoment> moments_;
};

// A walk's view of a filled table; a second outside it is computed on the spot, to the same
// numbers.
class TTableMoments : public TMomentSource {
 public:
  TTableMoments(const TMomentTable& table, const TGeodetic& observer, const TSearchPeriod& period)
      : table_(table), observer_(observer), period_(period) {}

  const TMoment& At(int64_t second) override {
    if (const TMoment* moment = table_.Find(second)) return *moment;
    outside_ = MomentAt(observer_, period_.JulianAt(second), table_.WithSunRaDec());
    return outside_;
  }
  double JulianAt(int64_t second) override { return period_.JulianAt(second); }
  const TMoment* Held(int64_t second) override { return table_.Find(second); }

 private:
  const TMomentTable& table_;
  const TGeodetic& observer_;
  const TSearchPeriod& period_;
  TMoment outside_;
};

}  // namespace zen
