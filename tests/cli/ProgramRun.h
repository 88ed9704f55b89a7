#pragma once
// Runs the flowlattice binary under test the way a terminal user would.

#include <QString>
#include <QStringList>

struct Outcome {
    int Status = -1; // -1: crashed, or still running after 30 s
    QString Out;
    QString Error;
};

// The binary CTest names in FLOW_BINARY; run by hand, the one beside this test program.
QString FlowlatticeBinary();
Outcome Flowlattice(const QStringList& arguments);
