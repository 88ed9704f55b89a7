#include "FileTestSupport.h"
#include "file/CircuitReader.h"
#include "model/Catalogue.h"
#include "model/Model.h"

#include <QFile>

#include <algorithm>
#include <cmath>
#include <set>

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

std::string ReadBytes(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll().toStdString();
}

void WriteBytes(const QString& fileName, std::string_view bytes) {
    QFile file(fileName);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes.data(), qint64(bytes.size()));
}

Circuit* LoadBytes(QTemporaryDir& folder, std::string_view bytes) {
    const QString name = folder.filePath(QStringLiteral("input.xml"));
    WriteBytes(name, bytes);
    return LoadCircuit(name);
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
    circuit.WindowX = 312;
    circuit.WindowY = 140;
    circuit.WindowWidth = 800;
    circuit.WindowHeight = 600;
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

namespace {

template <typename T> bool Holds(const std::vector<T*>& list, const T* item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

std::string PortFault(const Port& port, const std::set<const Wire*>& wires) {
    for (const Wire* wire : port.Wires) {
        if (!wires.count(wire)) return "a port lists a wire of no frame";
        if (wire->Source != &port && wire->Destination != &port)
            return "a port lists a wire that does not touch it";
    }
    if (port.Source && !Holds(port.Feeders, port.Source))
        return "a port's source is not among its feeders";
    if (!port.Feeders.empty() && !port.Source) return "a fed port has no source";
    if (port.Targets.size() + port.Feeders.size() != port.Wires.size())
        return "a port's targets and feeders do not match its wires";
    return {};
}

} // namespace

std::string ModelFault(const Circuit& circuit) {
    const Frame& frame = circuit.MainFrame;
    if (circuit.Handle != &circuit || frame.Owner != &circuit)
        return "circuit handle or frame owner wrong";
    if (!(circuit.Magnification > 0.0f) || !std::isfinite(circuit.Magnification) ||
        !std::isfinite(circuit.ZoomLevel) ||
        std::fabs(std::exp2(circuit.ZoomLevel) / circuit.Magnification - 1.0) > 1e-4)
        return "camera magnification unusable or not 2 to the zoom level";
    std::set<Int> ids;
    Int lastCommentId = 0, lastNodeId = 0;
    for (const auto& comment : frame.Comments) {
        if (comment->Frame != &frame || comment->Kind != ObjectKind::Comment)
            return "comment record wrong";
        if (comment->Id < 1 || comment->Id > circuit.NextId || !ids.insert(comment->Id).second ||
            comment->Id <= lastCommentId)
            return "comment ids not unique and increasing";
        lastCommentId = comment->Id;
    }
    std::set<const Node*> nodes;
    std::set<const Wire*> wires;
    for (const auto& wire : frame.Wires)
        wires.insert(wire.get());
    for (const auto& node : frame.Nodes) {
        nodes.insert(node.get());
        if (node->Frame != &frame || !node->Function || node->Kind != ObjectKind::Node)
            return "node record wrong";
        if (node->Id < 1 || node->Id > circuit.NextId || !ids.insert(node->Id).second ||
            node->Id <= lastNodeId)
            return "node ids not unique and increasing";
        lastNodeId = node->Id;
        if (node->Ports.size() != node->Function->Ports.size() ||
            node->PortArray.size() != node->Ports.size() + 1)
            return "node ports do not match its function";
        if (node->Implementation) {
            bool known = false;
            for (const auto& impl : node->Function->Implementations)
                known = known || impl.get() == node->Implementation;
            if (!known) return "node implementation not of its function";
        }
        for (std::size_t i = 0; i < node->Ports.size(); ++i) {
            const Port& port = *node->Ports[i];
            if (node->PortArray[i + 1] != &port || port.Node != node.get())
                return "port array or port owner wrong";
            std::string fault = PortFault(port, wires);
            if (!fault.empty()) return fault;
        }
    }
    for (const auto& wire : frame.Wires) {
        const Port* a = wire->Source;
        const Port* b = wire->Destination;
        if (wire->Frame != &frame || !a || !b || !nodes.count(a->Node) || !nodes.count(b->Node))
            return "wire ends not in the frame";
        if (!Holds(a->Wires, wire.get()) || !Holds(b->Wires, wire.get()) || !Holds(a->Targets, b) ||
            !Holds(b->Feeders, a))
            return "wire not listed by its ports";
    }
    for (Node* node : circuit.FileIdTable)
        if (!nodes.count(node)) return "file id table names a node of no frame";
    return {};
}

void ForgetCircuits() {
    Circuits().clear();
}

} // namespace flow::test
