#pragma once
// A recorded run in the Trace Event format that trace viewers read: one complete event per
// firing, from the moment its last input arrived to the end of its computation, one thread
// lane per node in the order of first firing, times in microseconds from the run's start.

#include "engine/FiringRecord.h"

#include <QByteArray>

#include <vector>

namespace flow {

// runLength: nanoseconds from the run's start to its end, which every event lies within;
// dropped: firings the bounded record let go before these, said in a note.
QByteArray TraceEventJson(const std::vector<FiringRecord>& firings, std::size_t dropped,
                          std::int64_t runLength);

// The nodes of the firings in the order they first fired (each once): the lanes of a timeline.
std::vector<const Node*> LanesOf(const std::vector<FiringRecord>& firings);

} // namespace flow
