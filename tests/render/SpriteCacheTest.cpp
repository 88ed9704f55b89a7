#include "editor/canvas/OpenViews.h"
#include "model/Catalogue.h"
#include "model/Model.h"
#include "render/CommentDrawing.h"
#include "render/NodeDrawing.h"
#include "render/Palette.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdlib>

namespace flow {
namespace {

// Copies of cached drawings must look like the drawings themselves: the scene drawn through
// the cache is compared with the same scene drawn directly (a clip over the whole image turns
// the cache off without changing a pixel).
class SpriteCacheTest : public testing::Test {
  protected:
    void SetUp() override {
        const CatalogueState& catalogue = Catalogue();
        int x = 10;
        int flags = 0;
        for (FunctionDef* function : catalogue.InOrder) {
            if (function == catalogue.Constant || function == catalogue.Input) continue;
            Node* node = AddNode(&circuit.MainFrame, function, nullptr);
            node->X = x;
            node->Y = 10 + (x % 3) * 7;
            node->Flags = flags;
            node->Ports.front()->Flags = flags;
            flags = (flags + ObjectFlag::Hovered) % 6;
            x += int(function->Width) + 14;
        }
        Node* text = AddNode(&circuit.MainFrame, catalogue.Constant, catalogue.ConstantString);
        text->PortArray[1]->Text = "two\tcolumns\nand lines";
        text->X = 150;
        text->Y = 70;
        Node* real = AddNode(&circuit.MainFrame, catalogue.Constant, catalogue.ConstantReal);
        real->PortArray[1]->Value = std::bit_cast<Int>(-1.25e-7);
        real->X = 300;
        real->Y = 70;
        real->Flags |= ObjectFlag::Selected;
        ConnectPorts(real->PortArray[1], circuit.MainFrame.Nodes[4]->PortArray[1]);
        Comment* comment = AddComment(&circuit.MainFrame, "A comment\n\twith a tab", 320, 60);
        comment->Flags |= ObjectFlag::Hovered;
        for (auto& node : circuit.MainFrame.Nodes)
            LayoutConstant(*node, &view);
        for (auto& each : circuit.MainFrame.Comments)
            LayoutComment(*each, &view);
    }

    QImage Draw(double scale, QPointF offset, bool direct) {
        QImage image(900, 300, QImage::Format_ARGB32_Premultiplied);
        image.fill(QColor::fromRgba(ColorTable()[ColorSlot::Background]));
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        if (direct) painter.setClipRect(image.rect());
        painter.translate(offset);
        painter.scale(scale, scale);
        for (auto& node : circuit.MainFrame.Nodes)
            DrawNode(painter, *node, view);
        for (auto& comment : circuit.MainFrame.Comments)
            DrawComment(painter, *comment, view);
        return image;
    }

    // The largest difference of any channel of any pixel.
    static int Difference(const QImage& a, const QImage& b) {
        int largest = 0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x) {
                const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
                for (int shift : {0, 8, 16, 24})
                    largest = std::max(
                        largest, std::abs(int((p >> shift) & 0xFF) - int((q >> shift) & 0xFF)));
            }
        return largest;
    }

    // The mean difference of the green channel over all pixels.
    static double MeanDifference(const QImage& a, const QImage& b) {
        long long total = 0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                total += std::abs(qGreen(a.pixel(x, y)) - qGreen(b.pixel(x, y)));
        return double(total) / (double(a.width()) * a.height());
    }

    Circuit& circuit = NewCircuit();
    CircuitView view{circuit};
};

TEST_F(SpriteCacheTest, CachedDrawingsMatchDirectOnesAtRepeatingPhases) {
    for (const double scale : {1.0, 2.0, 0.5, 4.0}) {
        for (const QPointF offset : {QPointF(0, 0), QPointF(3.5, 0.25)}) {
            const QImage cached = Draw(scale, offset, false);
            const QImage again = Draw(scale, offset, false); // now every sprite is a hit
            const QImage direct = Draw(scale, offset, true);
            EXPECT_EQ(cached, again) << scale;
            // Blending a pre-blended image rounds differently by a level or two at most.
            EXPECT_LE(Difference(cached, direct), 2) << scale << " " << offset.x();
            EXPECT_NE(cached, Draw(scale, offset + QPointF(1, 0), false));
        }
    }
}

TEST_F(SpriteCacheTest, BetweenWholeZoomLevelsCopiesAreOffByAFractionOfAPixel) {
    // A quarter notch: phases are placed to the nearest eighth of a pixel, which moves
    // anti-aliased edges a little (and may snap a glyph to the neighbouring pixel), but on
    // the whole far less than a shift by one pixel would.
    const double scale = std::pow(2.0, 0.25);
    const QPointF offset(0.3, 0.7);
    const QImage direct = Draw(scale, offset, true);
    const double placed = MeanDifference(Draw(scale, offset, false), direct);
    const double shifted = MeanDifference(Draw(scale, offset + QPointF(1, 0), true), direct);
    EXPECT_LT(placed, 0.5);
    EXPECT_LT(placed * 4, shifted);
}

TEST_F(SpriteCacheTest, EditedTextIsDrawnOverTheCachedBox) {
    Comment& comment = *circuit.MainFrame.Comments.front();
    const QImage before = Draw(1.0, QPointF(0, 0), false);
    EditorState& editor = view;
    editor.Set(InteractionFlag::Editing);
    editor.EditComment = &comment;
    editor.EditBuffer = comment.Text;
    editor.Caret = 0;
    editor.SelectionLength = 3;
    const QImage selected = Draw(1.0, QPointF(0, 0), false);
    EXPECT_NE(before, selected);
    EXPECT_LE(Difference(selected, Draw(1.0, QPointF(0, 0), true)), 2);
    editor.SelectionLength = 0;
    editor.Caret = 2;
    const QImage caret = Draw(1.0, QPointF(0, 0), false);
    EXPECT_NE(caret, selected);
    EXPECT_LE(Difference(caret, Draw(1.0, QPointF(0, 0), true)), 2);
}

} // namespace
} // namespace flow
