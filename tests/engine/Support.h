#pragma once
// Small circuits built in memory, run for real on their node threads, and an observer that
// collects what a run reports as a window would show it.

#include "engine/RunObserver.h"
#include "model/Records.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <initializer_list>
#include <mutex>
#include <variant>

namespace flow::test {

// Keeps the lines of the current run only, like the output panel: ClearOutput empties it and a
// line printed by an earlier run is dropped.
class CollectingObserver : public RunObserver {
  public:
    explicit CollectingObserver(Circuit& circuit) : circuit_(circuit) {}
    void ClearOutput() override;
    void SetRunStatus(const QString& text) override;
    void Redraw() override;
    void PrintLine(const QString& line, std::uint64_t runNumber) override;

    QStringList Lines() const;
    QStringList Statuses() const;
    int Clears() const;
    int Redraws() const;
    // Waits until at least count lines of the current run arrived; false after the timeout.
    bool WaitForLines(int count, int timeoutMs = 5000) const;

  private:
    Circuit& circuit_;
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    QStringList lines_;
    QStringList statuses_;
    int clears_ = 0;
    int redraws_ = 0;
};

using Value = std::variant<bool, Int, double, QString>;

// Registers the catalogue, and stops the threads of every circuit a test made.
class EngineTest : public testing::Test {
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
