#include "editor/window/WindowObserver.h"

#include "editor/canvas/CanvasRedraw.h"
#include "editor/window/CircuitWindow.h"
#include "editor/window/OutputPanel.h"
#include "editor/window/StatusText.h"
#include "engine/RandomDraws.h"
#include "render/Redraw.h"

#include <QCoreApplication>
#include <QHash>

namespace flow {

PrintEvent::PrintEvent(QByteArray line, std::uint64_t runNumber, Int nodeId) : QEvent(EventType()) {
    Lines.push_back({std::move(line), runNumber, nodeId});
}

QEvent::Type PrintEvent::EventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

QEvent::Type SettleEvent::EventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

QEvent::Type PausedEvent::EventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void WindowObserver::AttachCanvas(QObject* canvas) {
    std::lock_guard lock(mutex_);
    canvas_ = canvas;
    // An event still queued for the old canvas goes with it.
    pending_ = nullptr;
}

void WindowObserver::ClearOutput() {
    if (CircuitWindow* window = WindowOf(circuit_)) window->OutputPanel()->ClearLines();
}

void WindowObserver::SetRunStatus(const QString& text) {
    // The seed that makes the run's draws repeatable, for a circuit that draws any.
    const bool showSeed = !text.isEmpty() && HoldsRandom(circuit_);
    SetStatusText(circuit_, StatusField::RunStatus,
                  showSeed ? text + QStringLiteral(" (seed %1)").arg(session_.Seed) : text);
}

void WindowObserver::Redraw() {
    RedrawCircuit(circuit_);
    // The run state changes just before long work on this same thread (checking thousands of
    // nodes, starting their threads): the marker and the status text must reach the screen now,
    // not with a repaint merged after the work.
    if (CircuitWindow* window = WindowOf(circuit_)) window->repaint();
}

void WindowObserver::PrintLine(const QString& line, std::uint64_t runNumber) {
    PrintLineFrom(0, line, runNumber);
}

void WindowObserver::PrintLineFrom(Int nodeId, const QString& line, std::uint64_t runNumber) {
    PrintedLine printed{line.toUtf8(), runNumber, nodeId};
    std::lock_guard lock(mutex_);
    if (!canvas_) return;
    if (pending_) {
        pending_->Lines.push_back(std::move(printed));
        return;
    }
    pending_ = new PrintEvent(std::move(printed.Line), runNumber, nodeId);
    QCoreApplication::postEvent(canvas_, pending_);
}

void WindowObserver::RunMaySettle(std::uint64_t runNumber) {
    std::lock_guard lock(mutex_);
    // Posted after the lines printed before it, so the panel is complete when the run ends.
    if (canvas_) QCoreApplication::postEvent(canvas_, new SettleEvent(runNumber));
}

void WindowObserver::RunPaused(std::uint64_t runNumber) {
    std::lock_guard lock(mutex_);
    if (canvas_) QCoreApplication::postEvent(canvas_, new PausedEvent(runNumber));
}

std::vector<PrintedLine> WindowObserver::TakeLines(PrintEvent& event) {
    std::lock_guard lock(mutex_);
    if (pending_ == &event) pending_ = nullptr;
    return std::move(event.Lines);
}

namespace {

QHash<Circuit*, WindowObserver*>& Observers() {
    static auto* observers = new QHash<Circuit*, WindowObserver*>;
    return *observers;
}

} // namespace

WindowObserver& ObserverOf(Circuit& circuit) {
    WindowObserver*& observer = Observers()[&circuit];
    if (!observer) observer = new WindowObserver(circuit);
    return *observer;
}

void ForgetObserver(Circuit& circuit) {
    delete Observers().take(&circuit);
}

RunSession& SessionOf(Circuit& circuit) {
    return ObserverOf(circuit).Session();
}

} // namespace flow
