#include "support/ExampleWindow.h"

#include "support/Examples.h"

#include "editor/window/CircuitWindow.h"
#include "file/CircuitReader.h"

#include <QTest>

#include <gtest/gtest.h>

namespace flow::test {

Circuit& OpenInWindow(Circuit& circuit, QSize size) {
    if (size.isValid()) {
        circuit.Saved.WindowX = 100;
        circuit.Saved.WindowY = 80;
        circuit.Saved.WindowWidth = size.width();
        circuit.Saved.WindowHeight = size.height();
        circuit.Saved.CameraX = circuit.Saved.CameraY = 0;
    }
    OpenCircuitWindow(circuit);
    EXPECT_TRUE(QTest::qWaitForWindowExposed(WindowOf(circuit)));
    return circuit;
}

Circuit* OpenExampleWindow(const QString& name, QSize size) {
    Circuit* circuit = LoadCircuit(Example(name));
    return circuit ? &OpenInWindow(*circuit, size) : nullptr;
}

} // namespace flow::test
