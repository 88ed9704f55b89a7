#pragma once
// Small circuits built in memory and run for real on their node threads.

#include "CollectingObserver.h"

#include "engine/RunSession.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <variant>
#include <vector>

namespace flow::test {

using Value = std::variant<bool, Int, double, QString>;

// Registers the catalogue, and stops the threads of every circuit a test made.
class EngineFixture : public testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // A new circuit, run in a session of its own that reports to its own collecting observer.
    Circuit& MakeCircuit();
    CollectingObserver& ObserverOf(Circuit& circuit);
    RunSession& Session(Circuit& circuit);
    // What the node's circuit's session keeps for the node; none before it was prepared.
    NodeRun* RunOf(const Node* node);
    NodeRun* RunOf(const std::unique_ptr<Node>& node) { return RunOf(node.get()); }
    // The node's thread and the routine it runs; none before it was given one.
    template <typename N> NodeThread* ThreadOf(const N& node) {
        NodeRun* run = RunOf(node);
        return run ? run->Thread : nullptr;
    }
    template <typename N> const Routine* RoutineOf(const N& node) {
        NodeRun* run = RunOf(node);
        return run ? run->Routine : nullptr;
    }

    static Node* Constant(Circuit& circuit, const Value& value);
    // The same in another frame: a sub-circuit's body.
    static Node* ConstantIn(Frame& frame, const Value& value);
    // A node of the function whose inputs 1, 2, ... are fed by the outputs of the given nodes.
    static Node* Apply(Circuit& circuit, const char* function, std::initializer_list<Node*> inputs);
    static Node* PrintOf(Circuit& circuit, Node* source);
    static Port* Output(Node* node);
    static void SetConstant(Node* constant, const Value& value);

    // Prepare, execute and wait for the run; returns the lines it printed.
    QStringList Run(Circuit& circuit);
    // The line printed for a function applied to constants; for "Print", the constant itself.
    QString Evaluate(const char* function, std::initializer_list<Value> inputs);

  private:
    struct OwnedRun {
        std::unique_ptr<CollectingObserver> Observer;
        std::unique_ptr<RunSession> Session;
    };
    std::vector<OwnedRun> runs_;
};

} // namespace flow::test
