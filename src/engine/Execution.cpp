#include "engine/Execution.h"

#include "engine/Expansion.h"
#include "engine/NodeThread.h"
#include "engine/RunStatus.h"
#include "engine/Settling.h"

namespace flow {

void ExecuteCircuit(Circuit& circuit) {
    ShowRunState(circuit, RunState::Executing, QStringLiteral("Execution ..."));
    {
        // Every start is counted before any thread wakes to compete for the processor.
        HeldRings held;
        for (Node* node : RunNodes(circuit)) {
            if (!node->StartSemaphore) continue;
            if (node->Thread) ++node->Thread->Started;
            node->StartSemaphore->Release();
        }
    }
    ShowRunState(circuit, RunState::Ready, QStringLiteral("Execution ... finished"));
}

// A target without a semaphore belongs to a node added after the last preparation: it has no
// thread to wake yet. Stamping a slot with its run costs two stores, so keeping every value of
// a run needs no allocation and no text.
void SendToTargets(Port* port, Int value, int type, std::uint64_t runNumber) {
    port->Value = value;
    port->ValueType = type;
    port->ValueRun = runNumber;
    ForEachReceiver(port, [&](Port* target) {
        target->Value = value;
        target->ValueType = type;
        target->ValueRun = runNumber;
        if (target->Semaphore) target->Semaphore->Release();
    });
}

void SendToTargets(Port* port, const QString& text, std::uint64_t runNumber) {
    port->Text = text;
    port->ValueType = PortType::String;
    port->ValueRun = runNumber;
    ForEachReceiver(port, [&](Port* target) {
        target->Text = text;
        target->ValueType = PortType::String;
        target->ValueRun = runNumber;
        if (target->Semaphore) target->Semaphore->Release();
    });
}

RunReport RunToCompletion(Circuit& circuit) {
    const FiringOutlook outlook = OutlookOf(circuit);
    for (Node* node : outlook.CanFire)
        node->Thread->WaitForFirings(node->Thread->Started);
    return {outlook.CanFire.size(), outlook.NeverFire};
}

} // namespace flow
