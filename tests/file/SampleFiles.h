#pragma once
// The sample circuit and the bytes it is saved as, circuit files built around frame content,
// and the nodes of a circuit read from them.

#include "file/ReadLosses.h"
#include "model/Records.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace flow::test {

// A file in a fresh temporary folder holding the bytes, loaded; none when the load failed.
Circuit* LoadBytes(QTemporaryDir& folder, std::string_view bytes);
// The same, with the account of what the read left out.
Circuit* LoadBytes(QTemporaryDir& folder, std::string_view bytes, ReadLosses& losses);
// Wraps frame content in a complete file with the banner, window and camera.
std::string FileWithFrame(std::string_view frameContent);

// One comment "Sum\nof two", Integer constants 2 and 3 wired into Plus, Plus into Print.
Circuit& MakeSumCircuit();
// The bytes the sum circuit is saved as, with the window at 312, 140, 800 x 600.
extern const std::string kSumFile;

// The node of the main frame at a position in the list, and its port at a 1-based index.
Node* NodeAt(Circuit& circuit, std::size_t position);
Port* PortOf(Circuit& circuit, std::size_t position, std::size_t index);

// Removes the circuits a test made, so tests do not see each other's circuits.
void ForgetCircuits();

// Tests that load bytes as files: every circuit loaded is checked for a consistent model, and
// all are forgotten afterwards.
class LoadingTest : public testing::Test {
  protected:
    void TearDown() override { ForgetCircuits(); }
    Circuit* Load(std::string_view bytes, ReadLosses& losses);
    QTemporaryDir folder;
};

} // namespace flow::test
