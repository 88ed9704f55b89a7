// Time of a run of generated circuits: preparation, execution and waiting until every node has
// fired. "Warm" runs find the node threads in place, as every Start after the first does;
// "Cold" runs build the circuit, then (timed) start its threads and run once, then stop them.
// (Without the thread reserve, built from older sources, "ColdReserved" is the same as "Cold".)
// "WarmRecorded" runs record every firing (the timeline's and --trace's recording).
// "SubCircuits" runs N instances of a sub-circuit of ten nodes against "Flat", the same N x 10
// nodes placed in the main frame. "Loop" runs a counted loop of N iterations of a five-node
// body: each iteration hands every node of the body its start once; "Loop/Million" a million
// of them, with the run's peak memory.
//
//   ./scripts/build.sh build-bench Release -DFLOW_BENCH=ON -DFLOW_TESTS=OFF
//   build-bench/bench/engine_bench

#include "engine/BuiltInFunctions.h"
#include "engine/Execution.h"
#include "engine/NodeThreads.h"
#include "engine/Preparation.h"
#include "engine/RunObserver.h"
#include "engine/RunSession.h"
#include "model/Catalogue.h"
#include "model/Expansion.h"
#include "model/Model.h"
#include "model/SubCircuits.h"
#if __has_include("engine/ThreadReserve.h")
#include "engine/ThreadReserve.h"
#define FLOW_THREAD_RESERVE 1
#endif

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

namespace flow {
namespace {

// Counts printed lines, as cheaply as a window that drops them would.
class CountingObserver : public RunObserver {
  public:
    void ClearOutput() override {}
    void SetRunStatus(const QString&) override {}
    void Redraw() override {}
    void PrintLine(const QString&, std::uint64_t) override { ++Lines; }
    std::atomic<std::uint64_t> Lines{0};
};

Node* Constant(Frame& frame, Int value) {
    Node* node = AddNode(&frame, Catalogue().Constant, Catalogue().ConstantInteger);
    node->PortArray[1]->Value = value;
    return node;
}

Node* Constant(Circuit& circuit, Int value) {
    return Constant(circuit.MainFrame, value);
}

Node* Connected(Frame& frame, FunctionDef* function, std::initializer_list<Node*> inputs) {
    Node* node = AddNode(&frame, function, nullptr);
    std::size_t number = 1;
    for (Node* input : inputs)
        ConnectPorts(input->PortArray.back(), node->PortArray[number++]);
    return node;
}

Node* Connected(Circuit& circuit, const char* function, std::initializer_list<Node*> inputs) {
    return Connected(circuit.MainFrame, FindFunction(QString::fromLatin1(function)), inputs);
}

// Ten nodes: a constant one and nine Plus nodes, each adding it to the sum before, the first
// to `from`. Returns the last Plus.
Node* AddTenSteps(Frame& frame, Node* from) {
    Node* one = Constant(frame, 1);
    for (int i = 0; i < 9; ++i)
        from = Connected(frame, FindFunction(QStringLiteral("Plus")), {from, one});
    return from;
}

void BuildFlatSteps(Circuit& circuit, int instances) {
    Node* last = Constant(circuit, 0);
    for (int i = 0; i < instances; ++i)
        last = AddTenSteps(circuit.MainFrame, last);
    Connected(circuit, "Print", {last});
}

// The same nodes, ten by ten in instances of one sub-circuit, chained through its pins.
void BuildStepInstances(Circuit& circuit, int instances) {
    FunctionDef* steps = AddSubCircuit(circuit, QStringLiteral("Ten steps"));
    Frame& body = BodyOf(*steps);
    Node* input = AddNode(&body, PinFunctions().Input, nullptr);
    Node* output = AddNode(&body, PinFunctions().Output, nullptr);
    output->X = 200;
    ConnectPorts(AddTenSteps(body, input)->PortArray.back(), output->PortArray[1]);
    FollowDefinitions(circuit);
    Node* last = Constant(circuit, 0);
    for (int i = 0; i < instances; ++i)
        last = Connected(circuit.MainFrame, steps, {last});
    Connected(circuit, "Print", {last});
}

// Each Plus adds one to the sum of the one before it.
void BuildPlusChain(Circuit& circuit, int length) {
    Node* last = Constant(circuit, 0);
    Node* one = Constant(circuit, 1);
    for (int i = 0; i < length; ++i)
        last = Connected(circuit, "Plus", {last, one});
}

// A counted loop: x := x + i + 3, carried, through a constant and four Plus nodes. Returns the
// constant that gives the number of iterations.
Node* AddCountedLoop(Circuit& circuit, int iterations) {
    FunctionDef* loop = AddSubCircuit(circuit, QStringLiteral("Five steps"));
    Frame& body = BodyOf(*loop);
    Node* i = AddNode(&body, PinFunctions().Iteration, nullptr);
    Node* x = AddNode(&body, PinFunctions().Input, nullptr);
    SetPinName(*x, QStringLiteral("x"));
    x->Y = 40;
    Node* one = Constant(body, 1);
    FunctionDef* plus = FindFunction(QStringLiteral("Plus"));
    Node* sum = Connected(body, plus, {Connected(body, plus, {x, i}), one});
    sum = Connected(body, plus, {Connected(body, plus, {sum, one}), one});
    Node* out = AddNode(&body, PinFunctions().Output, nullptr);
    SetPinName(*out, QStringLiteral("x"));
    out->X = 200;
    ConnectPorts(sum->PortArray.back(), out->PortArray[1]);
    FollowDefinitions(circuit);
    Node* instance = AddNode(&circuit.MainFrame, loop, nullptr);
    Node* times = Constant(circuit, iterations);
    ConnectPorts(times->PortArray[1], instance->PortArray[1]);
    ConnectPorts(Constant(circuit, 0)->PortArray[1], instance->PortArray[2]);
    Connected(circuit, "Print", {instance});
    return times;
}

void BuildCountedLoop(Circuit& circuit, int iterations) {
    AddCountedLoop(circuit, iterations);
}

void BuildPrintFanOut(Circuit& circuit, int width) {
    Node* constant = Constant(circuit, 42);
    for (int i = 0; i < width; ++i)
        Connected(circuit, "Print", {constant});
}

void RunOnce(benchmark::State& state, RunSession& session) {
    if (!PrepareCircuit(session)) {
        state.SkipWithError("the generated circuit has a defect");
        return;
    }
    ExecuteCircuit(session);
    const RunReport report = RunToCompletion(session);
    // The nodes inside a loop fire for their loop, which fires once they are done.
    if (!report.NeverFire.empty()) state.SkipWithError("not every node fired");
}

// What the whole process has spent so far, all threads together: context switches (voluntary
// sleeps and forced ones) and processor time. Unlike the time a run takes they hardly depend on
// what else the shared machine runs.
struct Spent {
    double Switches = 0;
    double CpuMs = 0;

    static Spent Now() {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        auto ms = [](const timeval& t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; };
        return {double(usage.ru_nvcsw + usage.ru_nivcsw), ms(usage.ru_utime) + ms(usage.ru_stime)};
    }
    Spent operator-(const Spent& earlier) const {
        return {Switches - earlier.Switches, CpuMs - earlier.CpuMs};
    }
    Spent& operator+=(const Spent& more) {
        Switches += more.Switches;
        CpuMs += more.CpuMs;
        return *this;
    }
};

void Report(benchmark::State& state, std::size_t nodes, const Spent& spent) {
    state.counters["nodes"] = double(nodes);
    state.counters["per_node"] = benchmark::Counter(
        double(nodes), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    const double runs = double(std::max<benchmark::IterationCount>(state.iterations(), 1));
    state.counters["switches_per_node"] =
        spent.Switches / runs / double(std::max<std::size_t>(nodes, 1));
    state.counters["cpu_ms_per_run"] = spent.CpuMs / runs;
}

template <void (*Build)(Circuit&, int), bool Recorded = false>
void WarmRuns(benchmark::State& state) {
    RegisterCatalogue();
    Circuit& circuit = NewCircuit();
    CountingObserver observer;
    RunSession session(circuit, &observer);
#if __has_include("engine/RunWatch.h")
    // Every firing recorded, as the timeline and --trace have it.
    session.Watch.SetRecording(Recorded);
#else
    if (Recorded) state.SkipWithError("these sources cannot record a run");
#endif
    Build(circuit, int(state.range(0)));
    RunOnce(state, session); // starts the threads
    const Spent before = Spent::Now();
    for (auto _ : state)
        RunOnce(state, session);
    Report(state, RunNodes(circuit).size(), Spent::Now() - before);
    StopCircuitThreads(session);
}

// Reserved runs start after the threads were started ahead of time, as the editor does when a
// circuit is opened or edited.
template <void (*Build)(Circuit&, int), bool Reserved> void ColdRuns(benchmark::State& state) {
    RegisterCatalogue();
    std::size_t nodes = 0;
    CountingObserver observer;
    Spent spent;
    for (auto _ : state) {
        state.PauseTiming();
        Circuit& circuit = NewCircuit();
        auto session = std::make_unique<RunSession>(circuit, &observer);
        Build(circuit, int(state.range(0)));
        nodes = RunNodes(circuit).size();
#ifdef FLOW_THREAD_RESERVE
        if (Reserved) {
            ReserveThreadsFor(*session);
            WaitForThreadReserve();
        }
#endif
        state.ResumeTiming();
        const Spent before = Spent::Now();
        RunOnce(state, *session);
        spent += Spent::Now() - before;
        state.PauseTiming();
        session.reset(); // stops the threads
        // Circuits stay in the circuit list for good; their contents need not.
        circuit.MainFrame.Wires.clear();
        circuit.MainFrame.Nodes.clear();
        circuit.SubCircuits.clear();
        state.ResumeTiming();
    }
    Report(state, nodes, spent);
}

// The peak of the process's resident memory since the last ResetPeakMemory, in MB.
double PeakMegabytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024;
    return 0;
}

void ResetPeakMemory() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

// A million iterations of the loop's five-node body, prepared and run with the threads in
// place, and the peak memory of such a run beside that of a run of one iteration: an iteration
// leaves nothing behind, so the two should hardly differ.
void LoopMillion(benchmark::State& state) {
    RegisterCatalogue();
    Circuit& circuit = NewCircuit();
    CountingObserver observer;
    RunSession session(circuit, &observer);
    Node* times = AddCountedLoop(circuit, 1);
    RunOnce(state, session); // starts the threads
    ResetPeakMemory();
    RunOnce(state, session);
    const double single = PeakMegabytes();
    times->PortArray[1]->Value = state.range(0);
    ResetPeakMemory();
    const Spent before = Spent::Now();
    for (auto _ : state)
        RunOnce(state, session);
    const Spent spent = Spent::Now() - before;
    state.counters["per_iteration"] =
        benchmark::Counter(double(state.range(0)), benchmark::Counter::kIsIterationInvariantRate |
                                                       benchmark::Counter::kInvert);
    state.counters["peak_MB_one_iteration"] = single;
    state.counters["peak_MB"] = PeakMegabytes();
    state.counters["switches_per_run"] = spent.Switches / double(state.iterations());
    StopCircuitThreads(session);
}

void Sizes(benchmark::internal::Benchmark* benchmark) {
    benchmark->Arg(100)->Arg(1000)->Arg(10000)->UseRealTime()->Unit(benchmark::kMillisecond);
}

// Instances of ten nodes each, so the same node counts as the other cases.
void InstanceCounts(benchmark::internal::Benchmark* benchmark) {
    benchmark->Arg(10)->Arg(100)->Arg(1000)->UseRealTime()->Unit(benchmark::kMillisecond);
}

BENCHMARK(WarmRuns<BuildPlusChain>)->Name("PlusChain/Warm")->Apply(Sizes);
BENCHMARK(WarmRuns<BuildPrintFanOut>)->Name("PrintFanOut/Warm")->Apply(Sizes);
BENCHMARK(WarmRuns<BuildPlusChain, true>)->Name("PlusChain/WarmRecorded")->Apply(Sizes);
BENCHMARK(WarmRuns<BuildPrintFanOut, true>)->Name("PrintFanOut/WarmRecorded")->Apply(Sizes);
BENCHMARK(ColdRuns<BuildPlusChain, false>)->Name("PlusChain/Cold")->Apply(Sizes);
BENCHMARK(ColdRuns<BuildPrintFanOut, false>)->Name("PrintFanOut/Cold")->Apply(Sizes);
BENCHMARK(ColdRuns<BuildPlusChain, true>)->Name("PlusChain/ColdReserved")->Apply(Sizes);
BENCHMARK(ColdRuns<BuildPrintFanOut, true>)->Name("PrintFanOut/ColdReserved")->Apply(Sizes);
BENCHMARK(WarmRuns<BuildFlatSteps>)->Name("Flat/Warm")->Apply(InstanceCounts);
BENCHMARK(WarmRuns<BuildCountedLoop>)->Name("Loop/Warm")->Apply(Sizes);
BENCHMARK(LoopMillion)
    ->Name("Loop/Million")
    ->Arg(1000000)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(WarmRuns<BuildStepInstances>)->Name("SubCircuits/Warm")->Apply(InstanceCounts);
BENCHMARK(ColdRuns<BuildFlatSteps, true>)->Name("Flat/ColdReserved")->Apply(InstanceCounts);
BENCHMARK(ColdRuns<BuildStepInstances, true>)
    ->Name("SubCircuits/ColdReserved")
    ->Apply(InstanceCounts);

} // namespace
} // namespace flow

BENCHMARK_MAIN();
