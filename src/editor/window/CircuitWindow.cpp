#include "editor/window/CircuitWindow.h"

#include "editor/actions/AddNodeMenu.h"
#include "editor/actions/FileCommands.h"
#include "editor/actions/MenuCommands.h"
#include "editor/actions/SubCircuitView.h"
#include "editor/actions/ViewCommands.h"
#include "editor/canvas/CanvasInteraction.h"
#include "editor/canvas/CanvasRedraw.h"
#include "editor/canvas/GridSnap.h"
#include "editor/canvas/OpenViews.h"
#include "editor/history/History.h"
#include "editor/window/CircuitCanvas.h"
#include "editor/window/CircuitRelease.h"
#include "editor/window/CommandKeys.h"
#include "editor/window/LiveRuns.h"
#include "editor/window/OutputPanel.h"
#include "editor/window/OutputPanelMenu.h"
#include "editor/window/OutsideChanges.h"
#include "editor/window/PanelHeight.h"
#include "editor/window/RecentFiles.h"
#include "editor/window/RecoveryCopy.h"
#include "editor/window/RunMarks.h"
#include "editor/window/RunReplay.h"
#include "editor/window/RunSteering.h"
#include "editor/window/StatusText.h"
#include "editor/window/TimelinePanel.h"
#include "editor/window/UniqueShortcuts.h"
#include "editor/window/WindowObserver.h"
#include "editor/window/WindowPlacement.h"
#include "engine/NodeThreads.h"
#include "engine/Settling.h"
#include "engine/ThreadReserve.h"
#include "model/Expansion.h"
#include "model/Model.h"
#include "render/Overview.h"
#include "render/Redraw.h"
#include "render/ValueLabels.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QUndoStack>

#include <algorithm>
#include <unordered_set>

namespace flow {

namespace {

constexpr int kCascadeStep = 40;
constexpr QSize kDefaultInnerSize{800, 600};
constexpr QSize kMinimumInnerSize{200, 150};
constexpr int kSeparatorHeight = 4;

// Outer position and inner size of a new window.
QRect PlaceWindow(const Circuit& circuit, const QWidget* cascadeFrom) {
    if (circuit.Saved.WindowWidth != 0 || circuit.Saved.WindowHeight != 0)
        return FitStoredGeometry(circuit.Saved.WindowX, circuit.Saved.WindowY,
                                 circuit.Saved.WindowWidth, circuit.Saved.WindowHeight,
                                 kMinimumInnerSize);
    if (!cascadeFrom) cascadeFrom = qobject_cast<CircuitWindow*>(QApplication::activeWindow());
    if (const QWidget* front = cascadeFrom)
        return {front->frameGeometry().topLeft() + QPoint(kCascadeStep, kCascadeStep),
                front->size()};
    QRect screen(QPoint(0, 0), kDefaultInnerSize);
    if (const QScreen* primary = QGuiApplication::primaryScreen())
        screen = primary->availableGeometry();
    QRect placed(QPoint(0, 0), kDefaultInnerSize);
    placed.moveCenter(screen.center());
    return placed;
}

template <typename AddCommand> QMenu* AddViewMenu(QMenuBar* bar, AddCommand addCommand) {
    // Before Run, as menus usually stand.
    QMenu* view = new QMenu(QStringLiteral("View"), bar);
    bar->insertMenu(bar->actions().constLast(), view);
    // Ctrl+= is Ctrl++ without Shift on most keyboards.
    addCommand(view, QStringLiteral("Zoom In"), Command::ZoomIn)
        ->setShortcuts({QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    addCommand(view, QStringLiteral("Zoom Out"), Command::ZoomOut)
        ->setShortcuts(QKeySequence::ZoomOut);
    addCommand(view, QStringLiteral("Fit Circuit"), Command::FitCircuit)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    addCommand(view, QStringLiteral("Actual Size"), Command::ActualSize)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_1));
    view->addSeparator();
    // Choices for every window: each menu shows them as they stand when it opens.
    const auto addChoice = [&](const QString& label, Command command, bool (*on)()) {
        QAction* choice = addCommand(view, label, command);
        choice->setCheckable(true);
        QObject::connect(view, &QMenu::aboutToShow, choice,
                         [choice, on] { choice->setChecked(on()); });
        choice->setChecked(on());
    };
    addChoice(QStringLiteral("Show Values"), Command::ShowValues, ValueLabelsShown);
    addChoice(QStringLiteral("Overview"), Command::Overview, OverviewShown);
    addChoice(QStringLiteral("Snap to Grid"), Command::SnapToGrid, SnapToGridOn);
    view->addSeparator();
    // A text being typed on the canvas, or in a field, takes Backspace first.
    addCommand(view, QStringLiteral("Up"), Command::Up, {QKeySequence(Qt::Key_Backspace)});
    return view;
}

template <typename AddCommand> void AddArrangeItems(QMenu* edit, AddCommand addCommand) {
    addCommand(edit, QStringLiteral("Select Connected"), Command::SelectConnected);
    edit->addSeparator();
    QMenu* align = edit->addMenu(QStringLiteral("Align"));
    addCommand(align, QStringLiteral("Left"), Command::AlignLeft);
    addCommand(align, QStringLiteral("Right"), Command::AlignRight);
    addCommand(align, QStringLiteral("Top"), Command::AlignTop);
    addCommand(align, QStringLiteral("Bottom"), Command::AlignBottom);
    addCommand(align, QStringLiteral("Centres"), Command::AlignCentres);
    QMenu* distribute = edit->addMenu(QStringLiteral("Distribute"));
    addCommand(distribute, QStringLiteral("Horizontally"), Command::DistributeHorizontally);
    addCommand(distribute, QStringLiteral("Vertically"), Command::DistributeVertically);
}

template <typename AddCommand> void AddHelpMenu(QMenuBar* bar, AddCommand addCommand) {
    QMenu* help = bar->addMenu(QStringLiteral("Help"));
    addCommand(help, QStringLiteral("Keyboard Shortcuts"), Command::KeyboardShortcuts)
        ->setShortcut(QKeySequence(Qt::Key_F1));
    addCommand(help, QStringLiteral("Functions"), Command::Functions);
    addCommand(help, QStringLiteral("About Flowlattice"), Command::About);
}

} // namespace

CircuitWindow::CircuitWindow(Circuit& circuit)
    : circuit_(circuit), view_(std::make_unique<CircuitView>(circuit)),
      canvas_(new CircuitCanvas(circuit)), outputPanel_(new flow::OutputPanel([&circuit](Int node) {
          // Lines name main-frame nodes, even those printed inside an instance.
          GoUpTo(circuit, 0);
          ShowNode(circuit, node);
      })),
      splitter_(new QSplitter(Qt::Vertical)), idleThreads_(new QTimer(this)) {
    ListView(*view_);
    view_->Window = this;
    view_->Canvas = canvas_;
    view_->Run = &SessionOf(circuit);
    view_->StatusLine = statusBar();
    view_->TakeSavedCamera();
    setMinimumSize(kMinimumInnerSize);
    idleThreads_->setSingleShot(true);
    connect(idleThreads_, &QTimer::timeout, this, [this] {
        // A run still under way keeps its threads: stopping them would cut it short.
        RunSession& session = SessionOf(circuit_);
        if (!HasSettled(session, OutlookOf(session))) {
            idleThreads_->start(IdleThreadDelay());
            return;
        }
        StopCircuitThreads(session);
    });
    AddOutputPanelMenu(outputPanel_);

    auto addCommand = [this](QMenu* menu, const QString& label, Command id,
                             const QList<QKeySequence>& keys = {}) {
        QAction* action = menu->addAction(label);
        action->setShortcuts(keys);
        action->setData(int(id));
        connect(action, &QAction::triggered, this, [this, id] { OnMenu(circuit_, id); });
        return action;
    };
    const auto keys = [](QKeySequence::StandardKey key, QKeySequence common) {
        return CommandKeys(key, common);
    };
    QMenu* file = menuBar()->addMenu(QStringLiteral("File"));
    addCommand(file, QStringLiteral("New"), Command::New,
               keys(QKeySequence::New, Qt::CTRL | Qt::Key_N));
    addCommand(file, QStringLiteral("Open"), Command::Open,
               keys(QKeySequence::Open, Qt::CTRL | Qt::Key_O));
    QMenu* recent = file->addMenu(QStringLiteral("Open Recent"));
    connect(recent, &QMenu::aboutToShow, this,
            [this, recent] { FillRecentFilesMenu(recent, circuit_); });
    addCommand(file, QStringLiteral("Save"), Command::Save,
               keys(QKeySequence::Save, Qt::CTRL | Qt::Key_S));
    addCommand(file, QStringLiteral("SaveAs"), Command::SaveAs,
               keys(QKeySequence::SaveAs, Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    addCommand(file, QStringLiteral("Export Image…"), Command::ExportImage);
    addCommand(file, QStringLiteral("Import Sub-circuits…"), Command::ImportSubCircuits);
    addCommand(file, QStringLiteral("Close"), Command::Close,
               keys(QKeySequence::Close, Qt::CTRL | Qt::Key_W));
    addCommand(file, QStringLiteral("Quit"), Command::Quit,
               keys(QKeySequence::Quit, Qt::CTRL | Qt::Key_Q));
    QMenu* edit = menuBar()->addMenu(QStringLiteral("Edit"));
    undo_ = addCommand(edit, QStringLiteral("Undo"), Command::Undo,
                       keys(QKeySequence::Undo, Qt::CTRL | Qt::Key_Z));
    redo_ = addCommand(
        edit, QStringLiteral("Redo"), Command::Redo,
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    edit->addSeparator();
    addCommand(edit, QStringLiteral("Cut"), Command::Cut,
               keys(QKeySequence::Cut, Qt::CTRL | Qt::Key_X));
    addCommand(edit, QStringLiteral("Copy"), Command::Copy,
               keys(QKeySequence::Copy, Qt::CTRL | Qt::Key_C));
    addCommand(edit, QStringLiteral("Paste"), Command::Paste,
               keys(QKeySequence::Paste, Qt::CTRL | Qt::Key_V));
    addCommand(edit, QStringLiteral("Duplicate"), Command::Duplicate,
               {QKeySequence(Qt::CTRL | Qt::Key_D)});
    // Some platforms also delete with Ctrl+D, which is Duplicate's: both would go dead.
    QList<QKeySequence> deleteKeys = keys(QKeySequence::Delete, Qt::Key_Delete);
    deleteKeys.removeAll(QKeySequence(Qt::CTRL | Qt::Key_D));
    addCommand(edit, QStringLiteral("Delete"), Command::Delete, deleteKeys);
    edit->addSeparator();
    addCommand(edit, QStringLiteral("Select All"), Command::SelectAll,
               keys(QKeySequence::SelectAll, Qt::CTRL | Qt::Key_A));
    addCommand(edit, QStringLiteral("Find"), Command::Find,
               keys(QKeySequence::Find, Qt::CTRL | Qt::Key_F));
    AddArrangeItems(edit, addCommand);
    edit->addSeparator();
    addCommand(edit, QStringLiteral("Make Sub-circuit"), Command::MakeSubCircuit,
               {QKeySequence(Qt::CTRL | Qt::Key_G)});
    addCommand(edit, QStringLiteral("Ungroup"), Command::Ungroup,
               {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_G)});
    addCommand(edit, QStringLiteral("Open Sub-circuit"), Command::OpenSubCircuit);
    addCommand(edit, QStringLiteral("Rename Sub-circuit…"), Command::RenameSubCircuit);
    QMenu* run = menuBar()->addMenu(QStringLiteral("Run"));
    addCommand(run, QStringLiteral("Start"), Command::Start, {QKeySequence(Qt::Key_F5)});
    addCommand(run, QStringLiteral("Start With Inputs…"), Command::StartWithInputs,
               {QKeySequence(Qt::CTRL | Qt::Key_F5)});
    addCommand(run, QStringLiteral("Stop"), Command::Stop, {QKeySequence(Qt::SHIFT | Qt::Key_F5)});
    addCommand(run, QStringLiteral("Repeat Last Seed"), Command::RepeatLastSeed);
    run->addSeparator();
    addCommand(run, QStringLiteral("Pause"), Command::Pause, {QKeySequence(Qt::Key_F6)});
    addCommand(run, QStringLiteral("Step"), Command::Step, {QKeySequence(Qt::Key_F10)});
    addCommand(run, QStringLiteral("Toggle Breakpoint"), Command::ToggleBreakpoint,
               {QKeySequence(Qt::Key_F9)});
    run->addSeparator();
    addCommand(run, QStringLiteral("Replay"), Command::Replay);
    QMenu* speeds = run->addMenu(QStringLiteral("Replay Speed"));
    auto* speedGroup = new QActionGroup(speeds);
    for (const auto& [label, id] : {std::pair{QStringLiteral("½×"), Command::ReplayHalfSpeed},
                                    std::pair{QStringLiteral("1×"), Command::ReplayNormalSpeed},
                                    std::pair{QStringLiteral("2×"), Command::ReplayDoubleSpeed}}) {
        QAction* speed = addCommand(speeds, label, id);
        speed->setCheckable(true);
        speed->setActionGroup(speedGroup);
        speed->setChecked(int(id) - int(Command::ReplayHalfSpeed) == int(CurrentReplaySpeed()));
    }
    QAction* live =
        addCommand(run, QStringLiteral("Run on Every Change"), Command::RunOnEveryChange);
    live->setCheckable(true);
    live->setChecked(RunOnEveryChangeOn());
    connect(run, &QMenu::aboutToShow, live, [live] { live->setChecked(RunOnEveryChangeOn()); });
    QMenu* view = AddViewMenu(menuBar(), addCommand);
    view->addSeparator();
    QAction* timeline = addCommand(view, QStringLiteral("Run Timeline"), Command::RunTimeline);
    timeline->setCheckable(true);
    connect(view, &QMenu::aboutToShow, timeline,
            [this, timeline] { timeline->setChecked(TimelineShown()); });
    AddHelpMenu(menuBar(), addCommand);
    KeepShortcutsUnique(findChildren<QAction*>());

    history_ = new QUndoStack(this);
    history_->setUndoLimit(kHistoryLimit);
    view_->History = history_;
    connect(history_, &QUndoStack::cleanChanged, this, [this] { ShowTitle(); });
    recovery_ = new RecoveryCopy(circuit_, history_, this);
    outside_ = new OutsideChanges(circuit_, this);
    connect(history_, &QUndoStack::indexChanged, this, [this] {
        // First: an instance the window is in may be gone, and everything below draws.
        const bool wentOut = KeepOpenPathValid(circuit_);
        // The title names the levels opened, whose sub-circuits a step may have renamed.
        ShowTitle();
        ShowHistorySteps();
        // A circuit that grew by an edit, an undo or a redo has its threads ready by its run.
        ReserveThreadsFor(SessionOf(circuit_));
        StopHeldRunForEdit(circuit_);
        DropTimelineIfStale();
        ForgetRunMarks(circuit_);
        NoteEditForLiveRun(circuit_);
        if (wentOut) RedrawCircuit(circuit_);
    });
    ShowTitle();
    ShowHistorySteps();

    statusFields_ = AddStatusFields(*statusBar());
    for (int i = 0; i < kStatusFieldCount; ++i)
        view_->StatusFields[std::size_t(i)] = statusFields_[std::size_t(i)];

    // Where the window stands inside the circuit; a click on a level goes out to it.
    openPath_ = new QLabel;
    openPath_->setTextFormat(Qt::RichText);
    openPath_->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    connect(openPath_, &QLabel::linkActivated, this, [this](const QString& depth) {
        GoUpTo(circuit_, std::size_t(depth.toULongLong()));
        RedrawCircuit(circuit_);
    });
    statusBar()->insertWidget(0, openPath_);
    ShowTitle();

    splitter_->setHandleWidth(kSeparatorHeight);
    splitter_->addWidget(canvas_);
    splitter_->addWidget(outputPanel_);
    // On a resize the panel keeps its height and the canvas takes the difference.
    splitter_->setStretchFactor(0, 1);
    splitter_->setStretchFactor(1, 0);
    splitter_->setCollapsible(0, false);
    KeepPanelHeightOf(*splitter_);
    setCentralWidget(splitter_);
}

// The history goes with the window's children, after this part of the window is gone; its last
// signals, sent while it clears itself, must not reach the window any more.
CircuitWindow::~CircuitWindow() {
    UnlistView(*view_);
    history_->disconnect(this);
}

void CircuitWindow::ShowTitle() {
    // The modified marker belongs to the file, before the levels opened in it.
    const QString deleted =
        outside_ && outside_->Deleted() ? QStringLiteral(" (deleted)") : QString();
    setWindowTitle(CircuitTitle(circuit_) + deleted + QStringLiteral("[*]") +
                   OpenPathText(circuit_));
    if (openPath_) {
        openPath_->setText(OpenPathLinks(circuit_, CircuitTitle(circuit_)));
        openPath_->setVisible(!view_->OpenPath.empty());
    }
    setWindowModified(IsModified(circuit_));
}

void CircuitWindow::ShowHistorySteps() {
    const QUndoStack* history = HistoryOf(circuit_);
    if (!history) return;
    // A text still being typed becomes a step when Undo is chosen.
    const QString pending = PendingStepName(circuit_);
    const QString undoStep = pending.isEmpty() ? history->undoText() : pending;
    // The oldest steps may have been forgotten for the memory budget: they undo nothing.
    const bool canUndo =
        history->canUndo() && !history->command(history->index() - 1)->isObsolete();
    undo_->setEnabled(!pending.isEmpty() || canUndo);
    undo_->setText(undoStep.isEmpty() ? QStringLiteral("Undo")
                                      : QStringLiteral("Undo ") + undoStep);
    redo_->setEnabled(pending.isEmpty() && history->canRedo());
    redo_->setText(history->redoText().isEmpty() || !pending.isEmpty()
                       ? QStringLiteral("Redo")
                       : QStringLiteral("Redo ") + history->redoText());
}

void CircuitWindow::NoteSaved() {
    outside_->Follow();
    recovery_->Follow();
    ShowTitle();
}

void CircuitWindow::NoteRun() {
    idleThreads_->start(IdleThreadDelay());
}

void CircuitWindow::ShowTimeline(bool shown) {
    if (shown && !timeline_) {
        timeline_ = new TimelinePanel([this](const Node* node) {
            // Nodes inside instances are shown by the instance that holds them.
            const Node* outer = OutermostNode(const_cast<Node*>(node));
            GoUpTo(circuit_, 0);
            ShowNode(circuit_, outer->Id);
        });
        splitter_->insertWidget(1, timeline_);
        splitter_->setStretchFactor(1, 0);
        splitter_->setCollapsible(1, false);
    }
    if (!timeline_) return;
    timeline_->setVisible(shown);
    SessionOf(circuit_).Watch.SetRecording(shown);
    if (shown) {
        QList<int> sizes = splitter_->sizes();
        const int height = std::min(200, sizes[0] / 2);
        if (sizes[1] < height) {
            sizes[0] -= height - sizes[1];
            sizes[1] = height;
            splitter_->setSizes(sizes);
        }
        RefreshTimeline();
    }
}

bool CircuitWindow::TimelineShown() const {
    return timeline_ && !timeline_->isHidden();
}

void CircuitWindow::RefreshTimeline() {
    if (!TimelineShown()) return;
    const FiringRecorder& recorder = SessionOf(circuit_).Watch.Recorder();
    timeline_->ShowFirings(recorder.Firings(), recorder.Dropped());
}

void CircuitWindow::DropTimelineIfStale() {
    if (!timeline_ || timeline_->Firings().empty()) return;
    const std::vector<Node*> running = RunNodes(circuit_);
    const std::unordered_set<const Node*> present(running.begin(), running.end());
    for (const FiringRecord& firing : timeline_->Firings())
        if (!present.contains(firing.Fired)) {
            timeline_->ShowFirings({}, 0);
            return;
        }
}

void CircuitWindow::closeEvent(QCloseEvent* event) {
    if (!detached_) {
        if (!MayClose(circuit_)) {
            event->ignore();
            return;
        }
        CloseCircuit(circuit_);
    }
    event->accept();
}

Circuit& OpenCircuitWindow(Circuit& circuit, const QWidget* cascadeFrom) {
    const QRect placement = PlaceWindow(circuit, cascadeFrom);
    auto* window = new CircuitWindow(circuit);
    ++OpenWindowCount();
    ObserverOf(circuit).AttachCanvas(window->Canvas());

    window->resize(placement.size());
    window->move(placement.topLeft());
    window->Splitter()->setSizes({placement.height(), 0});
    window->show();
    // At the height the user last left it (collapsed at first, until something prints), now
    // that the splitter has its size.
    SetPanelHeight(*window->Splitter(), KeptPanelHeight());
    window->activateWindow();
    window->Canvas()->setFocus();
    RedrawCircuit(circuit);
    // Started in the background while the user looks at the circuit, not when F5 is pressed.
    ReserveThreadsFor(SessionOf(circuit));
    return circuit;
}

// Takes the window away from its circuit; the circuit is freed once the window is gone.
void DetachWindow(Circuit& circuit) {
    CircuitWindow* window = WindowOf(circuit);
    if (!window) return;
    ObserverOf(circuit).AttachCanvas(nullptr);
    window->Detach();
    window->hide();
    // The window may be closing from inside one of its own handlers.
    window->deleteLater();
    ReleaseAfterWindow(circuit, window);
    --OpenWindowCount();
}

void CircuitWindow::Detach() {
    detached_ = true;
    recovery_->Close();
    UnlistView(*view_);
}

CircuitWindow* WindowOf(const Circuit& circuit) {
    const CircuitView* view = ViewOf(circuit);
    return view ? static_cast<CircuitWindow*>(view->Window) : nullptr;
}

void AppendOutputLines(Circuit& circuit, const QStringList& lines,
                       const std::vector<Int>& nodeIds) {
    CircuitWindow* window = WindowOf(circuit);
    if (!window) return;
    window->OutputPanel()->AppendLines(lines, nodeIds);
    OpenPanelForOutput(*window->Splitter());
}

void ShowPrintedLines(Circuit& circuit, const std::vector<PrintedLine>& lines) {
    // The panel takes the lines of one Start in one piece: appended one by one, ten thousand
    // lines would cost seconds of layout.
    for (std::size_t first = 0; first < lines.size();) {
        const std::uint64_t run = lines[first].RunNumber;
        QStringList texts;
        std::vector<Int> nodeIds;
        std::size_t next = first;
        for (; next < lines.size() && lines[next].RunNumber == run; ++next) {
            texts.append(QString::fromUtf8(lines[next].Line));
            nodeIds.push_back(lines[next].NodeId);
        }
        // Lines of an earlier Start may still arrive after a new one began; they are not shown.
        if (run == SessionOf(circuit).RunNumber.load()) AppendOutputLines(circuit, texts, nodeIds);
        first = next;
    }
}

void ShowOutputLinesOf(Circuit& circuit, const Node* node) {
    if (CircuitWindow* window = WindowOf(circuit))
        window->OutputPanel()->HighlightLinesOf(node ? node->Id : 0);
}

} // namespace flow
