#pragma once
// The values a run left in its slots: what the hover texts and the value labels show. A value
// counts only while its stamp is the session's latest run, so a new Start hides every value of
// the last one without touching a slot.

#include "engine/RunSession.h"

#include <optional>

namespace flow {

struct CarriedValue {
    int Type = PortType::Generic;
    Int Value = 0;        // Boolean, Integer, Real (its bits)
    QString Text;         // String
    bool Nothing = false; // it carried nothing: its sender was skipped or switched away
};

// The value the port carried in the session's latest run, read through the copy that ran for it
// where a window shows a body (openPath, engine/RunCopies.h); none when it carried none, or
// without a session. Takes the session's FiringLock.
std::optional<CarriedValue> LatestValue(const RunSession* session, const Port& port,
                                        const std::vector<Node*>& openPath = {});
// The value a wire carried in the latest run: the one its input end took from it. None for a
// wire that cannot carry one (invalid, or a second wire into an input).
std::optional<CarriedValue> LatestValue(const RunSession* session, const Wire& wire,
                                        const std::vector<Node*>& openPath = {});
// The same without taking the lock, for a caller that holds it over many reads.
std::optional<CarriedValue> LatestValueHeld(const RunSession& session, const Port& port,
                                            std::uint64_t latestRun,
                                            const std::vector<Node*>& openPath);
std::optional<CarriedValue> LatestValueHeld(const RunSession& session, const Wire& wire,
                                            std::uint64_t latestRun,
                                            const std::vector<Node*>& openPath);

// Whether the node, or the copy that ran in its stead, fired without computing in the session's
// latest run, as an input carried nothing.
bool SkippedInLatestRun(const RunSession* session, const Node& node,
                        const std::vector<Node*>& openPath);
// How many iterations the loop instance, or its run copy, ran in the latest run; none for a
// node that is no loop or did not run its iterations.
std::optional<std::uint64_t> IterationsInLatestRun(const RunSession* session, const Node& node,
                                                   const std::vector<Node*>& openPath);

// The input end a wire delivers into, when it is that input's feeder; else none.
const Port* CarryingEnd(const Wire& wire);

} // namespace flow
