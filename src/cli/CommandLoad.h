#pragma once
// Loading a circuit for the headless modes of the command line.

#include <QString>

namespace flow {

struct Circuit;

// What a headless mode does with a file read only in part. A file that is no Flowlattice
// circuit is refused either way.
enum class PartialRead {
    Refuse, // say what was lost and give no circuit: nothing is written from it
    Warn,   // say what was lost, then go on with what was read
};

// Says on stderr why a file cannot be read or, following `partial`, what its read lost; none
// when the caller is to exit with 2.
Circuit* LoadForCommand(const QString& file, PartialRead partial);

} // namespace flow
