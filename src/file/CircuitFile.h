#pragma once
// Circuit files: saving a circuit as XML and building a new circuit from such a file.

#include "file/XmlTree.h"
#include "model/Records.h"

#include <functional>
#include <string>

namespace flow {

// Writes the circuit to the file, replacing it as a whole: the bytes go to a temporary file
// beside it that is renamed over the old one only when complete, so a failure leaves the old
// file as it was. A device or pipe of that name is written to in place. Returns whether the file
// was written; why not goes to *failure if given.
bool SaveCircuit(const Circuit& circuit, const QString& fileName, QString* failure = nullptr);
// The bytes SaveCircuit writes, byte-order mark and declaration included.
std::string CircuitFileBytes(const Circuit& circuit);
// A new circuit in the circuit list, or none when the file cannot be read or holds no element.
// A failed load adds nothing to the circuit list. When the bytes stop being well-formed XML the
// circuit holds what came before; where and why it stopped then goes to *stoppedAt if given.
Circuit* LoadCircuit(const QString& fileName, QString* stoppedAt = nullptr);
// Why LoadCircuit gave none for the file, in words for a message.
QString LoadFailureReason(const QString& fileName);

// The geometry of a circuit's open window (outer top-left corner, inner size with the menu bar
// counted in the height), installed by the editor; it returns false when it cannot tell.
// Without it, or for a circuit without a window, the geometry stored in the circuit is saved.
using WindowGeometryReader =
    std::function<bool(const Circuit& circuit, int& x, int& y, int& width, int& height)>;
WindowGeometryReader& LiveWindowGeometry();

// A document with the circuit file's banner comments, and its root element to fill.
XmlNode* StartCircuitDocument(XmlDocument& document);
XmlNode* WriteFrame(const Frame& frame, XmlNode* parent);
XmlNode* WriteComment(const Comment& comment, XmlNode* frameElement);
XmlNode* WriteNode(const Node& node, XmlNode* frameElement);
XmlNode* WriteWire(const Wire& wire, XmlNode* frameElement);

// Reads the frame element's comments, nodes and wires into the circuit's main frame; what was
// read goes to *read if given.
struct FrameObjects;
void ReadFrame(Circuit& circuit, const XmlNode* frameElement, FrameObjects* read = nullptr);
Comment* ReadComment(Frame& frame, const XmlNode* element);
Node* ReadNode(Frame& frame, const XmlNode* element);
Wire* ReadWire(Frame& frame, const XmlNode* element);

// The port's 1-based position in its node's port list; 0 for a port without a node.
Int PortIndex(const Port* port);
// The node stored under a file ID while reading; none for IDs below 1 and unknown IDs.
Node* NodeByFileId(const Circuit& circuit, Int id);
// The node's port at a 1-based index; none without a node or outside 1 to its port count.
Port* PortByIndex(const Node* node, Int index);

} // namespace flow
