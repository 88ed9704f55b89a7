#pragma once
// Helpers shared by the circuit-file tests: files on disk, the sample circuit, model checks.

#include "model/Records.h"

#include <QTemporaryDir>

#include <string>

namespace flow::test {

std::string ReadBytes(const QString& fileName);
void WriteBytes(const QString& fileName, std::string_view bytes);

// A file in a fresh temporary folder holding the bytes, loaded; none when the load failed.
Circuit* LoadBytes(QTemporaryDir& folder, std::string_view bytes);
// Wraps frame content in a complete file with the banner, window and camera.
std::string FileWithFrame(std::string_view frameContent);

// One comment "Sum\nof two", Integer constants 2 and 3 wired into Plus, Plus into Print.
Circuit& MakeSumCircuit();
// The bytes the sum circuit is saved as, with the window at 312, 140, 800 x 600.
extern const std::string kSumFile;

// The node of the main frame at a position in the list, and its port at a 1-based index.
Node* NodeAt(Circuit& circuit, std::size_t position);
Port* PortOf(Circuit& circuit, std::size_t position, std::size_t index);

// Empty when the circuit's cross-references are consistent, else a description of the fault.
std::string ModelFault(const Circuit& circuit);

// Removes the circuits a test made, so tests do not see each other's circuits.
void ForgetCircuits();

} // namespace flow::test
