#include "cli/CommandLoad.h"

#include "file/CircuitReader.h"

#include <cstdio>

namespace flow {

Circuit* LoadForCommand(const QString& file) {
    QString stoppedAt;
    Circuit* circuit = LoadCircuit(file, &stoppedAt);
    if (!circuit) {
        std::fprintf(stderr, "flowlattice: cannot read circuit file %s: %s\n", qPrintable(file),
                     qPrintable(LoadFailureReason(file)));
        return nullptr;
    }
    // The editor opens what could be read without a word; here nobody looks at a window, and a
    // resave would quietly write the shortened circuit.
    if (!stoppedAt.isEmpty())
        std::fprintf(stderr,
                     "flowlattice: warning: %s is not well-formed XML from %s; only the part "
                     "before it was read\n",
                     qPrintable(file), qPrintable(stoppedAt));
    return circuit;
}

} // namespace flow
