#include "engine/Execution.h"

#include "engine/NodeThread.h"
#include "engine/RunStatus.h"

#include <unordered_map>

namespace flow {

void ExecuteCircuit(Circuit& circuit) {
    ShowRunState(circuit, RunState::Executing, QStringLiteral("Execution ..."));
    {
        // Every start is counted before any thread wakes to compete for the processor.
        HeldRings held;
        for (const auto& node : circuit.MainFrame.Nodes) {
            if (!node->StartSemaphore) continue;
            if (node->Thread) ++node->Thread->Started;
            node->StartSemaphore->Release();
        }
    }
    ShowRunState(circuit, RunState::Ready, QStringLiteral("Execution ... finished"));
}

// A target without a semaphore belongs to a node added after the last preparation: it has no
// thread to wake yet.
void SendToTargets(Port* port, Int value) {
    for (Port* target : port->Targets) {
        target->Value = value;
        if (target->Semaphore) target->Semaphore->Release();
    }
}

void SendToTargets(Port* port, const QString& text) {
    for (Port* target : port->Targets) {
        target->Text = text;
        if (target->Semaphore) target->Semaphore->Release();
    }
}

RunReport RunToCompletion(Circuit& circuit) {
    // Which nodes can fire is decided from the wiring alone, as a topological order: a node
    // fires once every fed input's source node has fired. Nodes on a cycle, or fed from one,
    // never get there, and nothing waits for them.
    const auto& nodes = circuit.MainFrame.Nodes;
    std::unordered_map<const Node*, std::size_t> missingInputs;
    std::vector<Node*> canFire;
    for (const auto& node : nodes) {
        std::size_t fed = 0;
        for (const auto& port : node->Ports)
            fed += port->Source ? 1 : 0;
        // A node without a thread cannot fire; one more missing input keeps it waiting.
        missingInputs[node.get()] = fed + (node->Thread ? 0 : 1);
        if (missingInputs[node.get()] == 0) canFire.push_back(node.get());
    }
    for (std::size_t next = 0; next < canFire.size(); ++next) {
        for (const auto& port : canFire[next]->Ports) {
            if (!(port->Direction & Direction::Out)) continue; // only outputs deliver values
            for (const Port* target : port->Targets) {
                if (target->Source != port.get()) continue;
                auto entry = missingInputs.find(target->Node);
                if (entry != missingInputs.end() && --entry->second == 0)
                    canFire.push_back(target->Node);
            }
        }
    }

    RunReport report;
    for (Node* node : canFire)
        node->Thread->WaitForFirings(node->Thread->Started);
    report.Fired = canFire.size();
    for (const auto& node : nodes)
        if (missingInputs[node.get()] != 0) report.NeverFire.push_back(node.get());
    return report;
}

} // namespace flow
