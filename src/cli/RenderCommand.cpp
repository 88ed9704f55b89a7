#include "cli/Commands.h"

#include <cstdio>

namespace flow {

int RenderCommand(const QString&, const QString&, int, int) {
    std::fputs("flowlattice: --render is not available yet\n", stderr);
    return 2;
}

} // namespace flow
