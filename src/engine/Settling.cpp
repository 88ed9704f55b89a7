#include "engine/Settling.h"

#include "engine/NodeThread.h"
#include "engine/RunObserver.h"
#include "model/Expansion.h"

#include <unordered_map>

namespace flow {

FiringOutlook OutlookAmong(const RunSession& session, const std::vector<Node*>& nodes,
                           const std::vector<Node*>& seeds) {
    // A topological order: a node fires once every fed input's source node has fired. Nodes on
    // a cycle, or fed from one, never get there.
    FiringOutlook outlook;
    std::unordered_map<const Node*, std::size_t> missingInputs;
    std::vector<Node*> fired = seeds;
    ForEachWithEntry(session, nodes, [&](Node* node, const NodeRun* run) {
        std::size_t fed = 0;
        for (const auto& port : node->Ports)
            fed += port->Source ? 1 : 0;
        // A node without a thread cannot fire; one more missing input keeps it waiting.
        missingInputs[node] = fed + (run && run->Thread ? 0 : 1);
        if (missingInputs[node] == 0) fired.push_back(node);
    });
    for (std::size_t next = 0; next < fired.size(); ++next) {
        for (const auto& port : fired[next]->Ports) {
            if (!(port->Direction & Direction::Out)) continue; // only outputs deliver values
            // Across a sub-circuit's boundary the value goes on through the pins, each hop
            // only where it is the input's own source; the hops wait on a list of their own, as
            // a value may cross thousands of boundaries in a row. A target counts once all that
            // it hands on to has. A loop's boundary stops it: the loop fires for its body.
            struct Hop {
                const Port* From;
                std::size_t Next;
                Port* Then;
            };
            std::vector<Hop> hops{{port.get(), 0, nullptr}};
            const auto count = [&](Port* target) {
                auto entry = missingInputs.find(target->Node);
                if (entry != missingInputs.end() && --entry->second == 0)
                    fired.push_back(target->Node);
            };
            while (!hops.empty()) {
                Hop& hop = hops.back();
                if (hop.Next == hop.From->Targets.size()) {
                    Port* then = hop.Then;
                    hops.pop_back();
                    if (then) count(then);
                    continue;
                }
                Port* target = hop.From->Targets[hop.Next++];
                if (target->Source != hop.From) continue;
                if (target->Relay && !StopsAtLoop(*target))
                    hops.push_back({target->Relay, 0, target});
                else
                    count(target);
            }
        }
    }
    outlook.CanFire.assign(fired.begin() + std::ptrdiff_t(seeds.size()), fired.end());
    for (Node* node : nodes)
        if (missingInputs[node] != 0) outlook.NeverFire.push_back(node);
    return outlook;
}

FiringOutlook OutlookOf(const RunSession& session) {
    if (!session.Target()) return {};
    // The nodes inside loops fire for their loop, which counts as one node here. Preparation
    // gave each its Driver; a node without an entry has no thread and never fires anyway.
    std::vector<Node*> nodes;
    ForEachWithEntry(session, RunNodes(*session.Target()), [&](Node* node, const NodeRun* run) {
        if (!run || !run->Driver) nodes.push_back(node);
    });
    return OutlookAmong(session, nodes, {});
}

bool HasSettled(const RunSession& session, const FiringOutlook& outlook) {
    for (const Node* node : outlook.CanFire) {
        const NodeRun* run = session.RunOf(*node);
        if (!run || !run->Thread || run->Thread->Fired < run->Thread->Started) return false;
    }
    return true;
}

void WatchSettling(RunSession& session) {
    const std::size_t canFire = OutlookOf(session).CanFire.size();
    session.FiringsInRun = 0;
    session.FiringsToSettle = canFire;
    if (canFire == 0 && session.Observer()) session.Observer()->RunMaySettle(session.RunNumber);
}

void NoteFiring(RunSession& session, std::uint64_t runNumber) {
    // Nobody watching (the command line, the benchmarks): one load and nothing else.
    const std::size_t wanted = session.FiringsToSettle.load(std::memory_order_relaxed);
    if (wanted == 0) return;
    if (session.FiringsInRun.fetch_add(1) + 1 != wanted) return;
    if (RunObserver* observer = session.Observer()) observer->RunMaySettle(runNumber);
}

} // namespace flow
