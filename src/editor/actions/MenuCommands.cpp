#include "editor/actions/MenuCommands.h"

#include "editor/canvas/OpenViews.h"

#include "editor/actions/AddNodeMenu.h"
#include "editor/actions/AlignCommands.h"
#include "editor/actions/ClipboardCommands.h"
#include "editor/actions/DialogFolders.h"
#include "editor/actions/ExportImage.h"
#include "editor/actions/FileCommands.h"
#include "editor/actions/FindCommands.h"
#include "editor/actions/HelpDialogs.h"
#include "editor/actions/ImportSubCircuits.h"
#include "editor/actions/InputsDialog.h"
#include "editor/actions/MakeSubCircuit.h"
#include "editor/actions/RenameSubCircuit.h"
#include "editor/actions/SelectConnected.h"
#include "editor/actions/SubCircuitView.h"
#include "editor/actions/UngroupInstances.h"
#include "editor/actions/ViewCommands.h"
#include "editor/canvas/CanvasInteraction.h"
#include "editor/canvas/CanvasRedraw.h"
#include "editor/canvas/GridSnap.h"
#include "editor/history/History.h"
#include "editor/window/CircuitWindow.h"
#include "editor/window/EditorProcess.h"
#include "editor/window/LiveRuns.h"
#include "editor/window/RunMarks.h"
#include "editor/window/RunReplay.h"
#include "editor/window/RunSteering.h"
#include "editor/window/StatusText.h"
#include "model/Model.h"
#include "render/Redraw.h"

#include <QFileDialog>
#include <QUndoStack>

#include <optional>

namespace flow {

namespace {

QString AskWithDialog(QWidget* parent, FileDialogKind kind) {
    const QString filter = QStringLiteral("*.xml");
    const QString folder = CircuitDialogFolder(parent);
    // The save asks before it replaces a file, once, with No as the default: the dialog's own
    // question would come first, with Yes. A recovered circuit is offered the file it came from.
    const auto* window = qobject_cast<const CircuitWindow*>(parent);
    const QString recoveredFrom = window ? window->OwnCircuit().RecoveredFrom : QString();
    const QString chosen =
        kind == FileDialogKind::Open
            ? QFileDialog::getOpenFileName(parent, QStringLiteral("Open Circuit ..."), folder,
                                           filter)
            : QFileDialog::getSaveFileName(parent, QStringLiteral("Save Circuit ..."),
                                           recoveredFrom.isEmpty() ? folder : recoveredFrom, filter,
                                           nullptr, QFileDialog::DontConfirmOverwrite);
    RememberDialogFolder(chosen);
    return chosen;
}

QWidget* DialogParent(Circuit& circuit) {
    return WindowOf(circuit);
}

// Quit asks about every modified circuit in turn; Cancel on any of them keeps everything open.
void QuitAsking() {
    for (const auto& open : Circuits())
        if (WindowOf(*open) && !MayClose(*open)) return;
    QuitEditor();
}

} // namespace

FileNameChooser& ChooseFileName() {
    static FileNameChooser chooser = AskWithDialog;
    return chooser;
}

void OnMenu(Circuit& circuit, int commandId) {
    if (commandId < kFirstAddNodeCommand) {
        OnMenu(circuit, Command(commandId));
        return;
    }
    if (const QString refusal = PlacementRefusal(circuit, MenuItemFunction(commandId));
        !refusal.isEmpty())
        ShowStatusNotice(circuit, refusal);
    else if (CircuitView* view = ViewOf(circuit))
        FillPreviewNode(view->Preview, commandId);
    RedrawCircuit(circuit);
}

void OnMenu(Circuit& circuit, Command command) {
    // The window of the command is redrawn, or the circuit that Open brought in; a new
    // circuit's window draws itself when it opens.
    Circuit* shown = &circuit;
    // A Start repaints at every run state, with nothing but the state changing in between.
    std::optional<SceneReuse> sameScene;
    const bool starts = command == Command::Start || command == Command::RepeatLastSeed;
    if (CircuitView* view = ViewOf(circuit); view && starts) sameScene.emplace(*view);
    switch (command) {
    case Command::Save:
    case Command::SaveAs:
    case Command::Start:
    case Command::RepeatLastSeed:
    case Command::Undo:
    case Command::Redo:
    case Command::MakeSubCircuit:
    case Command::Ungroup:
    case Command::Find:
    case Command::ImportSubCircuits:
    case Command::RenameSubCircuit:
        CommitEditOf(circuit);
        break;
    default:
        break;
    }
    switch (command) {
    case Command::New:
        OpenCircuitWindow(NewCircuit());
        break;
    case Command::Open: {
        const QString name = ChooseFileName()(DialogParent(circuit), FileDialogKind::Open);
        if (name.isEmpty()) break;
        if (Circuit* loaded = OpenCircuitFile(circuit, name)) shown = loaded;
        break;
    }
    case Command::Save:
        SaveCircuitFile(circuit);
        break;
    case Command::SaveAs:
        SaveCircuitFileAs(circuit);
        break;
    case Command::Close:
        if (!MayClose(circuit)) break;
        CloseCircuit(circuit);
        return;
    case Command::Quit:
        QuitAsking();
        if (OpenWindowCount() == 0) return;
        break;
    case Command::Undo:
        if (QUndoStack* history = HistoryOf(circuit)) history->undo();
        break;
    case Command::Redo:
        if (QUndoStack* history = HistoryOf(circuit)) history->redo();
        break;
    case Command::Start:
        // A paused run goes on; Start begins a new one only when none is held.
        if (RunHeld(circuit)) {
            ContinueCircuitRun(circuit);
            break;
        }
        [[fallthrough]];
    case Command::RepeatLastSeed:
        StartRun(circuit,
                 command == Command::RepeatLastSeed ? SeedChoice::Repeat : SeedChoice::Fresh);
        if (CircuitWindow* window = WindowOf(circuit)) window->NoteRun();
        break;
    case Command::StartWithInputs:
        StartWithInputs(circuit);
        break;
    case Command::Stop:
        StopCircuitRun(circuit);
        break;
    case Command::ToggleBreakpoint:
        ToggleBreakpoints(circuit);
        break;
    case Command::Pause:
        PauseCircuitRun(circuit);
        break;
    case Command::Step:
        StepCircuitRun(circuit);
        break;
    case Command::Replay:
        ReplayLatestRun(circuit);
        break;
    case Command::ReplayHalfSpeed:
    case Command::ReplayNormalSpeed:
    case Command::ReplayDoubleSpeed:
        SetReplaySpeed(ReplaySpeed(int(command) - int(Command::ReplayHalfSpeed)));
        break;
    case Command::RunTimeline:
        if (CircuitWindow* window = WindowOf(circuit))
            window->ShowTimeline(!window->TimelineShown());
        break;
    case Command::RunOnEveryChange:
        SetRunOnEveryChange(!RunOnEveryChangeOn());
        break;
    case Command::Cut:
        CutSelection(circuit);
        break;
    case Command::Copy:
        CopySelection(circuit);
        break;
    case Command::Paste:
        PasteFromClipboard(circuit);
        break;
    case Command::Duplicate:
        DuplicateSelection(circuit);
        break;
    case Command::Delete:
        DeleteSelectedObjects(circuit);
        break;
    case Command::SelectAll:
        SelectAllObjects(circuit);
        break;
    case Command::ExportImage:
        ExportImage(circuit);
        break;
    case Command::ImportSubCircuits:
        ImportSubCircuitsAsking(circuit);
        break;
    case Command::Find:
        OpenFindBar(circuit);
        break;
    case Command::ZoomIn:
        ZoomView(circuit, 1.0f);
        break;
    case Command::ZoomOut:
        ZoomView(circuit, -1.0f);
        break;
    case Command::FitCircuit:
        if (CircuitView* view = ViewOf(circuit)) FitCircuitInView(*view, CanvasSize(circuit));
        break;
    case Command::ActualSize:
        ShowActualSize(circuit);
        break;
    case Command::SnapToGrid:
        SetSnapToGrid(!SnapToGridOn());
        break;
    case Command::AlignLeft:
    case Command::AlignRight:
    case Command::AlignTop:
    case Command::AlignBottom:
    case Command::AlignCentres:
        AlignSelection(circuit, Alignment(int(command) - int(Command::AlignLeft)));
        break;
    case Command::DistributeHorizontally:
        DistributeSelection(circuit, Spread::Horizontally);
        break;
    case Command::DistributeVertically:
        DistributeSelection(circuit, Spread::Vertically);
        break;
    case Command::SelectConnected:
        SelectConnected(circuit);
        break;
    case Command::MakeSubCircuit:
        MakeSubCircuitFromSelection(circuit);
        break;
    case Command::Ungroup:
        UngroupSelection(circuit);
        break;
    case Command::RenameSubCircuit:
        RenameChosenSubCircuit(circuit);
        break;
    case Command::KeyboardShortcuts:
        ShowKeyboardShortcuts(circuit);
        break;
    case Command::About:
        ShowAbout(circuit);
        break;
    case Command::Functions:
        ShowFunctionReference(circuit);
        break;
    case Command::ShowValues:
        ToggleValueLabels();
        break;
    case Command::Overview:
        ToggleOverview();
        break;
    case Command::OpenSubCircuit:
        OpenSelectedInstance(circuit);
        break;
    case Command::Up:
        GoUp(circuit);
        break;
    default:
        break;
    }
    RedrawCircuit(*shown);
}

} // namespace flow
