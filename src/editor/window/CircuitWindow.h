#pragma once
// The window of an open circuit: menu bar, canvas, output panel under a splitter, status bar.

#include "editor/window/OutputPanel.h"
#include "editor/window/StatusText.h"
#include "editor/window/WindowObserver.h"
#include "model/Records.h"
#include "render/CircuitView.h"

#include <QMainWindow>

#include <array>
#include <memory>
#include <vector>

class QAction;
class QLabel;
class QSplitter;
class QTimer;
class QUndoStack;

namespace flow {

class CircuitCanvas;
class OutsideChanges;
class RecoveryCopy;
class TimelinePanel;

class CircuitWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit CircuitWindow(Circuit& circuit);
    ~CircuitWindow() override;
    Circuit& OwnCircuit() const { return circuit_; }
    // What the window shows of its circuit and the interaction under way.
    CircuitView& View() const { return *view_; }
    // The circuit's edits, undone and redone; it lives and ends with the window.
    QUndoStack* History() const { return history_; }
    CircuitCanvas* Canvas() const { return canvas_; }
    flow::OutputPanel* OutputPanel() const { return outputPanel_; }
    QSplitter* Splitter() const { return splitter_; }
    QAction* UndoAction() const { return undo_; }
    QAction* RedoAction() const { return redo_; }
    QLabel* StatusFieldLabel(StatusField field) const { return statusFields_[std::size_t(field)]; }
    // The levels opened, as links out to each; hidden in the main frame.
    QLabel* OpenPathLabel() const { return openPath_; }
    // The circuit's copy for recovery after a crash.
    RecoveryCopy* Recovery() const { return recovery_; }
    // What other programs do to the circuit's file.
    OutsideChanges* Outside() const { return outside_; }
    // The title names the circuit's file (saying when it was deleted), marks unsaved changes and
    // names the levels opened.
    void ShowTitle();
    // The circuit was saved: its file is watched as written, its recovery copy follows.
    void NoteSaved();
    // Undo and Redo name the step they would take, and are enabled when there is one.
    void ShowHistorySteps();
    // A run started: the circuit's node threads are let go once it has had no run for
    // IdleThreadDelay.
    void NoteRun();
    // Takes the window away from its circuit while it closes: it shows it no more.
    void Detach();
    // View → Run Timeline: the panel between the canvas and the output panel, made when first
    // shown; while it shows, the circuit's runs are recorded.
    void ShowTimeline(bool shown);
    bool TimelineShown() const;
    TimelinePanel* Timeline() const { return timeline_; }
    // The latest run's firings into the timeline, when it shows; a timeline naming nodes that
    // are gone is emptied.
    void RefreshTimeline();
    void DropTimelineIfStale();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    Circuit& circuit_;
    std::unique_ptr<CircuitView> view_;
    CircuitCanvas* canvas_;
    flow::OutputPanel* outputPanel_;
    QSplitter* splitter_;
    QAction* undo_ = nullptr;
    QAction* redo_ = nullptr;
    QUndoStack* history_ = nullptr;
    QTimer* idleThreads_;
    std::array<QLabel*, kStatusFieldCount> statusFields_{};
    QLabel* openPath_ = nullptr;
    RecoveryCopy* recovery_ = nullptr;
    OutsideChanges* outside_ = nullptr;
    TimelinePanel* timeline_ = nullptr;
    bool detached_ = false;
};

// Opens a window for the circuit and returns the circuit. Without stored geometry it cascades
// from `cascadeFrom`, or else from the circuit window in front.
Circuit& OpenCircuitWindow(Circuit& circuit, const QWidget* cascadeFrom = nullptr);
// The window that shows the circuit; none for a circuit without a window.
CircuitWindow* WindowOf(const Circuit& circuit);

// Takes the window away from its circuit and lets it go; the circuit is freed once the window
// is gone and no thread of a run still holds it.
void DetachWindow(Circuit& circuit);

// Appends printed lines to the output panel, each with the ID of the Print node that printed it,
// and opens the panel to show its last lines.
void AppendOutputLines(Circuit& circuit, const QStringList& lines, const std::vector<Int>& nodeIds);
// Shows printed lines as they arrive from a run: those of the latest Start, appended.
void ShowPrintedLines(Circuit& circuit, const std::vector<PrintedLine>& lines);
// Highlights the output lines of the node (none: no line).
void ShowOutputLinesOf(Circuit& circuit, const Node* node);

} // namespace flow
