// The shared moments of a stretch of seconds.
#include "prediction/moment_table.h"

namespace zen {

void TMomentTable::Cover(int64_t first, int64_t last) {
  first_ = first;
  last_ = last;
  moments_.resize(last >= first ? static_cast<size_t>(last - first + 1) : 0);
}

void TMomentTable::Fill(const TGeodetic& observer, const TSearchPeriod& period, int64_t from,
                        int64_t to) {
  const TSiteTerms site = SiteTermsOf(observer);
  for (int64_t second = from; second <= to; ++second) {
    moments_[static_cast<size_t>(second - first_)] =
        MomentAt(site, period.JulianAt(second), withSunRaDec_);
  }
}

}  // namespace zen
