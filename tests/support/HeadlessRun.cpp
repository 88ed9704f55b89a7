#include "support/HeadlessRun.h"

#include "support/Files.h"

#include "engine/Execution.h"
#include "engine/NodeThreads.h"
#include "engine/Preparation.h"
#include "engine/RunObserver.h"
#include "engine/RunSession.h"
#include "file/CircuitReader.h"
#include "model/Model.h"

#include <QDir>

#include <mutex>

namespace flow::test {

namespace {

class LineCollector : public RunObserver {
  public:
    void ClearOutput() override {}
    void SetRunStatus(const QString&) override {}
    void Redraw() override {}
    void PrintLine(const QString& line, std::uint64_t) override {
        std::lock_guard lock(mutex_);
        lines_.append(line);
    }
    std::mutex mutex_;
    QStringList lines_;
};

} // namespace

HeadlessResult RunHeadless(const std::string& bytes, const QString& folder) {
    const QString file = QDir(folder).filePath(QStringLiteral("headless.xml"));
    HeadlessResult result;
    Circuit* circuit = WriteBytes(file, bytes) ? LoadCircuit(file) : nullptr;
    if (!circuit) {
        result.Defect = QStringLiteral("not loaded");
        return result;
    }
    LineCollector collector;
    {
        RunSession session(*circuit, &collector);
        if (PrepareCircuit(session)) {
            ExecuteCircuit(session);
            RunToCompletion(session);
        } else {
            result.Defect = session.Fault().Message;
        }
    } // every thread has stopped
    result.Lines = collector.lines_;
    result.Lines.sort();
    FreeCircuit(*circuit);
    return result;
}

} // namespace flow::test
