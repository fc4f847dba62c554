// The instruction sets of the vector near-earth path (TNearEarthBatch::PropagateVector): which
// the build compiled and the processor runs, which one is in use, and a way to pin one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zen {

// Highway's target bits of the instruction sets compiled into the program that this processor
// can run, best first.
std::vector<int64_t> VectorTargets();

// Name of the instruction set PropagateVector now runs on ("AVX3", "AVX2", "SSE4", ...).
const char* VectorTargetName();
const char* VectorTargetName(int64_t target);

// The sine and cosine of count arguments as the vector path computes them, on the instruction
// set in use.
void VectorSineCosine(const double* x, double* sine, double* cosine, size_t count);

// Makes PropagateVector run on the given target (one of VectorTargets()) until called again;
// 0 returns to the best the processor has. For comparisons across targets: not thread-safe,
// no propagation may run meanwhile.
void PinVectorTarget(int64_t target);

}  // namespace zen
