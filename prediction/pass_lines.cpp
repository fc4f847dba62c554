// Passes as one line each.
#include "prediction/pass_lines.h"

#include <cmath>

namespace zen {

int64_t TPassLine::DurationSeconds() const {
  return std::llround((set.timeUtc - rise.timeUtc) * 86400.0);
}

}  // namespace zen
