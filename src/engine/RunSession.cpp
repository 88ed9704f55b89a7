#include "engine/RunSession.h"

#include "engine/DetachedThreads.h"
#include "engine/Execution.h"
#include "engine/NodeThreads.h"
#include "model/Expansion.h"
#include "model/Model.h"

#include <algorithm>

namespace flow {

namespace {

const Frame* FrameOf(const ObjectRef& object) {
    if (const auto* port = std::get_if<const Port*>(&object))
        return (*port)->Node ? (*port)->Node->Frame : nullptr;
    if (const auto* node = std::get_if<const Node*>(&object)) return (*node)->Frame;
    if (const auto* wire = std::get_if<const Wire*>(&object)) return (*wire)->Frame;
    return nullptr;
}

} // namespace

const Frame* DefectFrame(const Defect& defect) {
    return FrameOf(defect.Object);
}

RunSession::RunSession(flow::Circuit& circuit, RunObserver* observer)
    : circuit_(&circuit), observer_(observer) {
    circuit.Runs.push_back(this);
}

RunSession::~RunSession() {
    if (circuit_) {
        StopCircuitThreads(*this);
        Detach();
    }
}

void RunSession::Detach() {
    std::erase(circuit_->Runs, static_cast<RunLink*>(this));
    circuit_ = nullptr;
    ++generation_;
}

NodeRun* RunSession::RunOf(const Node& node) const {
    const auto found = nodes_.find(&node);
    return found == nodes_.end() ? nullptr : found->second.get();
}

PortRun* RunSession::SlotOf(const Port& port) const {
    if (!port.Node) return nullptr;
    const NodeRun* run = RunOf(*port.Node);
    if (!run) return nullptr;
    // Every value delivered asks: the port's own index is trusted where it checks out.
    const auto& ports = port.Node->PortArray;
    const std::size_t hint = std::size_t(port.Index);
    const std::size_t index =
        hint < ports.size() && ports[hint] == &port ? hint : std::size_t(PortIndex(&port));
    return run->Slot(index);
}

NodeRun& RunSession::Prepare(const Node& node) {
    std::unique_ptr<NodeRun>& run = nodes_[&node];
    if (!run) run = std::make_unique<NodeRun>();
    // Only an instance or a pin ever changes its number of ports, and only an instance whether
    // a thread waits on them: it does once its body becomes a loop's.
    const std::size_t ports = std::max<std::size_t>(node.PortArray.size(), 1);
    const bool waited = RunsOnThread(node);
    if (run->Ports.size() == ports && (ports == 1 || run->Ports[1]->Waited == waited)) return *run;
    ++generation_;
    run->Ports.resize(ports);
    for (std::size_t i = 1; i < run->Ports.size(); ++i)
        if (!run->Ports[i] || run->Ports[i]->Waited != waited)
            run->Ports[i] = std::make_unique<PortRun>(*run, waited);
    return *run;
}

const std::vector<std::pair<Node*, NodeRun*>>& RunSession::Entries() const {
    if (entriesGeneration_ == generation_) return entries_;
    entries_.clear();
    if (circuit_)
        for (Node* node : RunNodes(*circuit_))
            if (NodeRun* run = RunOf(*node)) entries_.emplace_back(node, run);
    entriesGeneration_ = generation_;
    return entries_;
}

std::vector<std::pair<Node*, NodeRun*>> RunSession::Threaded() const {
    std::vector<std::pair<Node*, NodeRun*>> threaded;
    if (!circuit_) return threaded;
    for (const auto& [node, run] : Entries())
        if (run->Thread) threaded.emplace_back(node, run);
    return threaded;
}

bool RunSession::NodesLeaving(const std::vector<Node*>& nodes) {
    // A loop still iterating would start the leaving nodes of its body again: the run stops
    // first, loops and all.
    if (std::any_of(nodes.begin(), nodes.end(), [this](const Node* node) {
            const NodeRun* run = RunOf(*node);
            return run && (run->Driver || run->Loop);
        }))
        StopRun(*this);
    std::vector<std::pair<Node*, NodeRun*>> running;
    for (Node* node : nodes)
        if (NodeRun* run = RunOf(*node); run && run->Thread) running.emplace_back(node, run);
    const bool ended = StopNodeThreads(*this, running);
    // The recording names nodes by address.
    Watch.Recorder().Clear();
    std::lock_guard lock(firingLock_);
    for (Node* node : nodes) {
        const auto found = nodes_.find(node);
        if (found == nodes_.end()) continue;
        // A thread that did not stop in time still reads its entry.
        if (HasDetachedThread(found->second.get()))
            retiredRuns_.push_back(std::move(found->second));
        nodes_.erase(found);
        ++generation_;
    }
    return ended;
}

void RunSession::Retire(std::unique_ptr<Frame> expansion) {
    std::lock_guard lock(firingLock_);
    retiredFrames_.push_back(std::move(expansion));
}

void RunSession::ForgetValue(const Port& port) {
    if (PortRun* slot = SlotOf(port)) slot->ValueRun = 0;
    // The wiring changed: the receivers each output last found are looked up again.
    ++generation_;
}

void RunSession::ObjectGone(ObjectRef object) {
    if (defect_.Object == object) defect_.Object = {};
}

void RunSession::ExpansionGone(const Frame& expansion) {
    for (const Frame* frame = FrameOf(defect_.Object); frame;
         frame = frame->Instance ? frame->Instance->Frame : nullptr)
        if (frame == &expansion) {
            defect_.Object = {};
            return;
        }
}

void RunSession::CircuitClosing() {
    StopCircuitThreads(*this);
}

void RunSession::CircuitFreed() {
    StopCircuitThreads(*this);
    Detach();
}

} // namespace flow
