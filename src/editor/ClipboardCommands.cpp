#include "editor/ClipboardCommands.h"

#include "editor/CircuitCanvas.h"
#include "editor/Clipboard.h"
#include "editor/TextEditing.h"
#include "render/Camera.h"
#include "render/StatusText.h"

#include <QClipboard>
#include <QGuiApplication>

namespace flow {

namespace {

std::optional<QPointF> PointerInCircuit(const Circuit& circuit) {
    const auto* canvas = qobject_cast<const CircuitCanvas*>(circuit.Canvas);
    const std::optional<QPointF> pixel = canvas ? canvas->PointerOnCanvas() : std::nullopt;
    if (!pixel) return std::nullopt;
    return ToCircuitPoint(circuit, *pixel);
}

// Adds the group the text holds, as one step.
FrameObjects Paste(Circuit& circuit, std::string_view text, std::optional<QPointF> centre) {
    return PasteCircuitText(circuit, text, centre, kPasteOffset);
}

} // namespace

void CopySelection(Circuit& circuit) {
    if (EditingText()) {
        CopySelectedText();
        return;
    }
    const FrameObjects selected = SelectedObjects(circuit.MainFrame);
    // Copying nothing keeps what the clipboard held.
    if (selected.Nodes.empty() && selected.Comments.empty()) return;
    QGuiApplication::clipboard()->setMimeData(CircuitMimeData(CircuitFragmentText(selected)));
}

void CutSelection(Circuit& circuit) {
    if (EditingText()) {
        CutSelectedText();
        return;
    }
    CopySelection(circuit);
}

void PasteFromClipboard(Circuit& circuit) {
    if (EditingText()) {
        PasteText();
        return;
    }
    const QByteArray text = CircuitTextOf(QGuiApplication::clipboard()->mimeData());
    const FrameObjects pasted =
        Paste(circuit, std::string_view(text.constData(), std::size_t(text.size())),
              PointerInCircuit(circuit));
    if (pasted.Nodes.empty() && pasted.Comments.empty())
        ShowStatusNotice(circuit,
                         QStringLiteral("Nothing to paste: the clipboard holds no circuit"));
}

void DuplicateSelection(Circuit& circuit) {
    if (EditingText()) return;
    const FrameObjects selected = SelectedObjects(circuit.MainFrame);
    if (selected.Nodes.empty() && selected.Comments.empty()) return;
    Paste(circuit, CircuitFragmentText(selected), std::nullopt);
}

void SelectAllObjects(Circuit& circuit) {
    if (EditingText()) {
        SelectAllText();
        return;
    }
    for (const auto& comment : circuit.MainFrame.Comments)
        comment->Flags |= ObjectFlag::Selected;
    for (const auto& node : circuit.MainFrame.Nodes)
        node->Flags |= ObjectFlag::Selected;
}

} // namespace flow
