#pragma once
// Small circuits built in memory and run for real on their node threads.

#include "CollectingObserver.h"

#include "model/Records.h"

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

    // A new circuit that reports to its own collecting observer.
    Circuit& MakeCircuit();
    CollectingObserver& ObserverOf(Circuit& circuit);

    static Node* Constant(Circuit& circuit, const Value& value);
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
    std::vector<std::unique_ptr<CollectingObserver>> observers_;
    std::size_t firstCircuit_ = 0;
};

} // namespace flow::test
