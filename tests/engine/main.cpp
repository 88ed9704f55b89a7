#include "engine/BuiltInFunctions.h"
#include "model/Catalogue.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // The type resolution tests build their circuits from the catalogue without a fixture.
    flow::RegisterCatalogue();
    return RUN_ALL_TESTS();
}
