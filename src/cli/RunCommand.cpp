#include "cli/RunCommand.h"
#include "engine/BuiltInFunctions.h"

#include "cli/CommandLoad.h"
#include "engine/DefectPlace.h"
#include "engine/Execution.h"
#include "engine/NodeThreads.h"
#include "engine/Preparation.h"
#include "engine/RandomDraws.h"
#include "engine/RunObserver.h"
#include "engine/Settling.h"
#include "engine/TraceEvents.h"
#include "file/CircuitWriter.h"
#include "file/WholeFile.h"
#include "model/Catalogue.h"

#include <chrono>
#include <cstdio>
#include <mutex>
#include <thread>

namespace flow {

namespace {

// Printed lines go to stdout as they come, one per line; the window's other reports (status
// texts, redraws, clearing the panel) mean nothing on a terminal.
class TerminalObserver : public RunObserver {
  public:
    void ClearOutput() override {}
    void SetRunStatus(const QString&) override {}
    void Redraw() override {}
    void PrintLine(const QString& line, std::uint64_t) override {
        const QByteArray bytes = line.toUtf8() + '\n';
        std::lock_guard lock(mutex_);
        std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stdout);
        std::fflush(stdout);
    }

  private:
    std::mutex mutex_;
};

// Where the defect is, after its message.
QString DefectSuffix(const Defect& defect) {
    const QString place = DefectPlace(defect);
    return place.isEmpty() ? place : QStringLiteral(" (%1)").arg(place);
}

// Looks now and then whether the run is over, until the deadline; false when it was not.
bool SettlesBefore(const RunSession& session, std::chrono::steady_clock::time_point deadline) {
    const FiringOutlook outlook = OutlookOf(session);
    for (;;) {
        if (HasSettled(session, outlook)) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

int Run(RunSession& session, const QString& file, std::optional<double> timeout) {
    if (!PrepareCircuit(session)) {
        std::fprintf(stderr, "flowlattice: %s: defect: %s%s\n", qPrintable(file),
                     qPrintable(session.Fault().Message),
                     qPrintable(DefectSuffix(session.Fault())));
        return 1;
    }
    const auto started = std::chrono::steady_clock::now();
    ExecuteCircuit(session);
    if (timeout) {
        const auto deadline = started + std::chrono::duration_cast<std::chrono::nanoseconds>(
                                            std::chrono::duration<double>(*timeout));
        if (!SettlesBefore(session, deadline)) {
            StopRun(session);
            std::fprintf(stderr, "flowlattice: %s: stopped after %g s\n", qPrintable(file),
                         *timeout);
            return 4;
        }
    }
    const RunReport report = RunToCompletion(session);
    if (const std::size_t stuck = report.NeverFire.size()) {
        std::fprintf(stderr, "flowlattice: %s: %zu %s could never fire\n", qPrintable(file), stuck,
                     stuck == 1 ? "node" : "nodes");
        return 3;
    }
    return 0;
}

bool WriteTrace(const RunSession& session, const QString& trace, std::int64_t runLength) {
    const FiringRecorder& recorder = session.Watch.Recorder();
    const std::size_t dropped = recorder.Dropped();
    if (dropped > 0)
        std::fprintf(stderr,
                     "flowlattice: %s: the trace keeps the last %zu firings; %zu earlier "
                     "ones were dropped\n",
                     qPrintable(trace), FiringRecorder::kLimit, dropped);
    QString failure;
    if (WriteWholeFile(trace, TraceEventJson(recorder.Firings(), dropped, runLength), &failure))
        return true;
    std::fprintf(stderr, "flowlattice: %s: %s\n", qPrintable(trace), qPrintable(failure));
    return false;
}

} // namespace

int RunCommand(const QString& file, std::optional<double> timeout,
               std::optional<std::uint64_t> seed, const QString& trace,
               const std::vector<InputSetting>& settings) {
    RegisterCatalogue();
    Circuit* circuit = LoadForCommand(file, PartialRead::Warn);
    if (!circuit) return 2;
    if (const QString refused = ApplyInputSettings(*circuit, settings); !refused.isEmpty()) {
        std::fprintf(stderr, "flowlattice: %s: %s\n", qPrintable(file), qPrintable(refused));
        return 2;
    }
    // Kept for the whole process: a node thread that does not stop in time may still print,
    // and it reads its session.
    static TerminalObserver terminal;
    static RunSession session(*circuit, &terminal);
    session.Seed = seed ? *seed : FreshSeed();
    session.Watch.SetRecording(!trace.isEmpty());
    const int status = Run(session, file, timeout);
    const std::int64_t runLength = session.Watch.Recorder().Now();
    StopCircuitThreads(session);
    // A defect ran nothing: there is no trace to write.
    if (trace.isEmpty() || status == 1) return status;
    return WriteTrace(session, trace, runLength) ? status : 2;
}

} // namespace flow
