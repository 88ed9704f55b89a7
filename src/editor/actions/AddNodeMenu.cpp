#include "editor/actions/AddNodeMenu.h"

#include "editor/canvas/OpenViews.h"
#include "editor/actions/MenuCommands.h"
#include "editor/history/History.h"
#include "model/Catalogue.h"
#include "model/Model.h"
#include "model/SubCircuits.h"
#include "editor/canvas/CanvasRedraw.h"
#include "render/Redraw.h"
#include "editor/window/StatusText.h"

#include <QMenu>

#include <array>
#include <optional>

namespace flow {

namespace {

struct AddNodeEntry {
    int Id;
    const char16_t* Label;
    const char16_t* Function;
    int Implementation;       // index into the function's implementations; -1: none given
    std::optional<Int> Value; // value of the preview's first port
};

const std::array<AddNodeEntry, 16> kEntries{{
    {8, u"Constant (False)", u"Constant", 0, 0},
    {9, u"Constant (True)", u"Constant", 0, 1},
    {10, u"Not (\u00AC)", u"Not", -1, {}},
    {11, u"And (\u2227)", u"And", -1, {}},
    {12, u"Or (\u2228)", u"Or", -1, {}},
    {13, u"Constant (Integer)", u"Constant", 1, {}},
    {14, u"Constant (Real)", u"Constant", 2, {}},
    {15, u"Plus (+)", u"Plus", -1, {}},
    {16, u"Subtract (-)", u"Subtract", -1, {}},
    {17, u"Times (*)", u"Times", -1, {}},
    {18, u"Divide (/)", u"Divide", -1, {}},
    {19, u"ToInteger", u"ToInteger", -1, {}},
    {20, u"ToReal", u"ToReal", -1, {}},
    {21, u"Constant", u"Constant", 3, {}},
    {22, u"ToString", u"ToString", -1, {}},
    {23, u"PrintN", u"Print", 0, {}},
}};

// Submenus and their entries top to bottom; 0 stands for a separator.
struct Section {
    const char16_t* Title; // none: entries of the menu itself
    std::array<int, 10> Ids;
};
const std::array<Section, 4> kLayout{{
    {u"Logic", {8, 9, 0, 10, 11, 12, -1}},
    {u"Numeric", {13, 14, 0, 15, 16, 17, 18, 0, 19, 20}},
    {u"Strings", {21, 0, 22, -1}},
    {nullptr, {0, 23, -1}},
}};

const AddNodeEntry* FindEntry(int id) {
    for (const AddNodeEntry& entry : kEntries)
        if (entry.Id == id) return &entry;
    return nullptr;
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
        AddPinEntry(menu, PinFunctions().Input);
        AddPinEntry(menu, PinFunctions().Output);
        for (QAction* action : menu->actions().mid(menu->actions().size() - 2))
            keep(action);
    }
    if (circuit.SubCircuits.empty()) return;
    QMenu* list = new QMenu(QStringLiteral("Sub-circuits"), menu);
    QMenu* unused = new QMenu(QStringLiteral("Delete Sub-circuit"), menu);
    for (const auto& definition : circuit.SubCircuits) {
        ForSubCircuit(list, definition->Name, definition->Name, Place);
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
    for (const Section& section : kLayout) {
        QMenu* into = section.Title ? menu->addMenu(QString::fromUtf16(section.Title)) : menu;
        for (int id : section.Ids) {
            if (id < 0) break;
            if (id == 0) {
                into->addSeparator();
                continue;
            }
            QAction* action = into->addAction(QString::fromUtf16(FindEntry(id)->Label));
            action->setData(id);
            QObject::connect(action, &QAction::triggered, [id] {
                if (Circuit* target = MenuTarget()) OnMenu(*target, id);
            });
        }
    }
}

QMenu* AddNodeMenu() {
    return Menu();
}

void FillPreviewNode(Circuit& circuit, int commandId) {
    CircuitView* view = ViewOf(circuit);
    if (!view) return;
    const AddNodeEntry* entry = FindEntry(commandId);
    if (!entry) return;
    FunctionDef* function = FindFunction(QString::fromUtf16(entry->Function));
    if (!function) return;
    Implementation* implementation = nullptr;
    if (entry->Implementation >= 0 &&
        entry->Implementation < static_cast<int>(function->Implementations.size()))
        implementation = function->Implementations[entry->Implementation].get();
    Node* preview = ShapeNode(view->Preview, function, implementation);
    if (entry->Value && preview->PortArray.size() > 1 && preview->PortArray[1])
        preview->PortArray[1]->Value = *entry->Value;
}

QString PlacementRefusal(const Circuit& circuit, const FunctionDef* function) {
    const FunctionDef* outer = DefinitionOf(ShownFrame(circuit));
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
