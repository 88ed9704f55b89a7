#pragma once
// The window of an open circuit: menu bar, canvas, output panel under a splitter, status bar.

#include "model/Records.h"

#include <QMainWindow>

#include <functional>

class QAction;
class QPlainTextEdit;
class QSplitter;
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
    // The title names the circuit's file and marks unsaved changes.
    void ShowTitle();
    // Undo and Redo name the step they would take, and are enabled when there is one.
    void ShowHistorySteps();

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
};

// Sets up the colours, fonts, add-node menu and editor state, and lets closing a circuit close
// its window. Needs the catalogue and a QApplication.
void SetupResources();

// Opens a window for the circuit and returns the circuit. Without stored geometry it cascades
// from `cascadeFrom`, or else from the circuit window in front.
Circuit& OpenCircuitWindow(Circuit& circuit, const QWidget* cascadeFrom = nullptr);
CircuitWindow* WindowOf(const Circuit& circuit);

// Stops every circuit's node threads, closes every window and ends the program.
void QuitEditor();

// Ends the event loop once no window is left; tests replace it to watch the program end.
std::function<void()>& EndProgram();

// Appends a printed line to the output panel and opens the panel to show its last lines.
void AppendOutputLine(Circuit& circuit, const QString& line);

} // namespace flow
