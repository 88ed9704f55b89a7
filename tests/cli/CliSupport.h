#pragma once
// Runs the flowlattice binary under test, named by FLOW_BINARY, the way a terminal user would.

#include <QString>
#include <QStringList>

struct Outcome {
    int Status = -1; // -1: crashed, or still running after 30 s
    QString Out;
    QString Error;
};

Outcome Flowlattice(const QStringList& arguments);
