// A process whose catalogue holds one function more than the built-ins, added the way a new
// function is: one table entry and one routine. It runs on its own so that every other test
// program keeps seeing exactly the built-ins.

#include "TwiceFunction.h"

#include "engine/BuiltInFunctions.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    // Every function is in before anything (the add-node menu) is made from the catalogue.
    flow::RegisterCatalogue();
    flow::RegisterFunction(flow::test::TwiceEntry());
    return RUN_ALL_TESTS();
}
