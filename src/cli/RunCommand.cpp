#include "cli/Commands.h"

#include <cstdio>

namespace flow {

int RunCommand(const QString&) {
    std::fputs("flowlattice: --run is not available yet\n", stderr);
    return 2;
}

} // namespace flow
