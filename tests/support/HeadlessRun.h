#pragma once
// Runs a circuit file's bytes as `--run` would, without a window, and gives what it printed.

#include <QStringList>

#include <string>

namespace flow::test {

struct HeadlessResult {
    QStringList Lines; // sorted: nodes print in whatever order their threads fire
    QString Defect;    // the defect that stopped the run before it began; empty if none
};

// Loads the bytes from a file in `folder`, runs the circuit to completion and frees it.
HeadlessResult RunHeadless(const std::string& bytes, const QString& folder);

} // namespace flow::test
