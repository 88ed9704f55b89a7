#include "editor/actions/ContextMenu.h"

#include "editor/actions/MenuCommands.h"
#include "editor/actions/RenameSubCircuit.h"
#include "editor/canvas/CanvasInteraction.h"
#include "editor/canvas/CanvasRedraw.h"
#include "editor/canvas/OpenViews.h"
#include "editor/window/CircuitWindow.h"
#include "model/Inputs.h"
#include "model/Model.h"
#include "model/ObjectsById.h"
#include "model/SubCircuits.h"
#include "render/Redraw.h"

#include <QMenu>
#include <QMenuBar>
#include <QPointer>

#include <algorithm>
#include <initializer_list>

namespace flow {

namespace {

QPointer<QMenu>& Opened() {
    static QPointer<QMenu> menu;
    return menu;
}

// What the last hit test found under the pointer: a port stands for its node.
struct Target {
    flow::Node* Node = nullptr;
    flow::Comment* Comment = nullptr;
    flow::Wire* Wire = nullptr;
    int* Flags() const {
        if (Node) return &Node->Flags;
        if (Comment) return &Comment->Flags;
        return Wire ? &Wire->Flags : nullptr;
    }
};

Target UnderPointer(Circuit& circuit) {
    const CircuitView* view = ViewOf(circuit);
    if (!view || !view->Has(InteractionFlag::HoverFound)) return {};
    const EditorState& editor = *view;
    if (editor.HoveredPort) return {editor.HoveredPort->Node, nullptr, nullptr};
    if (editor.HoveredNode) return {editor.HoveredNode, nullptr, nullptr};
    if (editor.HoveredComment) return {nullptr, editor.HoveredComment, nullptr};
    for (const auto& wire : ShownFrame(circuit).Wires)
        if (wire->Flags & ObjectFlag::Hovered) return {nullptr, nullptr, wire.get()};
    return {};
}

void SelectOnly(Circuit& circuit, int* flags) {
    Frame& frame = ShownFrame(circuit);
    for (const auto& comment : frame.Comments)
        comment->Flags &= ~ObjectFlag::Selected;
    for (const auto& node : frame.Nodes) {
        node->Flags &= ~ObjectFlag::Selected;
        for (const auto& port : node->Ports)
            port->Flags &= ~ObjectFlag::Selected;
    }
    for (const auto& wire : frame.Wires)
        wire->Flags &= ~ObjectFlag::Selected;
    if (CircuitView* view = ViewOf(circuit)) view->WireSource = nullptr;
    *flags |= ObjectFlag::Selected;
}

// The window's own action for the command, so that name, keys and effect are the Edit menu's.
QAction* WindowAction(const Circuit& circuit, Command command) {
    const CircuitWindow* window = WindowOf(circuit);
    if (!window) return nullptr;
    for (QAction* menu : window->menuBar()->actions())
        if (menu->menu())
            for (QAction* action : menu->menu()->actions())
                if (!action->menu() && action->data().isValid() &&
                    action->data().toInt() == int(command))
                    return action;
    return nullptr;
}

// Cut, Copy and Duplicate take nodes and comments with the wires between them: for wires alone
// they would do nothing.
bool OnlyWiresSelected(const Circuit& circuit) {
    const Frame& frame = ShownFrame(circuit);
    const auto selected = [](const auto& object) { return object->Flags & ObjectFlag::Selected; };
    return std::ranges::none_of(frame.Nodes, selected) &&
           std::ranges::none_of(frame.Comments, selected);
}

void AddWindowActions(QMenu* menu, const Circuit& circuit, std::initializer_list<Command> ids) {
    for (Command id : ids)
        if (QAction* action = WindowAction(circuit, id)) menu->addAction(action);
}

// Edits the text of the comment or constant with this ID, if it is still there.
void AddEditAction(QMenu* menu, Circuit& circuit, const QString& label, Int id, bool isNode) {
    QObject::connect(menu->addAction(label), &QAction::triggered, [&circuit, id, isNode] {
        Frame& frame = ShownFrame(circuit);
        Comment* comment = isNode ? nullptr : ObjectsById(frame.Comments).value(id);
        Node* node = isNode ? ObjectsById(frame.Nodes).value(id) : nullptr;
        if (!comment && !node) return;
        EditObjectText(comment, node);
        RedrawCircuit(circuit);
    });
}

} // namespace

bool PopUpContextMenu(Circuit& circuit, QPoint screenPosition) {
    const Target target = UnderPointer(circuit);
    int* flags = target.Flags();
    if (!flags) return false;
    CommitEditOf(circuit);
    if (!(*flags & ObjectFlag::Selected)) SelectOnly(circuit, flags);
    if (Opened()) Opened()->close();
    auto* menu = new QMenu(WindowOf(circuit));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    if (target.Wire && OnlyWiresSelected(circuit))
        AddWindowActions(menu, circuit, {Command::Delete});
    else
        AddWindowActions(menu, circuit,
                         {Command::Cut, Command::Copy, Command::Duplicate, Command::Delete});
    menu->addSeparator();
    // Open goes into the instance when it is the only node selected, as the Edit menu's does.
    if (target.Node && IsInstance(*target.Node)) {
        AddWindowActions(menu, circuit, {Command::OpenSubCircuit, Command::Ungroup});
        // The instance under the pointer names it, whatever else is selected.
        const QString name = target.Node->Function->Name;
        QObject::connect(menu->addAction(QStringLiteral("Rename Sub-circuit…")),
                         &QAction::triggered, [&circuit, name] {
                             if (FunctionDef* definition = FindSubCircuit(circuit, name))
                                 RenameSubCircuitAsking(circuit, *definition);
                             RedrawCircuit(circuit);
                         });
        menu->addSeparator();
    }
    if (target.Node && HoldsValue(*target.Node))
        AddEditAction(menu, circuit, QStringLiteral("Edit Value"), target.Node->Id, true);
    if (target.Node && IsInput(*target.Node)) {
        const Int id = target.Node->Id;
        QObject::connect(menu->addAction(QStringLiteral("Rename Input")), &QAction::triggered,
                         [&circuit, id] {
                             if (Node* input = ObjectsById(ShownFrame(circuit).Nodes).value(id))
                                 EditNameOf(*input);
                             RedrawCircuit(circuit);
                         });
    }
    if (target.Comment)
        AddEditAction(menu, circuit, QStringLiteral("Edit Text"), target.Comment->Id, false);
    if (!target.Comment)
        if (QAction* action = WindowAction(circuit, Command::SelectConnected))
            menu->addAction(action);
    if (target.Node) AddWindowActions(menu, circuit, {Command::ToggleBreakpoint});
    Opened() = menu;
    menu->popup(screenPosition);
    return true;
}

QMenu* OpenedContextMenu() {
    return Opened();
}

} // namespace flow
