#include "editor/history/ClipboardText.h"

#include "file/CircuitReader.h"
#include "model/Coordinates.h"
#include "model/Placement.h"
#include "render/CommentDrawing.h"
#include "render/NodeDrawing.h"

#include <QMimeData>

#include <cmath>

namespace flow {

namespace {

bool IsSelected(int flags) {
    return (flags & ObjectFlag::Selected) != 0;
}

// Sizes of comments and constants come from their texts, measured for the first time here.
QRectF GroupBox(const FrameObjects& objects) {
    QRectF box;
    for (Comment* comment : objects.Comments) {
        LayoutComment(*comment);
        box |= QRectF(comment->X, comment->Y, comment->Width, comment->Height).normalized();
    }
    for (Node* node : objects.Nodes) {
        LayoutConstant(*node);
        box |= QRectF(node->X, node->Y, node->Width, node->Height).normalized();
    }
    return box;
}

void MoveGroup(const FrameObjects& objects, Int dx, Int dy) {
    for (Comment* comment : objects.Comments)
        MoveObject(*comment, SaturatedSum(comment->X, dx), SaturatedSum(comment->Y, dy));
    for (Node* node : objects.Nodes)
        MoveObject(*node, SaturatedSum(node->X, dx), SaturatedSum(node->Y, dy));
}

void SelectOnly(Frame& frame, const FrameObjects& objects) {
    const auto deselect = [](int& flags) { flags &= ~ObjectFlag::Selected; };
    for (const auto& comment : frame.Comments)
        deselect(comment->Flags);
    for (const auto& node : frame.Nodes) {
        deselect(node->Flags);
        for (const auto& port : node->Ports)
            deselect(port->Flags);
    }
    for (const auto& wire : frame.Wires)
        deselect(wire->Flags);
    for (Comment* comment : objects.Comments)
        comment->Flags |= ObjectFlag::Selected;
    for (Node* node : objects.Nodes)
        node->Flags |= ObjectFlag::Selected;
}

} // namespace

FrameObjects SelectedObjectsWithInnerWires(const Frame& frame) {
    FrameObjects selected;
    for (const auto& comment : frame.Comments)
        if (IsSelected(comment->Flags)) selected.Comments.push_back(comment.get());
    for (const auto& node : frame.Nodes)
        if (IsSelected(node->Flags)) selected.Nodes.push_back(node.get());
    const auto selectedNode = [](const Port* port) {
        return port && port->Node && IsSelected(port->Node->Flags);
    };
    for (const auto& wire : frame.Wires)
        if (selectedNode(wire->Source) && selectedNode(wire->Destination))
            selected.Wires.push_back(wire.get());
    return selected;
}

FrameObjects SelectedObjectsWithSelectedWires(const Frame& frame) {
    FrameObjects objects;
    for (const auto& wire : frame.Wires)
        if (IsSelected(wire->Flags)) objects.Wires.push_back(wire.get());
    for (const auto& node : frame.Nodes)
        if (IsSelected(node->Flags)) objects.Nodes.push_back(node.get());
    for (const auto& comment : frame.Comments)
        if (IsSelected(comment->Flags)) objects.Comments.push_back(comment.get());
    return objects;
}

QMimeData* CircuitMimeData(const std::string& text) {
    auto* data = new QMimeData;
    const QByteArray bytes(text.data(), qsizetype(text.size()));
    data->setData(QString::fromLatin1(kCircuitMimeType), bytes);
    data->setText(QString::fromUtf8(bytes));
    return data;
}

QByteArray CircuitTextOf(const QMimeData* data, qsizetype largest, bool* tooLarge) {
    if (tooLarge) *tooLarge = false;
    if (!data) return {};
    const auto fits = [&](qsizetype size) {
        const bool fit = largest < 0 || size <= largest;
        if (tooLarge) *tooLarge = !fit;
        return fit;
    };
    const QString type = QString::fromLatin1(kCircuitMimeType);
    if (data->hasFormat(type)) {
        QByteArray bytes = data->data(type);
        return fits(bytes.size()) ? bytes : QByteArray();
    }
    if (!data->hasText()) return {};
    const QString text = data->text();
    return fits(text.size()) ? text.toUtf8() : QByteArray();
}

FrameObjects PasteCircuitText(Circuit& circuit, std::string_view text,
                              std::optional<QPointF> centre, Int offset, ReadLosses* losses) {
    FrameObjects pasted = ReadCircuitFragment(circuit, text, losses);
    if (pasted.Empty()) return pasted;
    if (centre) {
        const QPointF shift = *centre - GroupBox(pasted).center();
        // Boxes read from text may lie anywhere an Int reaches.
        MoveGroup(pasted, NearestUnit(shift.x()), NearestUnit(shift.y()));
    } else {
        MoveGroup(pasted, offset, offset);
    }
    SelectOnly(circuit.MainFrame, pasted);
    return pasted;
}

} // namespace flow
