#pragma once
// flowlattice --run FILE: loads, checks and runs the circuit without a window; printed lines go
// to stdout. Returns the process's exit status: 0 success, 1 the circuit has a defect, 2 an
// unreadable file, 3 some nodes could never fire, 4 the run was still going at the timeout
// (in seconds) and was stopped; the lines it printed stay printed. Random nodes draw from the
// seed, or from a fresh one when none is given. With a trace file, the run's firings are
// recorded and written there as Trace Event JSON once it is over (or stopped); a trace that
// cannot be written makes the status 2.
// The inputs named in `settings` run with their values; a setting that cannot be made exits
// with 2 before the run.

#include "cli/InputSettings.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace flow {

int RunCommand(const QString& file, std::optional<double> timeout = {},
               std::optional<std::uint64_t> seed = {}, const QString& trace = {},
               const std::vector<InputSetting>& settings = {});

} // namespace flow
