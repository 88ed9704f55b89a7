#include "editor/actions/ExportImage.h"

#include "editor/actions/DialogFolders.h"
#include "editor/actions/ViewCommands.h"
#include "editor/canvas/EditingHidden.h"
#include "editor/window/CircuitWindow.h"
#include "render/CircuitPicture.h"
#include "render/StatusText.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>

namespace flow {

namespace {

const QString kPngFilter = QStringLiteral("PNG image (*.png)");
const QString kSvgFilter = QStringLiteral("SVG image (*.svg)");

ExportChoice AskWithDialog(QWidget* parent) {
    QFileDialog dialog(parent, QStringLiteral("Export Image"));
    const auto* window = qobject_cast<const CircuitWindow*>(parent);
    if (window) dialog.setDirectory(ExportDialogFolder(window->OwnCircuit()));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // Qt's own dialog, so that the choice of view can sit inside it.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilters({kPngFilter, kSvgFilter});
    const QString format = LastExportFormat();
    dialog.selectNameFilter(format == QLatin1String("svg") ? kSvgFilter : kPngFilter);
    dialog.setDefaultSuffix(format);
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& f) {
        dialog.setDefaultSuffix(f == kSvgFilter ? QStringLiteral("svg") : QStringLiteral("png"));
    });
    auto* whole = new QCheckBox(QStringLiteral("Whole circuit (instead of the current view)"));
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
        grid->addWidget(whole, grid->rowCount(), 0, 1, -1);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return {dialog.selectedFiles().constFirst(), whole->isChecked()};
}

// The camera fields a fitted picture changes, to be put back afterwards.
struct CameraState {
    explicit CameraState(const Circuit& circuit)
        : X(circuit.CameraX), Y(circuit.CameraY), ZoomLevel(circuit.ZoomLevel),
          Magnification(circuit.Magnification) {}
    void Restore(Circuit& circuit) const {
        circuit.CameraX = X;
        circuit.CameraY = Y;
        circuit.ZoomLevel = ZoomLevel;
        circuit.Magnification = Magnification;
    }
    Int X, Y;
    float ZoomLevel, Magnification;
};

} // namespace

ExportChooser& ChooseExport() {
    static ExportChooser chooser = AskWithDialog;
    return chooser;
}

void ExportImage(Circuit& circuit) {
    const ExportChoice choice = ChooseExport()(qobject_cast<QWidget*>(circuit.Window));
    if (choice.FileName.isEmpty()) return;
    const QSize size = CanvasSize(circuit);
    const CameraState view(circuit);
    if (choice.WholeCircuit) FitCircuitInView(circuit, size);
    QString failure;
    // As sharp as the canvas shows it on this screen.
    const auto* canvas = qobject_cast<const QWidget*>(circuit.Canvas);
    const double scale = canvas ? canvas->devicePixelRatioF() : 1.0;
    bool written = false;
    {
        // A picture of the circuit, as --render draws it: none of the editing shows.
        const EditingHidden plain(circuit);
        written = WriteCircuitPicture(circuit, choice.FileName, size, scale, &failure);
    }
    view.Restore(circuit);
    if (written) RememberExport(choice.FileName);
    ShowStatusNotice(
        circuit, written ? QStringLiteral("Exported %1").arg(choice.FileName)
                         : QStringLiteral("Cannot export %1: %2").arg(choice.FileName, failure));
}

} // namespace flow
