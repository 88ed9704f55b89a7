// A node's tooltip names its function, says what it does and lists its ports with the types
// they have now: for every function of the catalogue, in every implementation, for instances
// and for pins.

#include "render/NodeReference.h"
#include "support/SceneFixture.h"
#include "support/SubCircuitBuilding.h"

namespace flow::test {
namespace {

using NodeReferenceTest = SceneFixture;

// The line of the text that describes the port: "In: x (...)", or "Out (...)" without a label.
QString PortLineOf(const QStringList& lines, const Port& port) {
    const QString start = (port.Direction == Direction::In ? QStringLiteral("In") : "Out") +
                          (port.Label.isEmpty() ? QStringLiteral(" (") : ": " + port.Label + " (");
    for (const QString& line : lines)
        if (line.startsWith(start)) return line;
    return QString();
}

TEST_F(NodeReferenceTest, EveryFunctionInEveryImplementationShowsItsNameTextAndPortTypes) {
    for (FunctionDef* function : Catalogue().InOrder) {
        std::vector<Implementation*> implementations;
        for (const auto& implementation : function->Implementations)
            implementations.push_back(implementation.get());
        if (implementations.empty()) implementations.push_back(nullptr);
        for (std::size_t k = 0; k < implementations.size(); ++k) {
            SCOPED_TRACE(function->Name.toStdString() + " #" + std::to_string(k));
            const Node* node = AddNode(&circuit.MainFrame, function, implementations[k]);
            const QStringList lines = NodeReferenceText(*node).split('\n');
            ASSERT_GE(lines.size(), 2);
            EXPECT_EQ(lines[0], function->Name);
            EXPECT_FALSE(function->Description.isEmpty());
            EXPECT_EQ(lines[1], function->Description);
            qsizetype lastInput = -1, firstOutput = lines.size();
            for (std::size_t i = 1; i < node->PortArray.size(); ++i) {
                const Port& port = *node->PortArray[i];
                const QString line = PortLineOf(lines, port);
                ASSERT_FALSE(line.isEmpty()) << port.Label.toStdString();
                // An open input lists the types it may take, this implementation's among them.
                if (const Implementation* chosen = implementations[k])
                    EXPECT_TRUE(line.contains(PortTypeName(chosen->Types[i])))
                        << line.toStdString();
                else
                    EXPECT_TRUE(line.endsWith("(no type)")) << line.toStdString();
                const qsizetype at = lines.indexOf(line);
                if (port.Direction == Direction::In)
                    lastInput = std::max(lastInput, at);
                else
                    firstOutput = std::min(firstOutput, at);
            }
            EXPECT_LT(lastInput, firstOutput) << "inputs come first";
            EXPECT_EQ(lines.size(), 2 + qsizetype(node->PortArray.size()) - 1);
            EXPECT_TRUE(
                NodeReferenceHtml(*node).contains("<b>" + function->Name.toHtmlEscaped() + "</b>"));
        }
    }
}

TEST_F(NodeReferenceTest, TheTypesFollowWhatIsWiredIn) {
    Node* open = Add("Plus", 0, 0);
    EXPECT_TRUE(NodeReferenceText(*open).contains("In: x (Integer, Real or String)"));

    Node* reals = Add("Plus", 0, 0);
    ConnectPorts(Add("Constant", 0, 0, Catalogue().ConstantReal)->PortArray[1],
                 reals->PortArray[1]);
    EXPECT_EQ(NodeReferenceText(*reals).split('\n').mid(2),
              QStringList({"In: x (Real)", "In: y (Real)", "Out: x + y (Real)"}));

    Node* integers = Add("Plus", 0, 0);
    ConnectPorts(Add("Constant", 0, 0, Catalogue().ConstantInteger)->PortArray[1],
                 integers->PortArray[2]);
    EXPECT_EQ(NodeReferenceText(*integers).split('\n').mid(2),
              QStringList({"In: x (Integer)", "In: y (Integer)", "Out: x + y (Integer)"}));
}

TEST_F(NodeReferenceTest, InstancesShowTheirSubCircuitAndPinsShowTheirNames) {
    FunctionDef* twice = MakeDouble(circuit);
    Node* instance = Place(circuit.MainFrame, twice->Name);
    QStringList lines = NodeReferenceText(*instance).split('\n');
    EXPECT_EQ(lines.value(0), "Double");
    EXPECT_TRUE(lines.value(1).startsWith("A sub-circuit")) << lines.value(1).toStdString();
    // Unfed, the Plus inside gives its first implementation's Integer.
    EXPECT_EQ(lines.mid(2), QStringList({"In: x (any type)", "Out: x + x (Integer)"}));
    ConnectPorts(Add("Constant", 0, 0, Catalogue().ConstantReal)->PortArray[1],
                 instance->PortArray[1]);
    lines = NodeReferenceText(*instance).split('\n');
    EXPECT_EQ(lines.mid(2), QStringList({"In: x (Real)", "Out: x + x (Real)"}));

    const auto inputPin = std::ranges::find_if(BodyOf(*twice).Nodes,
                                               [](const auto& node) { return IsInputPin(*node); });
    ASSERT_NE(inputPin, BodyOf(*twice).Nodes.end());
    const Node* pin = inputPin->get();
    lines = NodeReferenceText(*pin).split('\n');
    EXPECT_EQ(lines.value(0), QStringLiteral("Input Pin \u201Cx\u201D"));
    EXPECT_EQ(lines.value(1), PinFunctions().Input->Description);
    EXPECT_EQ(lines.value(2), "Out: x (Boolean, Integer, Real or String)");

    // A counted loop's instance takes the number of its iterations first.
    FunctionDef* loop = AddSubCircuit(circuit, QStringLiteral("Loop"));
    AddPin(*loop, PinFunctions().Iteration, QString(), -100, -40);
    Link(AddPin(*loop, PinFunctions().Input, QStringLiteral("n"), -100, 0), 1,
         AddPin(*loop, PinFunctions().Output, QStringLiteral("n"), 100, 0), 1);
    FollowDefinitions(circuit);
    lines = NodeReferenceText(*Place(circuit.MainFrame, loop->Name)).split('\n');
    EXPECT_TRUE(lines.value(1).contains("\u201Ctimes\u201D times")) << lines.value(1).toStdString();
    EXPECT_EQ(lines.value(2), "In: times (Integer)");
}

} // namespace
} // namespace flow::test
