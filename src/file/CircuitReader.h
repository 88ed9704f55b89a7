#pragma once
// Circuit files read: a whole file into a new circuit, or a circuit file's text into a circuit
// beside what it holds.

#include "file/CircuitFragment.h"
#include "file/ReadLosses.h"
#include "file/XmlTree.h"
#include "model/Records.h"

#include <string_view>

namespace flow {

// A new circuit in the circuit list, or none when the file cannot be read or holds no element.
// A failed load adds nothing to the circuit list. When the bytes stop being well-formed XML the
// circuit holds what came before; where and why it stopped then goes to *stoppedAt if given.
Circuit* LoadCircuit(const QString& fileName, QString* stoppedAt = nullptr);
// The same, with the account of everything the read left out.
Circuit* LoadCircuit(const QString& fileName, ReadLosses& losses);
// Why LoadCircuit gave none for the file, in words for a message.
QString LoadFailureReason(const QString& fileName);

// Reads the objects of a circuit file's text into the circuit's main frame, after what it holds,
// as loading would: every object gets a fresh ID, wires connect the nodes of the text, and types
// resolve. Text that is no circuit file adds nothing. The circuit's table of file IDs is left as
// it was. Where the text stopped being well-formed and what its frame lost go to *losses.
FrameObjects ReadCircuitFragment(Circuit& circuit, std::string_view text,
                                 ReadLosses* losses = nullptr);

// Reads circuit text into an empty circuit as loading its file would, sub-circuits included,
// but for the window and the camera. Where the text stopped being well-formed and what it lost
// go to `losses`.
void ReadCircuitText(Circuit& circuit, std::string_view text, ReadLosses& losses);

// Reads the frame element's comments, nodes and wires into the circuit's main frame; what was
// read goes to *read, and what was left out to *losses, if given.
void ReadFrame(Circuit& circuit, const XmlNode* frameElement, FrameObjects* read = nullptr,
               ReadLosses* losses = nullptr);
// Reads the main frame and the sub-circuits under a circuit file's root element.
void ReadFrames(Circuit& circuit, const XmlNode* root, ReadLosses& losses);
Comment* ReadComment(Frame& frame, const XmlNode* element);
Node* ReadNode(Frame& frame, const XmlNode* element);
Wire* ReadWire(Frame& frame, const XmlNode* element);

// The node stored under a file ID while reading; none for IDs below 1 and unknown IDs.
Node* NodeByFileId(const Circuit& circuit, Int id);
// The node's port at a 1-based index; none without a node or outside 1 to its port count.
Port* PortByIndex(const Node* node, Int index);

} // namespace flow
