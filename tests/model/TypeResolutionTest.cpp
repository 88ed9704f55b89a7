#include "support/CircuitBuilding.h"
#include "support/ModelFault.h"

#include "engine/Routines.h"
#include "model/TypeResolution.h"

#include <gtest/gtest.h>

using namespace flow;
using namespace flow::test;

namespace {
QString RoutineName(const Node* n) {
    return n->Implementation ? n->Implementation->Routine->Name : QString("none");
}
} // namespace

TEST(TypeResolutionTest, UnconnectedNodesStartWithTheirFirstImplementation) {
    Circuit& c = NewCircuit();
    Node* plus = Make(c, "Plus");
    EXPECT_EQ(RoutineName(plus), "Thread_Plus_III()");
    EXPECT_EQ(plus->PortArray[1]->Type, PortType::Generic);
    EXPECT_EQ(plus->PortArray[2]->Type, PortType::Generic);
    EXPECT_EQ(plus->PortArray[3]->Type, PortType::Integer);

    Node* toInteger = Make(c, "ToInteger");
    EXPECT_EQ(toInteger->PortArray[1]->Type, PortType::Real); // only one implementation
    EXPECT_EQ(toInteger->PortArray[2]->Type, PortType::Integer);
    // Implementations that agree on an output fix its type; where they differ the input waits.
    Node* toString = Make(c, "ToString");
    EXPECT_EQ(RoutineName(toString), "Thread_ToString_IS()");
    EXPECT_EQ(toString->PortArray[1]->Type, PortType::Generic);
    EXPECT_EQ(toString->PortArray[2]->Type, PortType::String);
    Node* less = Make(c, "Less");
    EXPECT_EQ(less->PortArray[1]->Type, PortType::Generic);
    EXPECT_EQ(less->PortArray[3]->Type, PortType::Boolean);

    Node* print = Make(c, "Print");
    EXPECT_EQ(RoutineName(print), "Thread_Print_B()");
    EXPECT_EQ(print->PortArray[1]->Type, PortType::Generic);

    Node* real = RealConstant(c);
    EXPECT_EQ(real->Implementation, Catalogue().ConstantReal);
    EXPECT_EQ(real->PortArray[1]->Type, PortType::Real);
}

TEST(TypeResolutionTest, ConstantsWithoutValueStayWithoutAndRandomDrawsRealsFirst) {
    Circuit& c = NewCircuit();
    Node* unset = Make(c, "Constant");
    EXPECT_EQ(unset->Implementation, nullptr);
    EXPECT_EQ(unset->PortArray[1]->Type, PortType::Generic);
    Node* random = Make(c, "Random");
    EXPECT_EQ(random->Implementation, random->Function->Implementations[0].get());
    EXPECT_EQ(random->PortArray[1]->Type, PortType::Real);
    // An untyped source fits any implementation but matches none exactly, so the Print keeps
    // its first implementation's type.
    Node* print = Make(c, "Print");
    ConnectPorts(unset->PortArray[1], print->PortArray[1]);
    EXPECT_EQ(RoutineName(print), "Thread_Print_B()");
    EXPECT_EQ(print->PortArray[1]->Type, PortType::Boolean);
    EXPECT_EQ(unset->Implementation, nullptr);
}

TEST(TypeResolutionTest, PlusFollowsAnIntegerAndRefusesALaterReal) {
    Circuit& c = NewCircuit();
    Node* plus = Make(c, "Plus");
    Node* k = IntegerConstant(c, 2);
    Wire* intWire = ConnectPorts(k->PortArray[1], plus->PortArray[1]);
    EXPECT_EQ(RoutineName(plus), "Thread_Plus_III()");
    EXPECT_EQ(plus->PortArray[2]->Type, PortType::Integer); // only III fits exactly
    EXPECT_TRUE(CanConnect(intWire->Source, intWire->Destination));

    Node* r = RealConstant(c);
    Wire* realWire = ConnectPorts(r->PortArray[1], plus->PortArray[2]);
    EXPECT_EQ(RoutineName(plus), "Thread_Plus_III()");
    EXPECT_FALSE(CanConnect(realWire->Source, realWire->Destination));
    EXPECT_TRUE(CanConnect(intWire->Source, intWire->Destination));
}

TEST(TypeResolutionTest, RemovingRealInputsKeepsTheRealImplementation) {
    Circuit& c = NewCircuit();
    Node* plus = Make(c, "Plus");
    Wire* x = ConnectPorts(RealConstant(c)->PortArray[1], plus->PortArray[1]);
    Wire* y = ConnectPorts(RealConstant(c)->PortArray[1], plus->PortArray[2]);
    EXPECT_EQ(RoutineName(plus), "Thread_Plus_RRR()");
    DeleteWire(y);
    EXPECT_EQ(RoutineName(plus), "Thread_Plus_RRR()");
    EXPECT_EQ(plus->PortArray[2]->Type, PortType::Real);
    DeleteWire(x);
    EXPECT_EQ(plus->PortArray[1]->Type, PortType::Generic);
    EXPECT_EQ(plus->PortArray[2]->Type, PortType::Generic);
    EXPECT_EQ(plus->PortArray[3]->Type, PortType::Real);
}

TEST(TypeResolutionTest, PrintFollowsItsFeederWhenRewired) {
    Circuit& c = NewCircuit();
    Node* print = Make(c, "Print");
    Node* text = Make(c, "Constant", Catalogue().ConstantString);
    Wire* w = ConnectPorts(text->PortArray[1], print->PortArray[1]);
    EXPECT_EQ(RoutineName(print), "Thread_Print_S()");
    EXPECT_EQ(print->PortArray[1]->Type, PortType::String);
    DeleteWire(w);
    ConnectPorts(Make(c, "Constant", Catalogue().ConstantBoolean)->PortArray[1],
                 print->PortArray[1]);
    EXPECT_EQ(RoutineName(print), "Thread_Print_B()");
    EXPECT_EQ(print->PortArray[1]->Type, PortType::Boolean);
}

TEST(TypeResolutionTest, TypeChangesTravelDownstream) {
    Circuit& c = NewCircuit();
    Node* first = Make(c, "Plus");
    Node* second = Make(c, "Times");
    Node* print = Make(c, "Print");
    ConnectPorts(first->PortArray[3], second->PortArray[1]);
    ConnectPorts(second->PortArray[3], print->PortArray[1]);
    EXPECT_EQ(RoutineName(print), "Thread_Print_I()");
    ConnectPorts(RealConstant(c)->PortArray[1], first->PortArray[1]);
    EXPECT_EQ(RoutineName(first), "Thread_Plus_RRR()");
    EXPECT_EQ(RoutineName(second), "Thread_Times_RRR()");
    EXPECT_EQ(RoutineName(print), "Thread_Print_R()");
    EXPECT_EQ(second->PortArray[2]->Type, PortType::Real);
}

TEST(TypeResolutionTest, CyclesAndLongChainsEndWithoutExhaustingTheStack) {
    Circuit& c = NewCircuit();
    // Two And nodes feeding each other, each also fed an Integer: neither finds a fitting
    // implementation, so each keeps resolving the other; the travel must still end.
    Node* a = Make(c, "And");
    Node* b = Make(c, "And");
    ConnectPorts(a->PortArray[3], b->PortArray[1]);
    ConnectPorts(b->PortArray[3], a->PortArray[1]);
    ConnectPorts(IntegerConstant(c, 1)->PortArray[1], a->PortArray[2]);
    Wire* last = ConnectPorts(IntegerConstant(c, 2)->PortArray[1], b->PortArray[2]);
    EXPECT_EQ(RoutineName(a), "Thread_And_BBB()");
    EXPECT_EQ(RoutineName(b), "Thread_And_BBB()");
    EXPECT_FALSE(CanConnect(last->Source, last->Destination));
    EXPECT_EQ(ConnectPorts(a->PortArray[3], a->PortArray[3]), nullptr); // no wire onto itself
    EXPECT_EQ(ModelFault(c), "");

    // A chain far deeper than a recursive travel could go.
    Node* head = Make(c, "Plus");
    Node* tail = head;
    for (int i = 0; i < 20000; ++i) {
        Node* next = Make(c, "Plus");
        ConnectPorts(tail->PortArray[3], next->PortArray[1]);
        tail = next;
    }
    Node* print = Make(c, "Print");
    ConnectPorts(tail->PortArray[3], print->PortArray[1]);
    ConnectPorts(RealConstant(c)->PortArray[1], head->PortArray[1]);
    EXPECT_EQ(RoutineName(tail), "Thread_Plus_RRR()");
    EXPECT_EQ(RoutineName(print), "Thread_Print_R()");
}

TEST(TypeResolutionTest, CanConnectChecksDirectionsFeedersAndTypes) {
    Circuit& c = NewCircuit();
    Node* k = IntegerConstant(c, 1);
    Node* other = IntegerConstant(c, 2);
    Node* print = Make(c, "Print");
    Node* toInteger = Make(c, "ToInteger");
    Port* out = k->PortArray[1];
    Port* in = print->PortArray[1];
    EXPECT_TRUE(CanConnect(out, in));                   // Generic input that can take Integer
    EXPECT_FALSE(CanConnect(in, in));                   // input to input
    EXPECT_FALSE(CanConnect(out, other->PortArray[1])); // output to output
    EXPECT_FALSE(CanConnect(out, toInteger->PortArray[1]));
    EXPECT_TRUE(CanTakeType(in, PortType::String));
    EXPECT_FALSE(CanTakeType(toInteger->PortArray[1], PortType::Integer));
    ConnectPorts(out, in);
    EXPECT_TRUE(CanConnect(out, in));                  // its own source
    EXPECT_FALSE(CanConnect(other->PortArray[1], in)); // a second feeder
}
