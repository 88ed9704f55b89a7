#include "engine/LoopPreparation.h"

#include "engine/Settling.h"
#include "model/Expansion.h"
#include "model/Model.h"
#include "model/SubCircuits.h"

#include <QHash>

#include <unordered_map>

namespace flow {

namespace {

bool RefuseCarried(RunSession& session, const Node& outputPin, int in, int out) {
    session.Fault() = {ErrorKind::CarriedType,
                       QStringLiteral("Carried value changes type: \"%1\" comes in as %2 and "
                                      "goes out as %3")
                           .arg(PinName(outputPin), PortTypeName(in), PortTypeName(out)),
                       &outputPin, Defect::Point{outputPin.X, outputPin.Y}};
    return false;
}

// Fills the loop's plan from its instance's ports and the pins of its body's copy; `driven`
// are the nodes with threads whose starts the loop releases.
bool PlanLoop(RunSession& session, const Node& instance, LoopRun& loop,
              const std::vector<Node*>& driven) {
    loop.Conditional = instance.Function->Loop == LoopKind::Conditional;
    std::unordered_map<Int, Node*> pins; // the named pins, by the ID their ports carry
    std::vector<Node*> seeds;            // the pins that hand values in
    for (const auto& node : instance.Expansion->Nodes) {
        if (IsPin(*node)) pins.emplace(node->Id, node.get());
        if (IsIterationPin(*node)) {
            loop.Iterations.push_back({node.get(), session.RunOf(*node)});
            seeds.push_back(node.get());
        }
        if (IsContinuePin(*node)) loop.Continues.push_back(session.RunOf(*node)->Slot(1));
    }
    QHash<QString, std::size_t> outputNamed; // the first output pin of each name
    std::vector<const Node*> outputPins;
    for (std::size_t i = 1; i < instance.PortArray.size(); ++i) {
        const Port& port = *instance.PortArray[i];
        if (port.Id == kTimesPortId) {
            loop.TimesPort = i;
            continue;
        }
        const auto found = pins.find(port.Id);
        if (found == pins.end()) continue;
        Node* pin = found->second;
        if ((port.Direction & Direction::In) && IsInputPin(*pin)) {
            loop.Inputs.push_back({i, {pin, session.RunOf(*pin)}, -1});
            seeds.push_back(pin);
        } else if ((port.Direction & Direction::Out) && IsOutputPin(*pin)) {
            loop.Outputs.push_back({i, session.RunOf(*pin)->Slot(1), -1});
            outputPins.push_back(pin);
            if (!outputNamed.contains(PinName(*pin)))
                outputNamed.insert(PinName(*pin), loop.Outputs.size() - 1);
        }
    }
    for (std::size_t k = 0; k < loop.Inputs.size(); ++k) {
        const Node& inputPin = *loop.Inputs[k].From.Pin;
        const auto carrier = outputNamed.constFind(PinName(inputPin));
        if (carrier == outputNamed.cend()) continue;
        const Node& outputPin = *outputPins[*carrier];
        const int in = FirstPort(inputPin)->Type, out = FirstPort(outputPin)->Type;
        if (in != out) return RefuseCarried(session, outputPin, in, out);
        loop.Inputs[k].Carrier = std::ptrdiff_t(*carrier);
        LoopRun::Output& output = loop.Outputs[*carrier];
        if (output.Carried < 0) output.Carried = std::ptrdiff_t(k);
    }
    for (Node* node : OutlookAmong(session, driven, seeds).CanFire)
        loop.Started.emplace_back(node, session.RunOf(*node));
    return true;
}

} // namespace

bool PrepareLoops(RunSession& session, const std::vector<Frame*>& frames) {
    std::vector<std::pair<Node*, LoopRun*>> loops;
    for (const Frame* frame : frames)
        for (const auto& node : frame->Nodes)
            if (IsLoopInstance(*node))
                if (NodeRun* run = session.RunOf(*node)) {
                    run->Loop = std::make_unique<LoopRun>();
                    loops.emplace_back(node.get(), run->Loop.get());
                }
    // The innermost loop around each frame, across plain sub-circuits; frames come after the
    // frame of their instance, so one look each suffices however deep they nest.
    std::unordered_map<const Frame*, const Node*> loopAround;
    for (const Frame* frame : frames) {
        const Node* instance = frame->Instance;
        loopAround[frame] = !instance                   ? nullptr
                            : IsLoopInstance(*instance) ? instance
                                                        : loopAround[instance->Frame];
    }
    // Every node learns afresh which loop starts it: the LoopRuns it knew are gone.
    std::unordered_map<const Node*, std::vector<Node*>> driven;
    for (const Frame* frame : frames)
        for (const auto& node : frame->Nodes) {
            NodeRun* run = session.RunOf(*node);
            if (!run) continue;
            const Node* around = loopAround[frame];
            run->Driver = around ? session.RunOf(*around)->Loop.get() : nullptr;
            if (around && RunsOnThread(*node)) driven[around].push_back(node.get());
        }
    for (const auto& [instance, loop] : loops)
        loop->Around = session.RunOf(*instance)->Driver;
    for (const auto& [instance, loop] : loops)
        if (!PlanLoop(session, *instance, *loop, driven[instance])) return false;
    return true;
}

} // namespace flow
