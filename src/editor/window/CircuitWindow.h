#pragma once
// The window of an open circuit: menu bar, canvas, output panel under a splitter, status bar.

#include "model/Records.h"
#include "render/StatusText.h"

#include <QMainWindow>

#include <array>

class QAction;
class QLabel;
class QPlainTextEdit;
class QSplitter;
class QTimer;
class QUndoStack;

namespace flow {

class CircuitCanvas;

class CircuitWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit CircuitWindow(Circuit& circuit);
    ~CircuitWindow() override;
    Circuit& OwnCircuit() const { return circuit_; }
    CircuitCanvas* Canvas() const { return canvas_; }
    QPlainTextEdit* OutputPanel() const { return outputPanel_; }
    QSplitter* Splitter() const { return splitter_; }
    QAction* UndoAction() const { return undo_; }
    QAction* RedoAction() const { return redo_; }
    QLabel* StatusFieldLabel(StatusField field) const { return statusFields_[std::size_t(field)]; }
    // The title names the circuit's file and marks unsaved changes.
    void ShowTitle();
    // Undo and Redo name the step they would take, and are enabled when there is one.
    void ShowHistorySteps();
    // A run started: the circuit's node threads are let go once it has had no run for
    // IdleThreadDelay.
    void NoteRun();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    Circuit& circuit_;
    CircuitCanvas* canvas_;
    QPlainTextEdit* outputPanel_;
    QSplitter* splitter_;
    QAction* undo_ = nullptr;
    QAction* redo_ = nullptr;
    QUndoStack* history_ = nullptr;
    QTimer* idleThreads_;
    std::array<QLabel*, kStatusFieldCount> statusFields_{};
};

// Opens a window for the circuit and returns the circuit. Without stored geometry it cascades
// from `cascadeFrom`, or else from the circuit window in front.
Circuit& OpenCircuitWindow(Circuit& circuit, const QWidget* cascadeFrom = nullptr);
CircuitWindow* WindowOf(const Circuit& circuit);

// Takes the window away from its circuit and lets it go; the circuit is freed once the window
// is gone and no thread of a run still holds it.
void DetachWindow(Circuit& circuit);

// Appends a printed line to the output panel and opens the panel to show its last lines.
void AppendOutputLine(Circuit& circuit, const QString& line);

} // namespace flow
