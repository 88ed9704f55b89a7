#include "cli/ResaveCommand.h"

#include "cli/CommandLoad.h"
#include "file/CircuitWriter.h"

#include <cstdio>

namespace flow {

int ResaveCommand(const QString& in, const QString& out, bool keepWhatWasRead) {
    Circuit* circuit =
        LoadForCommand(in, keepWhatWasRead ? PartialRead::Warn : PartialRead::Refuse);
    if (!circuit) return 2;
    QString failure;
    if (!SaveCircuit(*circuit, out, &failure)) {
        std::fprintf(stderr, "flowlattice: cannot write %s: %s\n", qPrintable(out),
                     qPrintable(failure));
        return 2;
    }
    return 0;
}

} // namespace flow
