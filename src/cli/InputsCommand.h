#pragma once
// flowlattice --inputs FILE: prints the circuit's inputs, one per line (InputListing). Returns
// the process's exit status: 0, or 2 for a file that cannot be read.

#include <QString>

namespace flow {

int InputsCommand(const QString& file);

} // namespace flow
