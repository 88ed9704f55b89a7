#include "cli/Commands.h"

#include <cstdio>

namespace flow {

int RunCommand(const QString&) {
    std::fputs("flowlattice: --run is not available yet\n", stderr);
    return 2;
}

int ResaveCommand(const QString&, const QString&) {
    std::fputs("flowlattice: --resave is not available yet\n", stderr);
    return 2;
}

} // namespace flow
