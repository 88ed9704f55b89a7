#pragma once
// flowlattice --resave IN OUT: loads IN and saves it to OUT as the editor would. Returns the
// process's exit status: 0 success, 2 a file that cannot be read or written, or that was read
// only in part and keepWhatWasRead is not set (then nothing is written).

#include <QString>

namespace flow {

int ResaveCommand(const QString& in, const QString& out, bool keepWhatWasRead);

} // namespace flow
