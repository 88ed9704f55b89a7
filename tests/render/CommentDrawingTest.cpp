#include "render/CommentDrawing.h"
#include "model/Model.h"
#include "render/CircuitView.h"
#include "render/Palette.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace flow {
namespace {

class CommentDrawingTest : public testing::Test {
  protected:
    QImage Draw(const Comment& comment) {
        QImage image(300, 120, QImage::Format_ARGB32_Premultiplied);
        image.fill(QColor::fromRgba(ColorTable()[ColorSlot::Background]));
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        DrawComment(painter, comment, CircuitView(*comment.Frame->Owner));
        return image;
    }
    Circuit& circuit = NewCircuit();
};

TEST_F(CommentDrawingTest, OutlineHasRoundedCornersAndStartsBelowTheTopLeftCorner) {
    QPainterPath path;
    CommentBoxPath(path, 10, 20, 100, 40);
    EXPECT_EQ(path.elementAt(0).x, 10);
    EXPECT_EQ(path.elementAt(0).y, 26);
    EXPECT_EQ(path.boundingRect(), QRectF(10, 20, 100, 40));
    EXPECT_TRUE(path.contains(QPointF(60, 40)));
    // Corner radius 6: a point just inside the bounding corner is cut off, one nearer the
    // arc's centre is not.
    for (const QPointF corner :
         {QPointF(10, 20), QPointF(110, 20), QPointF(110, 60), QPointF(10, 60)}) {
        const QPointF inward(corner.x() < 60 ? 1 : -1, corner.y() < 40 ? 1 : -1);
        EXPECT_FALSE(path.contains(corner + inward)) << corner.x() << "," << corner.y();
        EXPECT_TRUE(path.contains(corner + 3 * inward)) << corner.x() << "," << corner.y();
    }
}

TEST_F(CommentDrawingTest, OutlineShowsSelectionAndHover) {
    Comment* comment = AddComment(&circuit.MainFrame, "one\ntwo\tthree", 20, 30);
    LayoutComment(*comment, nullptr);
    const auto& colors = ColorTable();
    // The outline runs along the pixel row Y, its text starts at (X + 8, Y + 4).
    const int top = int(comment->Y);
    auto topEdge = [&](const QImage& image, int x) { return image.pixel(x, top); };
    EXPECT_EQ(topEdge(Draw(*comment), 40), colors[ColorSlot::CommentOutline]);

    comment->Flags = ObjectFlag::Selected | ObjectFlag::Hovered;
    EXPECT_EQ(topEdge(Draw(*comment), 40), colors[ColorSlot::Selection]);

    comment->Flags = ObjectFlag::Hovered;
    const QImage hovered = Draw(*comment);
    int light = 0, dark = 0;
    for (int x = 30; x < 60; ++x) {
        light += topEdge(hovered, x) == colors[ColorSlot::Hover];
        dark += topEdge(hovered, x) == colors[ColorSlot::CommentOutline];
    }
    EXPECT_GE(light, 10);
    EXPECT_GE(dark, 10);

    // Text in the comment colour inside the box, below and right of the text origin.
    bool text = false;
    for (int y = top + 4; y < top + 20; ++y)
        for (int x = 28; x < 40; ++x)
            text |= hovered.pixel(x, y) == colors[ColorSlot::SymbolFill];
    EXPECT_TRUE(text);
    // Outside the box and its shadow: untouched background.
    EXPECT_EQ(hovered.pixel(int(comment->X + comment->Width) + 8, top + 10),
              colors[ColorSlot::Background]);
}

} // namespace
} // namespace flow
