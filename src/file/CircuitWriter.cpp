#include "file/CircuitWriter.h"

#include "engine/NumberText.h"
#include "file/CircuitFragment.h"
#include "file/FileText.h"
#include "file/WholeFile.h"
#include "file/XmlWrite.h"
#include "model/Inputs.h"
#include "model/Model.h"
#include "model/SubCircuits.h"

#include <bit>

namespace flow {

namespace {

void SetText(XmlNode* element, std::string_view name, const QString& value) {
    SetAttribute(element, name, value.toStdString());
}

void SetInteger(XmlNode* element, std::string_view name, Int value) {
    SetAttribute(element, name, std::to_string(value));
}

// The banner texts are padded to this width; the writer's layout shrinks the padding to one
// blank, which leaves " Flowlattice File " in the file.
QString Banner(const char* text) {
    return QString::fromLatin1(text).leftJustified(35);
}

QString WireEnd(const Port* port) {
    const Int id = port && port->Node ? port->Node->Id : 0;
    return QString::number(id) + QLatin1Char('/') + QString::number(PortIndex(port));
}

// The frame's sections, each with its comment before it, as a save lays them out.
template <typename Comments, typename Nodes, typename Wires>
void WriteFrameObjects(XmlNode* element, const Comments& comments, const Nodes& nodes,
                       const Wires& wires) {
    AppendXmlComment(element, " Comments ");
    for (const auto& comment : comments)
        WriteComment(*comment, element);
    AppendXmlComment(element, " Nodes ");
    for (const auto& node : nodes)
        WriteNode(*node, element);
    AppendXmlComment(element, " Wires ");
    for (const auto& wire : wires)
        WriteWire(*wire, element);
}

} // namespace

WindowGeometryReader& LiveWindowGeometry() {
    static WindowGeometryReader reader;
    return reader;
}

XmlNode* WriteComment(const Comment& comment, XmlNode* frameElement) {
    XmlNode* element = AppendElement(frameElement, "Comment");
    SetInteger(element, "X", comment.X);
    SetInteger(element, "Y", comment.Y);
    SetText(element, "Text", EscapeText(comment.Text));
    return element;
}

XmlNode* WriteNode(const Node& node, XmlNode* frameElement) {
    XmlNode* element = AppendElement(frameElement, "Node");
    SetInteger(element, "ID", node.Id);
    SetText(element, "Function", node.Function ? node.Function->Name : QString());
    SetInteger(element, "X", node.X);
    SetInteger(element, "Y", node.Y);
    if (IsPin(node)) SetText(element, "Name", PinName(node));
    if (IsInput(node)) SetText(element, "Name", InputName(node));
    const Port* port = node.PortArray.size() > 1 ? node.PortArray[1] : nullptr;
    // The first implementation is what a file without the element reads, so only the others
    // are written, as an element naming the output's type.
    if (ChoosesOwnType(node) && node.Implementation && node.Implementation->Types.size() > 1 &&
        node.Implementation != node.Function->Implementations.front().get())
        AppendElement(element, PortTypeName(node.Implementation->Types[1]).toStdString());
    if (!HoldsValue(node) || !port) return element;
    switch (HeldType(node)) {
    case PortType::Boolean:
        SetText(AppendElement(element, "Boolean"), "Value",
                port->Value ? QStringLiteral("True") : QStringLiteral("False"));
        break;
    case PortType::Integer:
        SetInteger(AppendElement(element, "Integer"), "Value", port->Value);
        break;
    case PortType::Real:
        SetText(AppendElement(element, "Real"), "Value",
                FormatReal(std::bit_cast<double>(port->Value), 6, QStringLiteral("e")));
        break;
    case PortType::String:
        SetText(AppendElement(element, "String"), "Value", EscapeText(port->Text));
        break;
    }
    return element;
}

XmlNode* WriteWire(const Wire& wire, XmlNode* frameElement) {
    XmlNode* element = AppendElement(frameElement, "Wire");
    SetText(element, "Source", WireEnd(wire.Source));
    SetText(element, "Destination", WireEnd(wire.Destination));
    return element;
}

XmlNode* StartCircuitDocument(XmlDocument& document) {
    AppendXmlComment(&document.Top, Banner(" Flowlattice File").toStdString());
    AppendXmlComment(&document.Top, Banner(" Version 0.1").toStdString());
    return AppendElement(&document.Top, "Flowlattice");
}

XmlNode* WriteFrame(const Frame& frame, XmlNode* parent) {
    const bool main = frame.Owner && &frame.Owner->MainFrame == &frame;
    XmlNode* element = AppendElement(parent, main ? "MainFrame" : "Frame");
    if (frame.Definition) SetText(element, "Name", frame.Definition->Name);
    WriteFrameObjects(element, frame.Comments, frame.Nodes, frame.Wires);
    return element;
}

std::string CircuitFragmentText(const FrameObjects& objects) {
    return CircuitFragmentText(objects, {});
}

std::string CircuitFragmentText(const FrameObjects& objects,
                                const std::vector<const FunctionDef*>& definitions) {
    XmlDocument document;
    XmlNode* root = StartCircuitDocument(document);
    XmlNode* frame = AppendElement(root, "MainFrame");
    WriteFrameObjects(frame, objects.Comments, objects.Nodes, objects.Wires);
    for (const FunctionDef* definition : definitions)
        WriteFrame(BodyOf(*definition), root);
    std::string text = WriteXml(document);
    // Text for other programs too: a byte order mark inside pasted text would be a stray
    // character there.
    const std::string_view mark = "\xEF\xBB\xBF";
    if (text.starts_with(mark)) text.erase(0, mark.size());
    return text;
}

std::string CircuitFileBytes(const Circuit& circuit) {
    XmlDocument document;
    XmlNode* root = StartCircuitDocument(document);

    int x = circuit.Saved.WindowX, y = circuit.Saved.WindowY;
    int width = circuit.Saved.WindowWidth, height = circuit.Saved.WindowHeight;
    if (LiveWindowGeometry()) {
        int liveX, liveY, liveWidth, liveHeight;
        if (LiveWindowGeometry()(circuit, liveX, liveY, liveWidth, liveHeight)) {
            x = liveX;
            y = liveY;
            width = liveWidth;
            height = liveHeight;
        }
    }
    XmlNode* window = AppendElement(root, "Window");
    SetInteger(window, "X", x);
    SetInteger(window, "Y", y);
    SetInteger(window, "Width", width);
    SetInteger(window, "Height", height);

    XmlNode* camera = AppendElement(root, "Camera");
    SetInteger(camera, "X", circuit.Saved.CameraX);
    SetInteger(camera, "Y", circuit.Saved.CameraY);
    SetText(camera, "Magnification", FormatFixed(circuit.Saved.Magnification));

    WriteFrame(circuit.MainFrame, root);
    // Sub-circuits follow the main frame, which a reader that knows none of them reads alone.
    for (const auto& definition : circuit.SubCircuits)
        WriteFrame(BodyOf(*definition), root);

    return WriteXml(document);
}

bool SaveCircuit(const Circuit& circuit, const QString& fileName, QString* failure) {
    const std::string bytes = CircuitFileBytes(circuit);
    return WriteWholeFile(fileName, QByteArrayView(bytes.data(), qsizetype(bytes.size())), failure);
}

} // namespace flow
