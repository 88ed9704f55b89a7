// Drawing needs a GUI application; the offscreen platform lets it run without a display.

#include "engine/BuiltInFunctions.h"
#include "model/Catalogue.h"
#include "render/Palette.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    flow::RegisterCatalogue();
    flow::SetupPalette();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
