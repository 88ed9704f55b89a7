// The add-node menu is made from the catalogue's entries: each item, under its command id, must
// make the node it always made, with the implementation and value it names.

#include "EditorFixture.h"

#include "editor/actions/AddNodeMenu.h"
#include "editor/actions/PlacePopup.h"
#include "model/SubCircuits.h"
#include "support/SubCircuitBuilding.h"

#include <QMenu>

#include <optional>

namespace flow::test {
namespace {

using AddNodeMenuTest = EditorFixture;

TEST_F(AddNodeMenuTest, EveryItemInMenuOrderMakesTheNodeItNames) {
    constexpr int B = PortType::Boolean, I = PortType::Integer, R = PortType::Real,
                  S = PortType::String, G = PortType::Generic;
    struct Expected {
        QString Label;
        QString Function;
        int Type = 0;             // of the first port; Generic: left to its wires
        std::optional<Int> Value; // of the first port, where the item sets it
    };
    const std::vector<Expected> expected = {
        {"Constant (False)", "Constant", B, 0},
        {"Constant (True)", "Constant", B, 1},
        {"Input (Boolean)", "Input", B, 0},
        {"Not (\u00AC)", "Not", G, {}},
        {"And (\u2227)", "And", G, {}},
        {"Or (\u2228)", "Or", G, {}},
        {"Select", "Select", B, {}},
        {"Switch", "Switch", B, {}},
        {"Merge", "Merge", G, {}},
        {"Constant (Integer)", "Constant", I, {}},
        {"Constant (Real)", "Constant", R, {}},
        {"Input (Integer)", "Input", I, {}},
        {"Input (Real)", "Input", R, {}},
        {"Plus (+)", "Plus", G, {}},
        {"Subtract (-)", "Subtract", G, {}},
        {"Times (*)", "Times", G, {}},
        {"Divide (/)", "Divide", G, {}},
        {"Remainder (mod)", "Remainder", G, {}},
        {"ToInteger", "ToInteger", R, {}},
        {"ToReal", "ToReal", I, {}},
        {"Random (Real)", "Random", R, {}},
        {"Random (Integer)", "Random", I, {}},
        {"Constant", "Constant", S, {}},
        {"Input", "Input", S, {}},
        {"ToString", "ToString", G, {}},
        {"Equal (=)", "Equal", G, {}},
        {"NotEqual (\u2260)", "NotEqual", G, {}},
        {"Less (<)", "Less", G, {}},
        {"LessOrEqual (\u2264)", "LessOrEqual", G, {}},
        {"Greater (>)", "Greater", G, {}},
        {"GreaterOrEqual (\u2265)", "GreaterOrEqual", G, {}},
        {"PrintN", "Print", G, {}},
    };
    Circuit& circuit = OpenWindow();
    ASSERT_EQ(AddNodeCommandCount(), int(expected.size()));
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const Expected& item = expected[i];
        SCOPED_TRACE(item.Label.toStdString());
        // Ids run in menu order, top to bottom through the submenus.
        const int id = kFirstAddNodeCommand + int(i);
        EXPECT_EQ(AddNodeCommand(item.Label), id);
        ViewOf(circuit)->Preview.Function = nullptr;
        OnMenu(circuit, id);
        const Node& preview = ViewOf(circuit)->Preview;
        ASSERT_NE(preview.Function, nullptr);
        EXPECT_EQ(preview.Function->Name, item.Function);
        // A node with one implementation has its types at once, whatever the item says.
        EXPECT_EQ(preview.PortArray[1]->Type, item.Type);
        if (item.Value) {
            EXPECT_EQ(preview.PortArray[1]->Value, *item.Value);
        }
    }
    // Next to the menu's ids lie no items.
    for (const int outside :
         {kFirstAddNodeCommand - 1, kFirstAddNodeCommand + AddNodeCommandCount()}) {
        ViewOf(circuit)->Preview.Function = nullptr;
        OnMenu(circuit, outside);
        EXPECT_EQ(ViewOf(circuit)->Preview.Function, nullptr) << outside;
    }
    ViewOf(circuit)->Preview.Function = nullptr;
}

// Inside a body, the sub-circuits it would come to contain itself through cannot be chosen,
// from the menu or by typing; the others can.
TEST_F(AddNodeMenuTest, InsideABodyTheSubCircuitsThatWouldRecurseCannotBeChosen) {
    Circuit& circuit = OpenWindow();
    FunctionDef* inner = MakeDouble(circuit);
    FunctionDef* outer = AddSubCircuit(circuit, QStringLiteral("Outer"));
    AddNode(&BodyOf(*outer), inner, nullptr);
    AddSubCircuit(circuit, QStringLiteral("Apart"));
    Node* instance = AddNode(&circuit.MainFrame, outer, nullptr);
    FollowDefinitions(circuit);
    const auto offered = [&] {
        PopUpAddNodeMenu(circuit, QPoint(100, 100));
        QStringList names;
        for (QAction* item : AddNodeMenu()->actions())
            if (item->menu() && item->text() == "Sub-circuits")
                for (QAction* entry : item->menu()->actions())
                    names << entry->text() + (entry->isEnabled() ? "" : " (disabled)");
        AddNodeMenu()->hide();
        QStringList typed;
        for (const PlaceChoice& choice : PlaceChoices(nullptr, &ShownFrame(circuit)))
            if (IsSubCircuit(choice.Function)) typed << choice.Label;
        return std::pair(names, typed);
    };
    EXPECT_EQ(offered().first, QStringList({"Double", "Outer", "Apart"}));
    ViewOf(circuit)->OpenPath = {instance};
    EXPECT_EQ(offered().first, QStringList({"Double", "Outer (disabled)", "Apart"}));
    EXPECT_EQ(offered().second, QStringList({"Double", "Apart"}));
    ViewOf(circuit)->OpenPath = {instance, BodyOf(*outer).Nodes.front().get()};
    EXPECT_EQ(offered().first, QStringList({"Double (disabled)", "Outer (disabled)", "Apart"}));
    EXPECT_EQ(offered().second, QStringList({"Apart"}));
    // The menu is every window's: the next test finds it without this circuit's entries.
    PopUpAddNodeMenu(OpenWindow(), QPoint(100, 100));
    AddNodeMenu()->hide();
}

} // namespace
} // namespace flow::test
