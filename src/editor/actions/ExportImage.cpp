#include "editor/actions/ExportImage.h"

#include "editor/actions/DialogFolders.h"
#include "editor/actions/ReplaceQuestion.h"
#include "editor/actions/ViewCommands.h"
#include "editor/window/CircuitCanvas.h"
#include "editor/window/CircuitWindow.h"
#include "editor/window/StatusText.h"
#include "render/CircuitPicture.h"

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
    // Qt's own dialog, so that the choice of view can sit inside it. Replacing a file is asked
    // once, by the export itself, with No as the default.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
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

// The edited object is laid out again from what it holds, not from the edit buffer: before the
// picture, which shows what it holds, and after it, for the window.
void RelayOutEdited(const EditorState& editor) {
    if (editor.EditComment) editor.EditComment->Flags |= ObjectFlag::NeedsLayout;
    if (editor.EditNode) editor.EditNode->Flags |= ObjectFlag::NeedsLayout;
}

} // namespace

ExportChooser& ChooseExport() {
    static ExportChooser chooser = AskWithDialog;
    return chooser;
}

void ExportImage(Circuit& circuit) {
    CircuitWindow* window = WindowOf(circuit);
    if (!window) return;
    const ExportChoice choice = ChooseExport()(window);
    if (choice.FileName.isEmpty() ||
        !MayReplaceFile(window, QStringLiteral("Export Image"), choice.FileName))
        return;
    const QSize size = CanvasSize(circuit);
    // A picture of what the window shows, as --render draws it: none of the editing shows.
    const CircuitView& shown = window->View();
    CircuitView picture(circuit);
    picture.ShowsEditing = false;
    picture.OpenPath = shown.OpenPath;
    picture.SetCamera(shown.Camera());
    RelayOutEdited(shown);
    if (choice.WholeCircuit) FitCircuitInView(picture, size);
    QString failure;
    // As sharp as the canvas shows it on this screen.
    const double scale = window->Canvas()->devicePixelRatioF();
    const bool written = WriteCircuitPicture(picture, choice.FileName, size, scale, &failure);
    RelayOutEdited(shown);
    if (written) RememberExport(choice.FileName);
    ShowStatusNotice(
        circuit, written ? QStringLiteral("Exported %1").arg(choice.FileName)
                         : QStringLiteral("Cannot export %1: %2").arg(choice.FileName, failure));
}

} // namespace flow
