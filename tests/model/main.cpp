#include "engine/BuiltInFunctions.h"
#include "model/Catalogue.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    flow::RegisterCatalogue();
    return RUN_ALL_TESTS();
}
