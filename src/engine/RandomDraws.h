#pragma once
// The numbers Random nodes draw. A draw is a pure function of the run's seed, the node's place
// and the iterations of the loops around it, never of a generator's state: threads fire in any
// order, so a run repeats exactly whenever its seed does.

#include "model/Records.h"

#include <cstdint>
#include <span>

namespace flow {

struct Firing;

// 64 well-mixed bits for one draw. Place is the chain of instance IDs from the main frame down
// to the node, then the node's own ID; iterations are those of the loops around it, outermost
// first (a node outside every loop draws as iteration 0).
std::uint64_t RandomBits(std::uint64_t seed, std::span<const Int> place,
                         std::span<const std::uint64_t> iterations);

// The firing node's draw, from its session's seed, its place and its drivers' iterations.
std::uint64_t RandomBitsFor(const Firing& firing);

// Uniform in [0, 1): the top 53 bits, which a double holds exactly.
double UniformReal(std::uint64_t bits);
// Uniform in 0 … 2^63 − 1.
Int UniformInteger(std::uint64_t bits);

// A seed nobody chose, for a run that was not given one.
std::uint64_t FreshSeed();

// Whether a Random node stands in the main frame or a body: only then does a seed matter.
bool HoldsRandom(const Circuit& circuit);

} // namespace flow
