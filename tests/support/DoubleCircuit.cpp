#include "support/DoubleCircuit.h"

#include "file/CircuitReader.h"
#include "support/Files.h"

namespace flow::test {

namespace {

constexpr const char* kText = R"(<?xml version="1.0" encoding="UTF-8"?>
<Flowlattice>
  <Camera X="0" Y="0" Magnification="1"/>
  <MainFrame>
    <Node ID="2" Function="Constant" X="-100" Y="-40"><Integer Value="21"/></Node>
    <Node ID="3" Function="Constant" X="-100" Y="40"><Real Value="1.25"/></Node>
    <Node ID="4" Function="Double" X="0" Y="-40"/>
    <Node ID="5" Function="Double" X="0" Y="40"/>
    <Node ID="6" Function="Print" X="100" Y="-40"/>
    <Node ID="7" Function="Print" X="100" Y="40"/>
    <Wire Source="2/1" Destination="4/1"/>
    <Wire Source="3/1" Destination="5/1"/>
    <Wire Source="4/2" Destination="6/1"/>
    <Wire Source="5/2" Destination="7/1"/>
  </MainFrame>
  <Frame Name="Double">
    <Node ID="8" Function="Input Pin" X="-100" Y="0" Name="x"/>
    <Node ID="9" Function="Plus" X="0" Y="0"/>
    <Node ID="10" Function="Output Pin" X="100" Y="0" Name="x + x"/>
    <Node ID="11" Function="Print" X="0" Y="60"/>
    <Wire Source="8/1" Destination="9/1"/>
    <Wire Source="8/1" Destination="9/2"/>
    <Wire Source="9/3" Destination="10/1"/>
    <Wire Source="8/1" Destination="11/1"/>
  </Frame>
</Flowlattice>
)";

} // namespace

Circuit* LoadDoubleCircuit(const QString& folder, bool missingInput) {
    const QString fileName = folder + QStringLiteral("/double.xml");
    QString text = QString::fromUtf8(kText);
    if (missingInput) text.remove(QStringLiteral("<Wire Source=\"8/1\" Destination=\"9/2\"/>"));
    if (!WriteBytes(fileName, text.toStdString())) return nullptr;
    Circuit* circuit = LoadCircuit(fileName);
    if (circuit) circuit->FileName = fileName;
    return circuit;
}

} // namespace flow::test
