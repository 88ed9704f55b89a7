#include "editor/actions/AddNodeMenu.h"

#include "editor/actions/MenuCommands.h"
#include "editor/canvas/CanvasRedraw.h"
#include "editor/canvas/OpenViews.h"
#include "editor/history/History.h"
#include "editor/window/StatusText.h"
#include "model/Catalogue.h"
#include "model/Inputs.h"
#include "model/Model.h"
#include "model/SubCircuits.h"
#include "render/Redraw.h"

#include <QMenu>
#include <QStringList>

#include <algorithm>
#include <tuple>

namespace flow {

namespace {

// An add-node item and the function it is of.
struct MenuPlace {
    FunctionDef* Function;
    const AddNodeItem* Item;
};

// The catalogue's add-node items in menu order: the submenus in the order their names first
// come up in the catalogue, then the menu's own items; in each, by section and rank. An item's
// command id is kFirstAddNodeCommand plus its place here.
std::vector<MenuPlace> ItemsInMenuOrder() {
    std::vector<MenuPlace> items;
    QStringList groups;
    for (FunctionDef* function : Catalogue().InOrder)
        for (const AddNodeItem& item : function->MenuItems) {
            items.push_back({function, &item});
            if (!item.Group.isEmpty() && !groups.contains(item.Group)) groups.append(item.Group);
        }
    groups.append(QString());
    std::ranges::stable_sort(items, {}, [&groups](const MenuPlace& place) {
        return std::tuple(groups.indexOf(place.Item->Group), place.Item->Section, place.Item->Rank);
    });
    return items;
}

QMenu*& Menu() {
    // Lives until the process ends; never deleted, since it may outlive the QApplication.
    static QMenu* menu = nullptr;
    return menu;
}

Circuit*& MenuTarget() {
    static Circuit* target = nullptr;
    return target;
}

// The menu's entries for the circuit it opens on, made anew at every opening.
std::vector<QObject*>& CircuitEntries() {
    static std::vector<QObject*> entries;
    return entries;
}

// Runs a choice for the menu's circuit with the sub-circuit the entry was made for, found again
// by its name: it may have gone since the menu was made.
void ForSubCircuit(QMenu* menu, const QString& label, const QString& name,
                   void (*choice)(Circuit&, FunctionDef&)) {
    QAction* action = menu->addAction(label);
    QObject::connect(action, &QAction::triggered, [name, choice] {
        Circuit* target = MenuTarget();
        if (FunctionDef* definition = target ? FindSubCircuit(*target, name) : nullptr)
            choice(*target, *definition);
    });
}

void AddPinEntry(QMenu* menu, FunctionDef* pin) {
    QObject::connect(menu->addAction(pin->Name), &QAction::triggered, [pin] {
        if (Circuit* target = MenuTarget()) OfferForPlacement(*target, pin);
    });
}

void Place(Circuit& circuit, FunctionDef& definition) {
    OfferForPlacement(circuit, &definition);
}

void Delete(Circuit& circuit, FunctionDef& definition) {
    if (InstanceCount(circuit, &definition) > 0) return;
    if (CircuitView* view = ViewOf(circuit); view && view->Preview.Function == &definition)
        view->Preview.Function = nullptr;
    RemoveSubCircuit(circuit, definition);
    RedrawCircuit(circuit);
}

void AddCircuitEntries(QMenu* menu, Circuit& circuit) {
    // A submenu takes its entry in the menu along when it goes.
    for (QObject* entry : CircuitEntries())
        delete entry;
    CircuitEntries().clear();
    const auto keep = [](QObject* object) { CircuitEntries().push_back(object); };
    const bool body = DefinitionOf(ShownFrame(circuit)) != nullptr;
    if (body || !circuit.SubCircuits.empty()) keep(menu->addSeparator());
    if (body) {
        const PinFunctionSet& pins = PinFunctions();
        const auto all = {pins.Input, pins.Output, pins.Iteration, pins.Continue};
        for (FunctionDef* pin : all)
            AddPinEntry(menu, pin);
        for (QAction* action : menu->actions().mid(menu->actions().size() - qsizetype(all.size())))
            keep(action);
    }
    if (circuit.SubCircuits.empty()) return;
    QMenu* list = new QMenu(QStringLiteral("Sub-circuits"), menu);
    QMenu* unused = new QMenu(QStringLiteral("Delete Sub-circuit"), menu);
    for (const auto& definition : circuit.SubCircuits) {
        ForSubCircuit(list, definition->Name, definition->Name, Place);
        // Inside a body, the sub-circuits it would come to contain itself through are shown
        // but cannot be chosen.
        list->actions().constLast()->setEnabled(
            PlacementRefusal(circuit, definition.get()).isEmpty());
        if (InstanceCount(circuit, definition.get()) == 0)
            ForSubCircuit(unused, definition->Name, definition->Name, Delete);
    }
    menu->addMenu(list);
    keep(list);
    unused->setEnabled(!unused->isEmpty());
    menu->addMenu(unused);
    keep(unused);
}

} // namespace

void BuildAddNodeMenu() {
    if (Menu()) return;
    QMenu* menu = Menu() = new QMenu;
    QMenu* into = nullptr;
    const AddNodeItem* previous = nullptr;
    const std::vector<MenuPlace> items = ItemsInMenuOrder();
    for (std::size_t i = 0; i < items.size(); ++i) {
        const AddNodeItem& item = *items[i].Item;
        if (!previous || previous->Group != item.Group) {
            // The menu's own items are parted from the submenus above them.
            if (item.Group.isEmpty() && !menu->isEmpty()) menu->addSeparator();
            into = item.Group.isEmpty() ? menu : menu->addMenu(item.Group);
        } else if (previous->Section != item.Section) {
            into->addSeparator();
        }
        previous = &item;
        const int id = kFirstAddNodeCommand + int(i);
        QAction* action = into->addAction(item.Label);
        action->setData(id);
        QObject::connect(action, &QAction::triggered, [id] {
            if (Circuit* target = MenuTarget()) OnMenu(*target, id);
        });
    }
}

int AddNodeCommandCount() {
    return int(ItemsInMenuOrder().size());
}

QMenu* AddNodeMenu() {
    return Menu();
}

FunctionDef* MenuItemFunction(int commandId) {
    const std::vector<MenuPlace> items = ItemsInMenuOrder();
    const int index = commandId - kFirstAddNodeCommand;
    return index < 0 || index >= int(items.size()) ? nullptr : items[std::size_t(index)].Function;
}

void FillPreviewNode(Node& preview, int commandId) {
    const std::vector<MenuPlace> items = ItemsInMenuOrder();
    const int index = commandId - kFirstAddNodeCommand;
    if (index < 0 || index >= int(items.size())) return;
    FunctionDef* function = items[std::size_t(index)].Function;
    const AddNodeItem& item = *items[std::size_t(index)].Item;
    Implementation* implementation = nullptr;
    if (item.Implementation >= 0 &&
        item.Implementation < static_cast<int>(function->Implementations.size()))
        implementation = function->Implementations[std::size_t(item.Implementation)].get();
    ShapeNode(preview, function, implementation);
    if (item.Value && preview.PortArray.size() > 1 && preview.PortArray[1])
        preview.PortArray[1]->Value = *item.Value;
}

QString PlacementRefusal(const Circuit& circuit, const FunctionDef* function) {
    const FunctionDef* outer = DefinitionOf(ShownFrame(circuit));
    if (outer && function && function == Catalogue().Input)
        return QStringLiteral("An Input cannot go inside “%1”: a sub-circuit's body takes its "
                              "values through its input pins")
            .arg(outer->Name);
    if (!WouldRecurse(outer, function)) return QString();
    return QStringLiteral("“%1” cannot go inside “%2”: a sub-circuit may not contain itself")
        .arg(function->Name, outer->Name);
}

bool OfferForPlacement(Circuit& circuit, FunctionDef* function) {
    if (const QString refusal = PlacementRefusal(circuit, function); !refusal.isEmpty()) {
        ShowStatusNotice(circuit, refusal);
        return false;
    }
    if (CircuitView* view = ViewOf(circuit)) ShapeNode(view->Preview, function, nullptr);
    RedrawCircuit(circuit);
    return true;
}

void PopUpAddNodeMenu(Circuit& circuit, const QPoint& screenPosition) {
    BuildAddNodeMenu();
    MenuTarget() = &circuit;
    AddCircuitEntries(Menu(), circuit);
    Menu()->popup(screenPosition);
}

} // namespace flow
