#include "editor/MenuCommands.h"

#include "editor/AddNodeMenu.h"
#include "editor/CircuitWindow.h"
#include "editor/ExportImage.h"
#include "editor/ViewCommands.h"
#include "engine/Execution.h"
#include "engine/Preparation.h"
#include "file/CircuitFile.h"
#include "model/Model.h"
#include "render/Redraw.h"

#include <QFileDialog>

namespace flow {

namespace {

QString AskWithDialog(QWidget* parent, FileDialogKind kind) {
    const QString filter = QStringLiteral("*.xml");
    if (kind == FileDialogKind::Open)
        return QFileDialog::getOpenFileName(parent, QStringLiteral("Open Circuit ..."), QString(),
                                            filter);
    // The name is used exactly as chosen, and an existing file is simply replaced.
    return QFileDialog::getSaveFileName(parent, QStringLiteral("Save Circuit ..."), QString(),
                                        filter, nullptr, QFileDialog::DontConfirmOverwrite);
}

QWidget* DialogParent(Circuit& circuit) {
    return qobject_cast<QWidget*>(circuit.Window);
}

} // namespace

FileNameChooser& ChooseFileName() {
    static FileNameChooser chooser = AskWithDialog;
    return chooser;
}

void OnMenu(Circuit& circuit, int commandId) {
    // The window of the command is redrawn, or the circuit that Open brought in; a new
    // circuit's window draws itself when it opens.
    Circuit* shown = &circuit;
    switch (commandId) {
    case Command::New:
        OpenCircuitWindow(NewCircuit());
        break;
    case Command::Open: {
        const QString name = ChooseFileName()(DialogParent(circuit), FileDialogKind::Open);
        if (name.isEmpty()) break;
        if (Circuit* loaded = LoadCircuit(name)) shown = &OpenCircuitWindow(*loaded);
        break;
    }
    case Command::SaveAs: {
        const QString name = ChooseFileName()(DialogParent(circuit), FileDialogKind::Save);
        if (!name.isEmpty()) SaveCircuit(circuit, name);
        break;
    }
    case Command::Close:
        CloseCircuit(circuit);
        return;
    case Command::Quit:
        QuitEditor();
        return;
    case Command::Start:
        if (PrepareCircuit(circuit)) ExecuteCircuit(circuit);
        break;
    case Command::ExportImage:
        ExportImage(circuit);
        break;
    case Command::ZoomIn:
        ZoomView(circuit, 1.0f);
        break;
    case Command::ZoomOut:
        ZoomView(circuit, -1.0f);
        break;
    case Command::FitCircuit:
        FitCircuitInView(circuit, CanvasSize(circuit));
        break;
    case Command::ActualSize:
        ShowActualSize(circuit);
        break;
    default:
        FillPreviewNode(commandId);
        break;
    }
    RedrawCircuit(*shown);
}

} // namespace flow
