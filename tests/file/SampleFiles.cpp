#include "SampleFiles.h"

#include "support/Files.h"
#include "support/ModelFault.h"

#include "engine/BuiltInFunctions.h"
#include "file/CircuitReader.h"
#include "model/Catalogue.h"
#include "model/Model.h"

namespace flow::test {

const std::string kSumFile = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                             "\r\n"
                             "<!-- Flowlattice File -->\r\n"
                             "<!-- Version 0.1 -->\r\n"
                             "\r\n"
                             "<Flowlattice>\r\n"
                             "  <Window X=\"312\" Y=\"140\" Width=\"800\" Height=\"600\"/>\r\n"
                             "  <Camera X=\"0\" Y=\"0\" Magnification=\"1\"/>\r\n"
                             "  <MainFrame>\r\n"
                             "    <!-- Comments -->\r\n"
                             "    <Comment X=\"-120\" Y=\"-90\" Text=\"Sum\\nof two\"/>\r\n"
                             "    <!-- Nodes -->\r\n"
                             "    <Node ID=\"2\" Function=\"Constant\" X=\"-100\" Y=\"-40\">\r\n"
                             "      <Integer Value=\"2\"/>\r\n"
                             "    </Node>\r\n"
                             "    <Node ID=\"3\" Function=\"Constant\" X=\"-100\" Y=\"20\">\r\n"
                             "      <Integer Value=\"3\"/>\r\n"
                             "    </Node>\r\n"
                             "    <Node ID=\"4\" Function=\"Plus\" X=\"0\" Y=\"0\"/>\r\n"
                             "    <Node ID=\"5\" Function=\"Print\" X=\"100\" Y=\"0\"/>\r\n"
                             "    <!-- Wires -->\r\n"
                             "    <Wire Source=\"2/1\" Destination=\"4/1\"/>\r\n"
                             "    <Wire Source=\"3/1\" Destination=\"4/2\"/>\r\n"
                             "    <Wire Source=\"4/3\" Destination=\"5/1\"/>\r\n"
                             "  </MainFrame>\r\n"
                             "</Flowlattice>\r\n";

Circuit* LoadBytes(QTemporaryDir& folder, std::string_view bytes) {
    const QString name = folder.filePath(QStringLiteral("input.xml"));
    return WriteBytes(name, bytes) ? LoadCircuit(name) : nullptr;
}

Circuit* LoadBytes(QTemporaryDir& folder, std::string_view bytes, ReadLosses& losses) {
    const QString name = folder.filePath(QStringLiteral("input.xml"));
    return WriteBytes(name, bytes) ? LoadCircuit(name, losses) : nullptr;
}

std::string FileWithFrame(std::string_view frameContent) {
    return "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
           "<Flowlattice>\r\n"
           "  <Window X=\"1\" Y=\"2\" Width=\"300\" Height=\"200\"/>\r\n"
           "  <Camera X=\"0\" Y=\"0\" Magnification=\"1\"/>\r\n"
           "  <MainFrame>\r\n" +
           std::string(frameContent) +
           "  </MainFrame>\r\n"
           "</Flowlattice>\r\n";
}

Circuit& MakeSumCircuit() {
    RegisterCatalogue();
    Circuit& circuit = NewCircuit();
    circuit.Saved.WindowX = 312;
    circuit.Saved.WindowY = 140;
    circuit.Saved.WindowWidth = 800;
    circuit.Saved.WindowHeight = 600;
    Frame* frame = &circuit.MainFrame;
    AddComment(frame, QStringLiteral("Sum\nof two"), -120, -90);
    const CatalogueState& catalogue = Catalogue();
    Node* two = AddNode(frame, catalogue.Constant, catalogue.ConstantInteger);
    two->X = -100;
    two->Y = -40;
    two->PortArray[1]->Value = 2;
    Node* three = AddNode(frame, catalogue.Constant, catalogue.ConstantInteger);
    three->X = -100;
    three->Y = 20;
    three->PortArray[1]->Value = 3;
    Node* plus = AddNode(frame, FindFunction(QStringLiteral("Plus")), nullptr);
    Node* print = AddNode(frame, FindFunction(QStringLiteral("Print")), nullptr);
    print->X = 100;
    ConnectPorts(two->PortArray[1], plus->PortArray[1]);
    ConnectPorts(three->PortArray[1], plus->PortArray[2]);
    ConnectPorts(plus->PortArray[3], print->PortArray[1]);
    return circuit;
}

Node* NodeAt(Circuit& circuit, std::size_t position) {
    const auto& nodes = circuit.MainFrame.Nodes;
    return position < nodes.size() ? nodes[position].get() : nullptr;
}

Port* PortOf(Circuit& circuit, std::size_t position, std::size_t index) {
    Node* node = NodeAt(circuit, position);
    return node && index < node->PortArray.size() ? node->PortArray[index] : nullptr;
}

void ForgetCircuits() {
    Circuits().clear();
}

Circuit* LoadingTest::Load(std::string_view bytes, ReadLosses& losses) {
    Circuit* circuit = LoadBytes(folder, bytes, losses);
    // Braces: the assertion is a macro with an if of its own.
    if (circuit) {
        EXPECT_EQ(ModelFault(*circuit), "");
    }
    return circuit;
}

} // namespace flow::test
