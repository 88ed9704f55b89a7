#include "render/Camera.h"
#include "render/CircuitView.h"
#include "render/Palette.h"

#include <gtest/gtest.h>

namespace flow {
namespace {

TEST(CameraTest, FlooredModTakesTheSignOfTheDivisor) {
    EXPECT_DOUBLE_EQ(FlooredMod(5, 3), 2);
    EXPECT_DOUBLE_EQ(FlooredMod(-5, 3), 1);
    EXPECT_DOUBLE_EQ(FlooredMod(5, -3), -1);
    EXPECT_DOUBLE_EQ(FlooredMod(-5, -3), -2);
    EXPECT_DOUBLE_EQ(FlooredMod(-6, 3), 0);
    EXPECT_DOUBLE_EQ(FlooredMod(-0.5, 2), 1.5);
    EXPECT_DOUBLE_EQ(FlooredMod(400, 64), 16);
    EXPECT_DOUBLE_EQ(FlooredMod(-400, 64), 48);
}

TEST(CameraTest, BlendColorMixesEveryChannel) {
    EXPECT_EQ(BlendColor(0xFF202020, 0xFF303030, 0.5f), 0xFF282828u);
    EXPECT_EQ(BlendColor(0xFF303030, 0xFF404040, 0.5f), 0xFF383838u);
    EXPECT_EQ(BlendColor(0xFF202020, 0xFF303030, 0.0f), 0xFF202020u);
    EXPECT_EQ(BlendColor(0xFF202020, 0xFF303030, 1.0f), 0xFF303030u);
    // Alpha blends like the colours: 0x80 * 0.25 = 32; 0xFF * 0.75 = 191.25 rounds down.
    EXPECT_EQ(BlendColor(0x80000000, 0x00FFFFFF, 0.75f), 0x20BFBFBFu);
    EXPECT_EQ(BlendColor(0xFF606060, 0xFF101010, 0.7f), 0xFF282828u);
}

TEST(CameraTest, ToScreenMapsThroughCameraAndMagnification) {
    Circuit circuit;
    CircuitView view(circuit);
    view.CanvasWidth = 801;
    view.CanvasHeight = 600;
    EXPECT_EQ(ToScreenX(view, 0), 401); // 400.5 rounds away from zero
    EXPECT_EQ(ToScreenY(view, 0), 300);
    view.CameraX = 100;
    view.CameraY = -50;
    view.Magnification = 2;
    EXPECT_EQ(ToScreenX(view, 110), 421);
    EXPECT_EQ(ToScreenY(view, 0), 400);
    view.Magnification = 0.25f;
    EXPECT_EQ(ToScreenX(view, 99), 400);  // 400.25
    EXPECT_EQ(ToScreenY(view, -60), 298); // 297.5 -> 298
    // Far beyond any canvas the pixel saturates instead of overflowing.
    view.Magnification = 1e30f;
    EXPECT_EQ(ToScreenX(view, 1e9), INT_MAX);
    EXPECT_EQ(ToScreenX(view, -1e9), INT_MIN);
}

TEST(CameraTest, PortTypeColorsByCode) {
    EXPECT_EQ(PortTypeColor(PortType::Generic), 0xFFA0A0A0u);
    EXPECT_EQ(PortTypeColor(PortType::Boolean), 0xFF40C000u);
    EXPECT_EQ(PortTypeColor(PortType::Integer), 0xFF4080FFu);
    EXPECT_EQ(PortTypeColor(PortType::Real), 0xFFFFC000u);
    EXPECT_EQ(PortTypeColor(PortType::String), 0xFFE000A0u);
    EXPECT_EQ(PortTypeColor(0), 0u);
    EXPECT_EQ(PortTypeColor(-6), 0u);
    Port port;
    port.Type = PortType::Real;
    EXPECT_EQ(PortTypeColor(port, {}), 0xFFFFC000u);
}

} // namespace
} // namespace flow
