#include "cli/CommandLoad.h"

#include "file/CircuitReader.h"

#include <QFileInfo>

#include <cstdio>

namespace flow {

namespace {

// The reader's account, with what the parser said where it stopped.
QString Account(const QString& file, const ReadLosses& losses) {
    QString account = DescribeLosses(QFileInfo(file).fileName(), losses);
    if (losses.StopLine > 0) account += QStringLiteral(" (XML parser: %1)").arg(losses.StoppedAt());
    return account;
}

} // namespace

Circuit* LoadForCommand(const QString& file, PartialRead partial) {
    ReadLosses losses;
    Circuit* circuit = LoadCircuit(file, losses);
    if (!circuit) {
        std::fprintf(stderr, "flowlattice: cannot read circuit file %s: %s\n", qPrintable(file),
                     qPrintable(LoadFailureReason(file)));
        return nullptr;
    }
    if (!losses.Any()) return circuit;
    // The editor shows the account and opens the circuit as recovered; here nobody looks at a
    // window, so a loss must never pass for success.
    if (!losses.ForeignRoot.isEmpty()) {
        std::fprintf(stderr, "flowlattice: cannot read circuit file %s: %s\n", qPrintable(file),
                     qPrintable(Account(file, losses)));
        return nullptr;
    }
    if (partial == PartialRead::Refuse) {
        std::fprintf(stderr,
                     "flowlattice: %s was read only in part: %s\n"
                     "flowlattice: nothing was written; --keep-what-was-read writes what was "
                     "read\n",
                     qPrintable(file), qPrintable(Account(file, losses)));
        return nullptr;
    }
    std::fprintf(stderr, "flowlattice: warning: %s was read only in part: %s\n", qPrintable(file),
                 qPrintable(Account(file, losses)));
    return circuit;
}

} // namespace flow
