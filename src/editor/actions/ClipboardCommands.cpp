#include "editor/actions/ClipboardCommands.h"

#include "editor/canvas/CanvasInteraction.h"
#include "editor/canvas/GridSnap.h"
#include "editor/canvas/OpenViews.h"
#include "editor/canvas/TextEditing.h"
#include "editor/history/ClipboardText.h"
#include "editor/history/History.h"
#include "editor/window/CircuitCanvas.h"
#include "editor/window/CircuitWindow.h"
#include "editor/window/StatusText.h"
#include "file/CircuitWriter.h"
#include "model/SubCircuits.h"
#include "render/Camera.h"

#include <QClipboard>
#include <QGuiApplication>

namespace flow {

namespace {

std::optional<QPointF> PointerInCircuit(const Circuit& circuit) {
    const CircuitWindow* window = WindowOf(circuit);
    const std::optional<QPointF> pixel =
        window ? window->Canvas()->PointerOnCanvas() : std::nullopt;
    if (!pixel) return std::nullopt;
    return ToCircuitPoint(window->View(), *pixel);
}

// The text under edit in the circuit's window, which the clipboard commands act on instead of
// the objects; none while no text is edited.
CircuitView* EditedText(const Circuit& circuit) {
    CircuitView* view = ViewOf(circuit);
    return view && EditingText(*view) ? view : nullptr;
}

bool HasObjects(const FrameObjects& objects) {
    return !objects.Nodes.empty() || !objects.Comments.empty();
}

} // namespace

FrameObjects PasteAsStep(Circuit& circuit, const QString& name, std::string_view text,
                         std::optional<QPointF> centre, ReadLosses* losses, QString* refusal) {
    const PasteStep step{
        name, [&circuit](const FrameObjects& pasted) { SnapNewGroup(circuit, pasted); }, refusal};
    return PasteCircuitText(circuit, text, centre, kPasteOffset, losses, step);
}

void CopySelection(Circuit& circuit) {
    if (CircuitView* text = EditedText(circuit)) {
        CopySelectedText(*text);
        return;
    }
    const FrameObjects selected = SelectedObjectsWithInnerWires(ShownFrame(circuit));
    // Copying nothing keeps what the clipboard held.
    if (!HasObjects(selected)) return;
    QGuiApplication::clipboard()->setMimeData(
        CircuitMimeData(CopiedCircuitText(circuit, selected)));
}

void CutSelection(Circuit& circuit) {
    if (CircuitView* text = EditedText(circuit)) {
        CutSelectedText(*text);
        return;
    }
    CopySelection(circuit);
    DeleteObjects(circuit, QStringLiteral("Cut"),
                  SelectedObjectsWithSelectedWires(ShownFrame(circuit)));
}

void PasteFromClipboard(Circuit& circuit) {
    if (CircuitView* text = EditedText(circuit)) {
        PasteText(*text);
        return;
    }
    bool tooLarge = false;
    const QByteArray text =
        CircuitTextOf(QGuiApplication::clipboard()->mimeData(), kLargestPaste, &tooLarge);
    if (tooLarge) {
        ShowStatusNotice(circuit, QStringLiteral("Nothing pasted: the clipboard text is larger "
                                                 "than %1 MB")
                                      .arg(kLargestPaste >> 20));
        return;
    }
    ReadLosses losses;
    QString refusal;
    const FrameObjects pasted =
        PasteAsStep(circuit, QStringLiteral("Paste"),
                    std::string_view(text.constData(), std::size_t(text.size())),
                    PointerInCircuit(circuit), &losses, &refusal);
    if (losses.StopLine > 0 && HasObjects(pasted))
        ShowStatusNotice(
            circuit,
            QStringLiteral("Only the part before line %1 was pasted").arg(losses.StopLine));
    else if (!refusal.isEmpty())
        ShowStatusNotice(circuit, refusal);
    else if (!HasObjects(pasted))
        ShowStatusNotice(circuit,
                         QStringLiteral("Nothing to paste: the clipboard holds no circuit"));
}

void DuplicateSelection(Circuit& circuit) {
    if (EditedText(circuit)) return;
    const FrameObjects selected = SelectedObjectsWithInnerWires(ShownFrame(circuit));
    if (HasObjects(selected))
        PasteAsStep(circuit, QStringLiteral("Duplicate"), CopiedCircuitText(circuit, selected),
                    std::nullopt);
}

void SelectAllObjects(Circuit& circuit) {
    if (CircuitView* text = EditedText(circuit)) {
        SelectAllText(*text);
        return;
    }
    for (const auto& comment : ShownFrame(circuit).Comments)
        comment->Flags |= ObjectFlag::Selected;
    for (const auto& node : ShownFrame(circuit).Nodes)
        node->Flags |= ObjectFlag::Selected;
}

void DeleteSelectedObjects(Circuit& circuit) {
    if (CircuitView* text = EditedText(circuit)) {
        ApplyEditKey(*text, VirtualKey::Delete, 0);
        return;
    }
    DeleteObjects(circuit, QStringLiteral("Delete"),
                  SelectedObjectsWithSelectedWires(ShownFrame(circuit)));
}

} // namespace flow
