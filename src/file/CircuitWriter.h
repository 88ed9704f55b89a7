#pragma once
// Circuit files written: a whole circuit as a save writes it, or some of its objects as the
// text the clipboard and the history keep.

#include "file/CircuitFragment.h"
#include "file/XmlTree.h"
#include "model/Records.h"

#include <functional>
#include <string>
#include <vector>

namespace flow {

// Writes the circuit to the file, replacing it as a whole: the bytes go to a temporary file
// beside it that is renamed over the old one only when complete, so a failure leaves the old
// file as it was. A folder, pipe, device or socket of that name is refused (WriteWholeFile has
// the whole rule). Returns whether the file was written; why not goes to *failure if given.
bool SaveCircuit(const Circuit& circuit, const QString& fileName, QString* failure = nullptr);
// The bytes SaveCircuit writes, byte-order mark and declaration included.
std::string CircuitFileBytes(const Circuit& circuit);

// A circuit file holding just these objects, written as a save writes them, without the byte
// order mark, the window or the camera. Wires should run between nodes of the list: their ends
// name the nodes by ID.
std::string CircuitFragmentText(const FrameObjects& objects);
// The same followed by the bodies of these sub-circuits, as a save writes them.
std::string CircuitFragmentText(const FrameObjects& objects,
                                const std::vector<const FunctionDef*>& definitions);

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

} // namespace flow
