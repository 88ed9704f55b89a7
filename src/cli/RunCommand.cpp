#include "cli/RunCommand.h"
#include "engine/BuiltInFunctions.h"

#include "cli/CommandLoad.h"
#include "engine/DefectPlace.h"
#include "engine/Execution.h"
#include "engine/NodeThreads.h"
#include "engine/Preparation.h"
#include "engine/RunObserver.h"
#include "file/CircuitWriter.h"
#include "model/Catalogue.h"

#include <cstdio>
#include <mutex>

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

int Run(RunSession& session, const QString& file) {
    if (!PrepareCircuit(session)) {
        std::fprintf(stderr, "flowlattice: %s: defect: %s%s\n", qPrintable(file),
                     qPrintable(session.Fault().Message),
                     qPrintable(DefectSuffix(session.Fault())));
        return 1;
    }
    ExecuteCircuit(session);
    const RunReport report = RunToCompletion(session);
    if (const std::size_t stuck = report.NeverFire.size()) {
        std::fprintf(stderr, "flowlattice: %s: %zu %s could never fire\n", qPrintable(file), stuck,
                     stuck == 1 ? "node" : "nodes");
        return 3;
    }
    return 0;
}

} // namespace

int RunCommand(const QString& file) {
    RegisterCatalogue();
    Circuit* circuit = LoadForCommand(file, PartialRead::Warn);
    if (!circuit) return 2;
    // Kept for the whole process: a node thread that does not stop in time may still print,
    // and it reads its session.
    static TerminalObserver terminal;
    static RunSession session(*circuit, &terminal);
    const int status = Run(session, file);
    StopCircuitThreads(session);
    return status;
}

} // namespace flow
