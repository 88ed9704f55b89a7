#include "support/CircuitBuilding.h"
#include "support/ModelFault.h"

#include <gtest/gtest.h>

using namespace flow;
using namespace flow::test;

TEST(ModelTest, NewCircuitStartsEmptyAtMagnificationOne) {
    Circuit& c = NewCircuit();
    EXPECT_EQ(c.MainFrame.Owner, &c);
    EXPECT_EQ(c.Saved.Magnification, 1.0f);
    EXPECT_EQ(c.NextId, 0);
    EXPECT_EQ(Circuits().back().get(), &c);
}

TEST(ModelTest, CommentsAndNodesShareOneIncreasingIdCounter) {
    Circuit& c = NewCircuit();
    Comment* comment = AddComment(&c.MainFrame, "note", 5, 6);
    Node* a = Make(c, "Plus");
    Node* b = Make(c, "Print");
    EXPECT_EQ(comment->Id, 1);
    EXPECT_EQ(a->Id, 2);
    EXPECT_EQ(b->Id, 3);
    EXPECT_EQ(comment->Flags, ObjectFlag::NeedsLayout);
    EXPECT_EQ(comment->Kind, ObjectKind::Comment);
    EXPECT_EQ(a->Kind, ObjectKind::Node);
    // A deleted node leaves a gap; ids are never reused.
    DeleteNode(a);
    EXPECT_EQ(Make(c, "Not")->Id, 4);
}

TEST(ModelTest, AddNodeCopiesTheFunctionsPorts) {
    Circuit& c = NewCircuit();
    Node* plus = Make(c, "Plus");
    ASSERT_EQ(plus->Ports.size(), 3u);
    EXPECT_EQ(plus->Width, 32);
    EXPECT_EQ(plus->Height, 32);
    EXPECT_EQ(plus->PortArray[3]->Label, "x + y");
    EXPECT_EQ(plus->PortArray[3]->X, 29);
    EXPECT_EQ(plus->PortArray[3]->Y, 16);
    EXPECT_EQ(plus->PortArray[3]->Direction, Direction::Out);
    EXPECT_EQ(plus->PortArray[1]->WireDirX, 1);
    EXPECT_EQ(plus->PortArray[1]->WireDirY, 0);
    EXPECT_EQ(plus->Frame, &c.MainFrame);
    EXPECT_EQ(ModelFault(c), "");
}

TEST(ModelTest, ShapedNodeIsReshapedInPlaceAndBelongsToNoFrame) {
    Circuit& c = NewCircuit();
    Node preview;
    Node* first = ShapeNode(preview, FindFunction("Plus"), nullptr);
    first->X = 17;
    Node* second = ShapeNode(preview, FindFunction("Print"), nullptr);
    EXPECT_EQ(first, second);
    EXPECT_EQ(second, &preview);
    EXPECT_EQ(second->Frame, nullptr);
    EXPECT_EQ(second->X, 17); // position is left as it was
    EXPECT_EQ(second->Ports.size(), 1u);
    EXPECT_EQ(second->Width, 40);
    EXPECT_EQ(c.NextId, 0); // the preview takes no id
}

TEST(ModelTest, ConnectPortsOrientsTheWireFromOutputToInput) {
    Circuit& c = NewCircuit();
    Node* k = IntegerConstant(c, 1);
    Node* print = Make(c, "Print");
    Wire* w = ConnectPorts(print->PortArray[1], k->PortArray[1]); // dragged from the input
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Source, k->PortArray[1]);
    EXPECT_EQ(w->Destination, print->PortArray[1]);
    EXPECT_EQ(print->PortArray[1]->Source, k->PortArray[1]);
    EXPECT_EQ(w->Kind, 0);
    EXPECT_EQ(w->Id, 0);
    EXPECT_EQ(ModelFault(c), "");
}

TEST(ModelTest, ConnectPortsRefusesDuplicatesOtherFramesAndMissingPorts) {
    Circuit& c = NewCircuit();
    Circuit& other = NewCircuit();
    Node* k = IntegerConstant(c, 1);
    Node* print = Make(c, "Print");
    Node* foreign = Make(other, "Print");
    ASSERT_NE(ConnectPorts(k->PortArray[1], print->PortArray[1]), nullptr);
    EXPECT_EQ(ConnectPorts(k->PortArray[1], print->PortArray[1]), nullptr);
    EXPECT_EQ(ConnectPorts(print->PortArray[1], k->PortArray[1]), nullptr);
    EXPECT_EQ(ConnectPorts(k->PortArray[1], foreign->PortArray[1]), nullptr);
    EXPECT_EQ(ConnectPorts(nullptr, print->PortArray[1]), nullptr);
    Node loose;
    EXPECT_EQ(ConnectPorts(k->PortArray[1],
                           ShapeNode(loose, FindFunction("Print"), nullptr)->PortArray[1]),
              nullptr); // a node being placed is in no frame
    EXPECT_EQ(c.MainFrame.Wires.size(), 1u);
    EXPECT_TRUE(other.MainFrame.Wires.empty());
    EXPECT_TRUE(foreign->PortArray[1]->Feeders.empty());
    EXPECT_EQ(ModelFault(c), "");
}

TEST(ModelTest, SecondFeederBecomesSourceWhenTheFirstWireGoes) {
    Circuit& c = NewCircuit();
    Node* a = IntegerConstant(c, 1);
    Node* b = IntegerConstant(c, 2);
    Node* print = Make(c, "Print");
    Port* in = print->PortArray[1];
    Wire* first = ConnectPorts(a->PortArray[1], in);
    Wire* second = ConnectPorts(b->PortArray[1], in);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(in->Source, a->PortArray[1]);
    EXPECT_EQ(in->Feeders.size(), 2u);
    DeleteWire(first);
    EXPECT_EQ(in->Source, b->PortArray[1]);
    EXPECT_EQ(ModelFault(c), "");
    DeleteWire(second);
    EXPECT_EQ(in->Source, nullptr);
    EXPECT_TRUE(in->Wires.empty());
    EXPECT_TRUE(b->PortArray[1]->Targets.empty());
    EXPECT_TRUE(c.MainFrame.Wires.empty());
}

TEST(ModelTest, DeleteNodeRemovesEveryAttachedWire) {
    Circuit& c = NewCircuit();
    Node* hub = IntegerConstant(c, 7);
    std::vector<Node*> prints;
    for (int i = 0; i < 50; ++i) {
        prints.push_back(Make(c, "Print"));
        ConnectPorts(hub->PortArray[1], prints.back()->PortArray[1]);
    }
    Node* plus = Make(c, "Plus");
    ConnectPorts(hub->PortArray[1], plus->PortArray[1]);
    ConnectPorts(hub->PortArray[1], plus->PortArray[2]);
    ConnectPorts(plus->PortArray[3], prints[0]->PortArray[1]); // a second feeder
    DeleteNode(hub);
    EXPECT_EQ(c.MainFrame.Wires.size(), 1u);
    EXPECT_EQ(prints[0]->PortArray[1]->Source, plus->PortArray[3]);
    EXPECT_EQ(prints[1]->PortArray[1]->Source, nullptr);
    EXPECT_EQ(c.MainFrame.Nodes.size(), 51u);
    EXPECT_EQ(ModelFault(c), "");
}

TEST(ModelTest, DeletingASelectionOfConnectedNodesLeavesNothingDangling) {
    // Nodes wired to each other deleted one after another, as the Delete key does.
    Circuit& c = NewCircuit();
    std::vector<Node*> chain{IntegerConstant(c, 1)};
    for (int i = 0; i < 20; ++i) {
        Node* plus = Make(c, "Plus");
        ConnectPorts(chain.back()->Ports.back().get(), plus->PortArray[1]);
        ConnectPorts(chain.front()->PortArray[1], plus->PortArray[2]);
        chain.push_back(plus);
    }
    Node* survivor = Make(c, "Print");
    ConnectPorts(chain.back()->PortArray[3], survivor->PortArray[1]);
    for (std::size_t i = 0; i < chain.size(); i += 2)
        DeleteNode(chain[i]);
    EXPECT_EQ(ModelFault(c), "");
    for (std::size_t i = 1; i < chain.size(); i += 2)
        DeleteNode(chain[i]);
    EXPECT_TRUE(c.MainFrame.Wires.empty());
    EXPECT_EQ(survivor->PortArray[1]->Source, nullptr);
    EXPECT_EQ(c.MainFrame.Nodes.size(), 1u);
}

TEST(ModelTest, DeleteCommentRemovesOnlyThatComment) {
    Circuit& c = NewCircuit();
    Comment* a = AddComment(&c.MainFrame, "a", 0, 0);
    Comment* b = AddComment(&c.MainFrame, "b", 0, 0);
    DeleteComment(a);
    ASSERT_EQ(c.MainFrame.Comments.size(), 1u);
    EXPECT_EQ(c.MainFrame.Comments.front().get(), b);
}
