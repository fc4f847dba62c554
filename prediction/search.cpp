// The prediction search.
#include "prediction/search.h"

#include <array>

namespace zen {

int CoarseStepSeconds(int level) {
  // A higher level misses fewer short passes and costs more time.
  static constexpr std::array<int, 5> kSeconds = {60, 30, 10, 5, 1};
  if (level < 0) level = 0;
  if (level > 4) level = 4;
  return kSeconds[static_cast<size_t>(level)];
}

}  // namespace zen
