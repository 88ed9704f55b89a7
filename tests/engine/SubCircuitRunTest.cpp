// Instances of sub-circuits resolved, run and checked as the nodes of their bodies would be.

#include "EngineFixture.h"
#include "support/SubCircuitBuilding.h"

#include "engine/DefectPlace.h"
#include "engine/Preparation.h"

namespace flow {
namespace {

using namespace flow::test;

class SubCircuitRunTest : public EngineFixture {};

TEST_F(SubCircuitRunTest, EachInstanceResolvesItsOwnTypesAndNestedInstancesRun) {
    Circuit& circuit = MakeCircuit();
    FunctionDef* twice = MakeDouble(circuit, true);
    // Four times: two Doubles in a row.
    FunctionDef* fourTimes = AddSubCircuit(circuit, QStringLiteral("Quadruple"));
    Frame& body = BodyOf(*fourTimes);
    Node* x = AddPin(*fourTimes, PinFunctions().Input, QStringLiteral("x"), -100, 0);
    Node* first = Place(body, twice->Name);
    Node* second = Place(body, twice->Name, 80, 0);
    Node* result = AddPin(*fourTimes, PinFunctions().Output, QStringLiteral("4x"), 200, 0);
    Link(x, 1, first, 1);
    Link(first, 2, second, 1);
    Link(second, 2, result, 1);
    FollowDefinitions(circuit);

    Frame& main = circuit.MainFrame;
    Node* onInteger = Place(main, twice->Name);
    Link(Constant(circuit, Int(21)), 1, onInteger, 1);
    Node* onReal = Place(main, twice->Name);
    Link(Constant(circuit, 1.25), 1, onReal, 1);
    Node* nested = Place(main, fourTimes->Name);
    Link(Constant(circuit, Int(3)), 1, nested, 1);
    for (Node* instance : {onInteger, onReal, nested})
        PrintOf(circuit, instance);

    EXPECT_EQ(onInteger->PortArray[2]->Type, PortType::Integer);
    EXPECT_EQ(onReal->PortArray[2]->Type, PortType::Real);
    EXPECT_EQ(nested->PortArray[2]->Type, PortType::Integer);
    // Each Double prints its x inside: 21, 1.25, and 3 and 6 within the nested ones.
    const QStringList expected{"1.25", "12", "2.5", "21", "3", "42", "6"};
    for (int run = 0; run < 2; ++run) {
        QStringList lines = Run(circuit);
        lines.sort();
        EXPECT_EQ(lines, expected) << "run " << run;
    }
}

TEST_F(SubCircuitRunTest, AValueLeavingAnInstanceAndComingBackIntoItTakesItsTypeInside) {
    // "Two ways": a passed straight out; b doubled. Outside, a + a comes back in as b, so no
    // node feeds itself although the instance's output leads into its own input.
    Circuit& circuit = MakeCircuit();
    FunctionDef* twoWays = AddSubCircuit(circuit, QStringLiteral("Two ways"));
    Node* a = AddPin(*twoWays, PinFunctions().Input, QStringLiteral("a"), -100, 0);
    Node* b = AddPin(*twoWays, PinFunctions().Input, QStringLiteral("b"), -100, 40);
    Node* passed = AddPin(*twoWays, PinFunctions().Output, QStringLiteral("a"), 100, 0);
    Node* doubled = AddPin(*twoWays, PinFunctions().Output, QStringLiteral("2b"), 100, 40);
    Node* plus = Place(BodyOf(*twoWays), QStringLiteral("Plus"), 0, 40);
    Link(a, 1, passed, 1);
    Link(b, 1, plus, 1);
    Link(b, 1, plus, 2);
    Link(plus, 3, doubled, 1);
    FollowDefinitions(circuit);

    Frame& main = circuit.MainFrame;
    Node* instance = Place(main, twoWays->Name);
    Node* outside = Place(main, QStringLiteral("Plus"));
    Link(instance, 3, outside, 1);
    Link(instance, 3, outside, 2);
    Link(outside, 3, instance, 2);
    Link(instance, 3, Place(main, QStringLiteral("Print")), 1);
    Link(instance, 4, Place(main, QStringLiteral("Print")), 1);
    // The Real goes out of the instance and comes back into it while it is being resolved.
    Link(Constant(circuit, 1.5), 1, instance, 1);
    EXPECT_EQ(instance->PortArray[2]->Type, PortType::Real);
    EXPECT_EQ(instance->PortArray[4]->Type, PortType::Real);
    QStringList lines = Run(circuit);
    lines.sort();
    EXPECT_EQ(lines, QStringList({"1.5", "6."}));
}

TEST_F(SubCircuitRunTest, DefectInsideIsNamedWithEveryInstanceAroundIt) {
    Circuit& circuit = MakeCircuit();
    // "Adder" whose Plus never gets its second input.
    FunctionDef* adder = AddSubCircuit(circuit, QStringLiteral("Adder"));
    Node* a = AddPin(*adder, PinFunctions().Input, QStringLiteral("a"), -100, 0);
    AddPin(*adder, PinFunctions().Input, QStringLiteral("b"), -100, 40);
    Node* plus = Place(BodyOf(*adder), QStringLiteral("Plus"));
    Link(a, 1, plus, 1);
    FollowDefinitions(circuit);

    Node* instance = Place(circuit.MainFrame, adder->Name, 120, 40);
    Link(Constant(circuit, Int(1)), 1, instance, 1);
    Link(Constant(circuit, Int(2)), 1, instance, 2);
    EXPECT_FALSE(PrepareCircuit(Session(circuit)))
        << Session(circuit).Fault().Message.toStdString();
    EXPECT_EQ(Session(circuit).Fault().Kind, ErrorKind::MissingInput);
    EXPECT_EQ(DefectPlace(Session(circuit).Fault()),
              QStringLiteral("input 2 \"y\" of the Plus node at 0, 0 inside Adder, instance at "
                             "120, 40"));

    // One level deeper, an input of the inner instance left unfed is the defect first found.
    FunctionDef* outer = AddSubCircuit(circuit, QStringLiteral("Outer"));
    Node* inner = Place(BodyOf(*outer), adder->Name, 10, 20);
    Link(AddPin(*outer, PinFunctions().Input, QStringLiteral("v"), -100, 0), 1, inner, 1);
    FollowDefinitions(circuit);
    DeleteNode(instance);
    Node* around = Place(circuit.MainFrame, outer->Name, -50, 60);
    Link(Constant(circuit, Int(5)), 1, around, 1);
    EXPECT_FALSE(PrepareCircuit(Session(circuit)))
        << Session(circuit).Fault().Message.toStdString();
    EXPECT_EQ(DefectPlace(Session(circuit).Fault()),
              QStringLiteral("input 2 \"b\" of the Adder node at 10, 20 inside Outer, instance at "
                             "-50, 60"));
    Link(AddPin(*outer, PinFunctions().Input, QStringLiteral("w"), -100, 40), 1, inner, 2);
    FollowDefinitions(circuit);
    Link(Constant(circuit, Int(6)), 1, around, 2);
    EXPECT_FALSE(PrepareCircuit(Session(circuit)))
        << Session(circuit).Fault().Message.toStdString();
    EXPECT_EQ(DefectPlace(Session(circuit).Fault()),
              QStringLiteral("input 2 \"y\" of the Plus node at 0, 0 inside Adder, instance at "
                             "10, 20 inside Outer, instance at -50, 60"));
}

TEST_F(SubCircuitRunTest, PinChangesReachEveryInstanceAndWiresToAGonePortGo) {
    Circuit& circuit = MakeCircuit();
    FunctionDef* pair = AddSubCircuit(circuit, QStringLiteral("Pair"));
    Node* a = AddPin(*pair, PinFunctions().Input, QStringLiteral("a"), -100, 0);
    Node* b = AddPin(*pair, PinFunctions().Input, QStringLiteral("b"), -100, 40);
    Node* minus = Place(BodyOf(*pair), QStringLiteral("Subtract"));
    Link(a, 1, minus, 1);
    Link(b, 1, minus, 2);
    Link(minus, 3, AddPin(*pair, PinFunctions().Output, QStringLiteral("a - b"), 100, 0), 1);
    FollowDefinitions(circuit);
    Node* ten = Constant(circuit, Int(10));
    Node* one = Constant(circuit, Int(1));
    std::vector<Node*> instances;
    for (int i = 0; i < 2; ++i) {
        instances.push_back(Place(circuit.MainFrame, pair->Name));
        Link(ten, 1, instances.back(), 1);
        Link(one, 1, instances.back(), 2);
        PrintOf(circuit, instances.back());
    }

    // b above a: the ports swap, each keeping its wire; a new name and a new pin follow.
    MoveObject(*b, -100, -40);
    SetPinName(*a, QStringLiteral("first"));
    Node* c = AddPin(*pair, PinFunctions().Input, QStringLiteral("c"), -100, 80);
    FollowDefinitions(circuit);
    for (Node* instance : instances) {
        ASSERT_EQ(instance->Ports.size(), 4u);
        Link(one, 1, instance, 3);
        EXPECT_EQ(instance->PortArray[1]->Id, b->Id);
        EXPECT_EQ(instance->PortArray[1]->Source, one->PortArray[1]);
        EXPECT_EQ(instance->PortArray[2]->Label, QStringLiteral("first"));
        EXPECT_EQ(instance->PortArray[2]->Source, ten->PortArray[1]);
        EXPECT_EQ(instance->PortArray[3]->Id, c->Id);
        EXPECT_EQ(instance->PortArray[4]->Label, QStringLiteral("a - b"));
    }
    // Values still reach the pin their port stands for.
    EXPECT_EQ(Run(circuit), (QStringList{"9", "9"}));

    // Without pin a the wires from ten go.
    DeleteNode(a);
    DeleteNode(c);
    FollowDefinitions(circuit);
    EXPECT_TRUE(ten->PortArray[1]->Targets.empty());
    EXPECT_EQ(circuit.MainFrame.Wires.size(), 4u);
    for (Node* instance : instances) {
        ASSERT_EQ(instance->Ports.size(), 2u);
        EXPECT_EQ(instance->PortArray[1]->Source, one->PortArray[1]);
    }
    // Subtract has lost its first input inside: every instance is stopped there.
    EXPECT_FALSE(PrepareCircuit(Session(circuit)))
        << Session(circuit).Fault().Message.toStdString();
    EXPECT_EQ(Session(circuit).Fault().Kind, ErrorKind::MissingInput);
}

TEST_F(SubCircuitRunTest, InsidesPastTheLimitAreNeitherMadeNorRun) {
    struct Limit {
        std::size_t Kept = ExpansionLimit();
        ~Limit() { ExpansionLimit() = Kept; }
    } restored;
    ExpansionLimit() = 1000;
    Circuit& circuit = MakeCircuit();
    // Each level doubles with two instances of the one before: L8 holds 1787 nodes.
    FunctionDef* level = AddSubCircuit(circuit, QStringLiteral("L0"));
    Link(AddPin(*level, PinFunctions().Input, QStringLiteral("x"), 0, 0), 1,
         AddPin(*level, PinFunctions().Output, QStringLiteral("y"), 100, 0), 1);
    for (int k = 1; k <= 8; ++k) {
        FunctionDef* next = AddSubCircuit(circuit, QStringLiteral("L%1").arg(k));
        Node* x = AddPin(*next, PinFunctions().Input, QStringLiteral("x"), -100, 0);
        Node* plus = Place(BodyOf(*next), QStringLiteral("Plus"), 80, 0);
        Link(plus, 3, AddPin(*next, PinFunctions().Output, QStringLiteral("y"), 160, 0), 1);
        for (std::size_t half = 1; half <= 2; ++half) {
            Node* inner = Place(BodyOf(*next), level->Name, 0, Int(half) * 40);
            FollowDefinitions(circuit);
            Link(x, 1, inner, 1);
            Link(inner, 2, plus, half);
        }
        level = next;
    }
    Node* top = Place(circuit.MainFrame, level->Name, 20, 30);
    Link(Constant(circuit, Int(1)), 1, top, 1);
    PrintOf(circuit, top);
    EXPECT_EQ(top->Expansion, nullptr);
    EXPECT_LE(circuit.ExpandedNodes, 1000u);
    EXPECT_FALSE(PrepareCircuit(Session(circuit)))
        << Session(circuit).Fault().Message.toStdString();
    EXPECT_EQ(Session(circuit).Fault().Kind, ErrorKind::NoThread);
    EXPECT_EQ(DefectPlace(Session(circuit).Fault()), QStringLiteral("the L8 node at 20, 30"));

    ExpansionLimit() = restored.Kept;
    EXPECT_EQ(Run(circuit), QStringList{"256"});
    const std::size_t held = circuit.ExpandedNodes;
    DeleteNode(top);
    EXPECT_EQ(held - circuit.ExpandedNodes, 1787u);
}

} // namespace
} // namespace flow
