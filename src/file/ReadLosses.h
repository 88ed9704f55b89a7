#pragma once
// What reading a circuit file left out. The reading rules stay those of the file format (a
// syntax error keeps the part before it, unknown functions and elements are passed over); this
// is the account of what they cost, so that nobody mistakes a partial read for the file.

#include <QString>
#include <QStringList>

#include <cstddef>

namespace flow {

struct ReadLosses {
    // The bytes stopped being well-formed XML at StopLine; 0 when they never did.
    long StopLine = 0;
    QString StopReason;
    // Start tags after the last complete one, found by a plain scan of the unread bytes.
    std::size_t NodesUnread = 0, WiresUnread = 0, CommentsUnread = 0;
    // The root element's name when it is not Flowlattice.
    QString ForeignRoot;
    bool NoMainFrame = false;
    // Node elements whose Function names no function, and the names they gave.
    std::size_t NodesLeftOut = 0;
    QStringList UnknownFunctions;
    // Wire elements that made no wire: an end that names no port read before, or a repeat.
    std::size_t WiresLeftOut = 0;
    // Instances left out of a sub-circuit's body because the sub-circuit would contain itself.
    std::size_t SelfContaining = 0;
    // Input nodes left out of a sub-circuit's body, which takes its values through its pins.
    std::size_t InputsInBodies = 0;
    // Names longer than kLongestName (model/SubCircuits.h), with what they named: a Frame's (its
    // sub-circuit is not declared), a pin's, or a node's Function (no function has such a name).
    std::size_t LongNames = 0;
    // Elements where the circuit has none of that name, or a second of one it reads once.
    QStringList SkippedElements;

    bool Any() const;
    // "line N: reason", as the command line reports a stop; empty when the read did not stop.
    QString StoppedAt() const;
};

// The account in words for a message about the file (its name as shown, e.g. "corrupt.xml").
QString DescribeLosses(const QString& fileTitle, const ReadLosses& losses);

// Adds a name to a list of names once.
void NoteName(QStringList& names, const QString& name);

} // namespace flow
