#include "file/CircuitReader.h"
#include "engine/BuiltInFunctions.h"

#include "engine/NumberText.h"
#include "file/CircuitFragment.h"
#include "file/FileText.h"
#include "file/NestingCheck.h"
#include "file/ReadLosses.h"
#include "file/XmlParse.h"
#include "model/Catalogue.h"
#include "model/Expansion.h"
#include "model/Inputs.h"
#include "model/Model.h"
#include "model/SubCircuits.h"
#include "model/ZoomRange.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <bit>
#include <climits>

namespace flow {

namespace {

QString Text(const XmlNode* element, std::string_view name) {
    const std::string_view value = AttributeValue(element, name);
    // QString::fromUtf8 would drop a byte-order mark at the start: here it is a character of
    // the text, which a save wrote.
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                       QStringConverter::Flag::ConvertInitialBom);
    return decoder(QByteArrayView(value.data(), qsizetype(value.size())));
}

Int Integer(const XmlNode* element, std::string_view name) {
    return ParseInteger(Text(element, name));
}

// Window geometry is kept in ints; values beyond their range are pinned to it.
int SmallInteger(const XmlNode* element, std::string_view name) {
    return int(std::clamp<Int>(Integer(element, name), INT_MIN, INT_MAX));
}

struct WireEndRef {
    flow::Node* Node = nullptr;
    Int Index = 0;
};

// "ID/index": the text before the first "/" is the ID, the text after it up to the next "/"
// the port index; without a "/" there is no index. The node is the one read under that ID
// before the wire; its port is looked up when the wire is made.
WireEndRef WireEnd(const Circuit& circuit, const QString& text) {
    const qsizetype slash = text.indexOf(QLatin1Char('/'));
    const Int id = ParseInteger(text.left(slash < 0 ? text.size() : slash));
    Int index = 0;
    if (slash >= 0) {
        const qsizetype next = text.indexOf(QLatin1Char('/'), slash + 1);
        index = ParseInteger(text.mid(slash + 1, next < 0 ? -1 : next - slash - 1));
    }
    return {NodeByFileId(circuit, id), index};
}

// A wire read but not made yet: an instance gets its ports only once its sub-circuit's body,
// which may come later in the file, has been read.
struct PendingWire {
    WireEndRef Source, Destination;
};

// The implementation of a constant or an input whose output has the type.
Implementation* ImplementationHolding(const Node& node, int type) {
    for (const auto& implementation : node.Function->Implementations)
        if (implementation->Types.size() > 1 && implementation->Types[1] == type)
            return implementation.get();
    return nullptr;
}

void ReadHeldValue(Node& node, const XmlNode* element) {
    Port* port = PortByIndex(&node, 1);
    // Only the very first child counts, of whatever kind: a comment there means no value.
    const XmlNode* value = element->FirstChild;
    if (!port || !value || value->Kind != XmlKind::Element) return;
    const QString text = Text(value, "Value");
    int type = PortType::Generic;
    if (value->Name == "Boolean") {
        type = PortType::Boolean;
        port->Value = text == QLatin1String("True") || text == QLatin1String("1") ? 1 : 0;
    } else if (value->Name == "Integer") {
        type = PortType::Integer;
        port->Value = ParseInteger(text);
    } else if (value->Name == "Real") {
        type = PortType::Real;
        port->Value = std::bit_cast<Int>(ParseReal(text));
    } else if (value->Name == "String") {
        type = PortType::String;
        port->Text = UnescapeText(text);
    }
    if (type == PortType::Generic) return;
    node.Implementation = ImplementationHolding(node, type);
    port->Type = type;
}

// A source that chooses its own type names it in its first child; none, or an unknown one,
// leaves the first implementation.
void ReadChosenType(Node& node, const XmlNode* element) {
    const XmlNode* named = element->FirstChild;
    if (!named || named->Kind != XmlKind::Element) return;
    for (const auto& implementation : node.Function->Implementations)
        if (implementation->Types.size() > 1 &&
            PortTypeName(implementation->Types[1]).toStdString() == named->Name) {
            node.Implementation = implementation.get();
            // Typing reaches only wired nodes: a Random on its own shows its type from here.
            for (std::size_t i = 1; i < node.PortArray.size() && i < implementation->Types.size();
                 ++i)
                if (Port* port = node.PortArray[i]) port->Type = implementation->Types[i];
        }
}

void ReadCamera(Circuit& circuit, const XmlNode* camera) {
    circuit.Saved.CameraX = Integer(camera, "X");
    circuit.Saved.CameraY = Integer(camera, "Y");
    // The view divides by the magnification and takes its logarithm: a missing, zero,
    // negative or non-finite value keeps the new circuit's 1. Beyond the wheel's range a
    // single frame would take seconds to draw, so the nearest end of the range is taken.
    SetMagnification(circuit.Saved, float(ParseReal(Text(camera, "Magnification"))));
}

QString NameOf(const XmlNode* element) {
    return QString::fromUtf8(element->Name.data(), qsizetype(element->Name.size()));
}

bool IsValueElement(const XmlNode* node) {
    return node && node->Kind == XmlKind::Element &&
           (node->Name == "Boolean" || node->Name == "Integer" || node->Name == "Real" ||
            node->Name == "String");
}

// Element children of a Node that reading does not use: all of them, but for a constant's
// value element in first place.
void NoteUnusedChildren(const XmlNode* element, const Node* node, ReadLosses& losses) {
    const XmlNode* used =
        node && (HoldsValue(*node) || ChoosesOwnType(*node)) && IsValueElement(element->FirstChild)
            ? element->FirstChild
            : nullptr;
    for (const XmlNode* child = element->FirstChild; child; child = child->NextSibling)
        if (child->Kind == XmlKind::Element && child != used)
            NoteName(losses.SkippedElements, NameOf(child));
}

// A sub-circuit's body: a Frame element under the root, after the main frame.
struct DeclaredBody {
    FunctionDef* Definition;
    const XmlNode* Element;
};

// Makes a sub-circuit for every Frame whose Name can name one, in the file's order, so that
// instances anywhere in the file find it. The rest is passed over: everything under the root but
// the first Window, Camera and MainFrame and these Frames.
std::vector<DeclaredBody> DeclareSubCircuits(Circuit& circuit, const XmlNode* root,
                                             ReadLosses& losses) {
    std::vector<DeclaredBody> declared;
    for (const XmlNode* child = root->FirstChild; child; child = child->NextSibling) {
        if (child->Kind != XmlKind::Element) continue;
        bool accounted =
            (child->Name == "Window" || child->Name == "Camera" || child->Name == "MainFrame") &&
            FirstChildElement(root, child->Name) == child;
        if (child->Name == "Frame") {
            const QString name = Text(child, "Name");
            if (name.size() > kLongestName) {
                ++losses.LongNames;
                accounted = true;
            } else if (SubCircuitNameProblem(circuit, name).isEmpty()) {
                declared.push_back({AddSubCircuit(circuit, name), child});
                accounted = true;
            }
        }
        if (!accounted) NoteName(losses.SkippedElements, NameOf(child));
    }
    return declared;
}

void NoteStop(const XmlDocument& document, ReadLosses& losses) {
    if (!document.SyntaxError) return;
    losses.StopLine = std::max(document.ErrorLine, 1L);
    losses.StopReason = QString::fromStdString(document.ErrorText);
    const auto unread = [&](const char* name) {
        const auto found = document.UnreadStartTags.find(name);
        return found == document.UnreadStartTags.end() ? std::size_t(0) : found->second;
    };
    losses.NodesUnread = unread("Node");
    losses.WiresUnread = unread("Wire");
    losses.CommentsUnread = unread("Comment");
}

// The deepest nodes a circuit has: the value element of a constant, under Node, MainFrame and
// the root. Nothing deeper is ever looked at.
constexpr std::size_t kCircuitDepth = 3;

} // namespace

Node* NodeByFileId(const Circuit& circuit, Int id) {
    if (id < 1) return nullptr;
    return circuit.FileIdTable.value(id, nullptr);
}

Port* PortByIndex(const Node* node, Int index) {
    if (!node || index < 1 || index > Int(node->Ports.size()) ||
        index >= Int(node->PortArray.size()))
        return nullptr;
    return node->PortArray[std::size_t(index)];
}

Comment* ReadComment(Frame& frame, const XmlNode* element) {
    Comment* comment = AddComment(&frame, QString(), 0, 0);
    comment->X = Integer(element, "X");
    comment->Y = Integer(element, "Y");
    comment->Text = UnescapeText(Text(element, "Text"));
    return comment;
}

namespace {

enum class NodeRefusal { None, UnknownFunction, LongName, SelfContaining, InputInBody };

struct NodeRead {
    flow::Node* Node = nullptr;
    NodeRefusal Refusal = NodeRefusal::None;
};

// The nesting check, given while a whole file is read, stands in for WouldRecurse.
NodeRead ReadNodeElement(Frame& frame, const XmlNode* element, NestingCheck* nesting = nullptr) {
    const QString functionName = Text(element, "Function");
    // Not even looked up: no function has such a name, and the account must not quote it.
    if (functionName.size() > kLongestName) return {nullptr, NodeRefusal::LongName};
    FunctionDef* function = FunctionNamed(frame, functionName);
    if (!function) return {nullptr, NodeRefusal::UnknownFunction};
    if (IsSubCircuit(function) && (nesting ? !nesting->Admit(DefinitionOf(frame), function)
                                           : WouldRecurse(DefinitionOf(frame), function)))
        return {nullptr, NodeRefusal::SelfContaining};
    const bool input = function == Catalogue().Input;
    // A body takes its values through its pins: inputs are the main frame's.
    if (input && DefinitionOf(frame)) return {nullptr, NodeRefusal::InputInBody};
    const bool pin = function == PinFunctions().Input || function == PinFunctions().Output;
    const QString name = pin || input ? Text(element, "Name") : QString();
    if (name.size() > kLongestName) return {nullptr, NodeRefusal::LongName};
    Node* node = AddNode(&frame, function, nullptr);
    if (HoldsValue(*node)) ReadHeldValue(*node, element);
    if (ChoosesOwnType(*node)) ReadChosenType(*node, element);
    if (pin) SetPinName(*node, name);
    // A file without a name for an input reads as a new one would be called.
    if (input) SetInputName(*node, name.isEmpty() ? kInputBaseName : name);
    // IDs are mapped, not used as array positions, so an enormous ID costs one entry.
    const Int id = Integer(element, "ID");
    if (id >= 0) frame.Owner->FileIdTable.insert(id, node);
    node->X = Integer(element, "X");
    node->Y = Integer(element, "Y");
    return {node, NodeRefusal::None};
}

void NoteRefusal(const XmlNode* element, NodeRefusal refusal, ReadLosses& account) {
    switch (refusal) {
    case NodeRefusal::None:
        break;
    case NodeRefusal::UnknownFunction:
        ++account.NodesLeftOut;
        NoteName(account.UnknownFunctions, Text(element, "Function"));
        break;
    case NodeRefusal::LongName:
        ++account.LongNames;
        break;
    case NodeRefusal::SelfContaining:
        ++account.SelfContaining;
        break;
    case NodeRefusal::InputInBody:
        ++account.InputsInBodies;
        break;
    }
}

} // namespace

Node* ReadNode(Frame& frame, const XmlNode* element) {
    return ReadNodeElement(frame, element).Node;
}

namespace {

PendingWire ReadWireEnds(const Circuit& circuit, const XmlNode* element) {
    return {WireEnd(circuit, Text(element, "Source")),
            WireEnd(circuit, Text(element, "Destination"))};
}

Wire* MakeWire(const PendingWire& wire) {
    return ConnectPorts(PortByIndex(wire.Source.Node, wire.Source.Index),
                        PortByIndex(wire.Destination.Node, wire.Destination.Index));
}

// The frame element's comments and nodes into the frame; its wires, with their ends found as
// they stand in the file, into `wires`.
void ReadFrameObjects(Frame& frame, const XmlNode* frameElement, FrameObjects* read,
                      ReadLosses& account, std::vector<PendingWire>& wires,
                      NestingCheck* nesting = nullptr) {
    // Only the frame's own children: anything nested deeper, a Frame included, is not read.
    for (const XmlNode* child = frameElement->FirstChild; child; child = child->NextSibling) {
        if (child->Kind != XmlKind::Element) continue;
        if (child->Name == "Comment") {
            Comment* comment = ReadComment(frame, child);
            if (read) read->Comments.push_back(comment);
        } else if (child->Name == "Node") {
            const NodeRead node = ReadNodeElement(frame, child, nesting);
            if (read && node.Node) read->Nodes.push_back(node.Node);
            NoteRefusal(child, node.Refusal, account);
            NoteUnusedChildren(child, node.Node, account);
        } else if (child->Name == "Wire") {
            wires.push_back(ReadWireEnds(*frame.Owner, child));
        } else {
            NoteName(account.SkippedElements, NameOf(child));
        }
    }
}

void MakeWires(const std::vector<PendingWire>& wires, FrameObjects* read, ReadLosses& account) {
    for (const PendingWire& pending : wires) {
        Wire* wire = MakeWire(pending);
        if (read && wire) read->Wires.push_back(wire);
        if (!wire) ++account.WiresLeftOut;
    }
}

} // namespace

Wire* ReadWire(Frame& frame, const XmlNode* element) {
    return MakeWire(ReadWireEnds(*frame.Owner, element));
}

void ReadFrame(Circuit& circuit, const XmlNode* frameElement, FrameObjects* read,
               ReadLosses* losses) {
    ReadLosses ignored;
    ReadLosses& account = losses ? *losses : ignored;
    std::vector<PendingWire> wires;
    ReadFrameObjects(circuit.MainFrame, frameElement, read, account, wires);
    MakeWires(wires, read, account);
}

void ReadFrames(Circuit& circuit, const XmlNode* root, ReadLosses& losses) {
    const std::vector<DeclaredBody> bodies = DeclareSubCircuits(circuit, root, losses);
    const XmlNode* main = FirstChildElement(root, "MainFrame");
    if (!main) losses.NoMainFrame = true;
    // Every frame's comments and nodes first, in the file's order, so that IDs come out as a save
    // wrote them; then each frame's wires, once every instance has the ports of its pins.
    circuit.ExpansionsHeld = true;
    std::vector<PendingWire> mainWires;
    if (main) ReadFrameObjects(circuit.MainFrame, main, nullptr, losses, mainWires);
    std::vector<std::vector<PendingWire>> bodyWires(bodies.size());
    NestingCheck nesting;
    QHash<Int, Node*> mainIds;
    std::swap(mainIds, circuit.FileIdTable);
    for (std::size_t i = 0; i < bodies.size(); ++i) {
        // A body's IDs name its own nodes.
        circuit.FileIdTable.clear();
        ReadFrameObjects(BodyOf(*bodies[i].Definition), bodies[i].Element, nullptr, losses,
                         bodyWires[i], &nesting);
    }
    std::swap(mainIds, circuit.FileIdTable);
    FollowPins(circuit);
    MakeWires(mainWires, nullptr, losses);
    for (const auto& wires : bodyWires)
        MakeWires(wires, nullptr, losses);
    circuit.ExpansionsHeld = false;
    circuit.DefinitionsChanged = true;
    FollowDefinitions(circuit);
}

Circuit* LoadCircuit(const QString& fileName, QString* stoppedAt) {
    ReadLosses losses;
    Circuit* circuit = LoadCircuit(fileName, losses);
    if (stoppedAt && losses.StopLine > 0) *stoppedAt = losses.StoppedAt();
    return circuit;
}

Circuit* LoadCircuit(const QString& fileName, ReadLosses& losses) {
    RegisterCatalogue();
    XmlDocument document;
    const XmlNode* root =
        ParseXmlFile(fileName, document, kCircuitDepth) ? RootElement(document) : nullptr;
    if (!root) return nullptr;
    NoteStop(document, losses);
    if (root->Name != "Flowlattice") losses.ForeignRoot = NameOf(root);
    Circuit& circuit = NewCircuit();
    if (const XmlNode* window = FirstChildElement(root, "Window")) {
        circuit.Saved.WindowX = SmallInteger(window, "X");
        circuit.Saved.WindowY = SmallInteger(window, "Y");
        circuit.Saved.WindowWidth = SmallInteger(window, "Width");
        circuit.Saved.WindowHeight = SmallInteger(window, "Height");
    }
    if (const XmlNode* camera = FirstChildElement(root, "Camera")) ReadCamera(circuit, camera);
    ReadFrames(circuit, root, losses);
    return &circuit;
}

QString LoadFailureReason(const QString& fileName) {
    const QFileInfo info(fileName);
    if (!info.exists()) return QStringLiteral("no such file");
    if (info.isDir()) return QStringLiteral("it is a directory");
    if (!info.isFile()) return QStringLiteral("not a regular file");
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) return file.errorString();
    if (info.size() == 0) return QStringLiteral("the file is empty");
    XmlDocument document;
    ParseXmlFile(fileName, document, kCircuitDepth);
    if (document.SyntaxError)
        return QStringLiteral("no XML element before line %1: %2")
            .arg(document.ErrorLine)
            .arg(QString::fromStdString(document.ErrorText));
    return QStringLiteral("the file holds no XML element");
}

void ReadCircuitText(Circuit& circuit, std::string_view text, ReadLosses& losses) {
    RegisterCatalogue();
    XmlDocument document;
    ParseXml(text, document, kCircuitDepth);
    NoteStop(document, losses);
    if (const XmlNode* root = RootElement(document)) ReadFrames(circuit, root, losses);
}

FrameObjects ReadCircuitFragment(Circuit& circuit, std::string_view text, ReadLosses* losses) {
    RegisterCatalogue();
    XmlDocument document;
    ParseXml(text, document, kCircuitDepth);
    const XmlNode* root = RootElement(document);
    const XmlNode* frame = root ? FirstChildElement(root, "MainFrame") : nullptr;
    if (losses) NoteStop(document, *losses);
    FrameObjects read;
    if (!frame) return read;
    // The text's IDs name its own nodes only; the circuit's table stays as loading left it.
    QHash<Int, Node*> fileIds;
    std::swap(fileIds, circuit.FileIdTable);
    ReadFrame(circuit, frame, &read, losses);
    std::swap(fileIds, circuit.FileIdTable);
    return read;
}

} // namespace flow
