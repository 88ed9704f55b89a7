#pragma once
// Loading a circuit for the headless modes of the command line.

#include <QString>

namespace flow {

struct Circuit;
// Says on stderr why a file cannot be read (the caller then exits with 2), and warns when the
// file stops being well-formed XML part way.
Circuit* LoadForCommand(const QString& file);

} // namespace flow
