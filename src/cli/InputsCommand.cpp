#include "cli/InputsCommand.h"

#include "cli/CommandLoad.h"
#include "cli/InputSettings.h"
#include "engine/BuiltInFunctions.h"

#include <cstdio>

namespace flow {

int InputsCommand(const QString& file) {
    RegisterCatalogue();
    const Circuit* circuit = LoadForCommand(file, PartialRead::Warn);
    if (!circuit) return 2;
    std::fputs(InputListing(*circuit).toUtf8().constData(), stdout);
    return 0;
}

} // namespace flow
