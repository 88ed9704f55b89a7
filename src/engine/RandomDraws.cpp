#include "engine/RandomDraws.h"

#include "engine/Execution.h"
#include "engine/RunSession.h"
#include "model/SubCircuits.h"

#include <QRandomGenerator>

#include <algorithm>
#include <vector>

namespace flow {

namespace {

// SplitMix64's finaliser: every input bit reaches every output bit.
std::uint64_t Mixed(std::uint64_t x) {
    x ^= x >> 30;
    x *= 0xBF58476D1CE4E5B9ULL;
    x ^= x >> 27;
    x *= 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
}

// Folds one more number into the key; the golden-ratio step keeps (a, b) and (b, a) apart.
std::uint64_t Folded(std::uint64_t key, std::uint64_t value) {
    return Mixed(key + 0x9E3779B97F4A7C15ULL + Mixed(value));
}

} // namespace

std::uint64_t RandomBits(std::uint64_t seed, std::span<const Int> place,
                         std::span<const std::uint64_t> iterations) {
    std::uint64_t key = Mixed(seed);
    // The lengths go in too, so that no split of one chain between place and iterations draws
    // the same as another.
    key = Folded(key, place.size());
    for (Int id : place)
        key = Folded(key, std::uint64_t(id));
    key = Folded(key, iterations.size());
    for (std::uint64_t iteration : iterations)
        key = Folded(key, iteration);
    return key;
}

std::uint64_t RandomBitsFor(const Firing& firing) {
    std::vector<Int> place{firing.Node.Id};
    for (const Frame* frame = firing.Node.Frame; frame && frame->Instance;
         frame = frame->Instance->Frame)
        place.push_back(frame->Instance->Id);
    std::reverse(place.begin(), place.end());
    std::vector<std::uint64_t> iterations;
    for (const LoopRun* loop = firing.Run.Driver; loop; loop = loop->Around)
        iterations.push_back(loop->Iteration.load(std::memory_order_relaxed));
    if (iterations.empty()) iterations.push_back(0);
    std::reverse(iterations.begin(), iterations.end());
    return RandomBits(firing.Session.Seed, place, iterations);
}

double UniformReal(std::uint64_t bits) {
    return double(bits >> 11) * 0x1.0p-53;
}

Int UniformInteger(std::uint64_t bits) {
    return Int(bits >> 1);
}

std::uint64_t FreshSeed() {
    return QRandomGenerator::system()->generate64();
}

bool HoldsRandom(const Circuit& circuit) {
    const auto holds = [](const Frame& frame) {
        return std::any_of(frame.Nodes.begin(), frame.Nodes.end(), [](const auto& node) {
            return node->Function && node->Function->Name == QLatin1String("Random");
        });
    };
    return holds(circuit.MainFrame) ||
           std::any_of(circuit.SubCircuits.begin(), circuit.SubCircuits.end(),
                       [&](const auto& definition) { return holds(BodyOf(*definition)); });
}

} // namespace flow
