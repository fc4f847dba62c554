// What the tests of the vector paths share: the tolerances against the one-satellite path and a
// guard that pins an instruction set for the length of a scope.
#pragma once

#include <cstdint>

#include "core/sgp4_vector.h"

namespace zen::test {

constexpr double kOneMillimetreKm = 1.0e-6;
constexpr double kOneMicrometrePerSecondKm = 1.0e-9;

// Runs the vector paths on one instruction set until the scope ends, then on the best again,
// however a test ends.
struct TPinnedTarget {
  explicit TPinnedTarget(int64_t target) { PinVectorTarget(target); }
  ~TPinnedTarget() { PinVectorTarget(0); }
  TPinnedTarget(const TPinnedTarget&) = delete;
  TPinnedTarget& operator=(const TPinnedTarget&) = delete;
};

}  // namespace zen::test
