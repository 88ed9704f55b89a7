#include "render/Palette.h"
#include "render/TextLayout.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>

namespace flow {
namespace {

constexpr QRgb kBackground = 0xFF000000;
constexpr QRgb kInk = 0xFFFFFFFF;

// Draws text at the origin (10, 10) in white comment text on black.
QImage DrawText(const QString& text, int caret, int selection) {
    QImage image(240, 80, QImage::Format_ARGB32_Premultiplied);
    image.fill(kBackground);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(FontAt(RegularFont(), kCommentTextSize));
    painter.setPen(QColor::fromRgba(kInk));
    DrawEditText(painter, 10, 10, text, caret, selection);
    return image;
}

QRgb At(const QImage& image, double x, double y) {
    return image.pixel(int(std::floor(x)), int(std::floor(y)));
}

// Pixels of the ink colour and of the background inside a box.
std::pair<int, int> InkAndBackground(const QImage& image, QRectF box) {
    int ink = 0, background = 0;
    for (int y = int(std::ceil(box.top())); y < int(box.bottom()); ++y)
        for (int x = int(std::ceil(box.left())); x < int(box.right()); ++x) {
            ink += image.pixel(x, y) == kInk;
            background += image.pixel(x, y) == kBackground;
        }
    return {ink, background};
}

class TextLayoutDrawingTest : public testing::Test {
  protected:
    QFontMetricsF metrics{FontAt(RegularFont(), kCommentTextSize)};
    double line = metrics.height();
};

TEST_F(TextLayoutDrawingTest, SelectedTextIsInvertedWithItsLineEndsAndTabs) {
    const QImage image = DrawText("ab\ncd\tx", 0, 6);
    const double ab = metrics.horizontalAdvance("ab");
    // Selected "ab": a solid box with the letters cut out of it.
    const auto [boxInk, holes] = InkAndBackground(image, QRectF(10, 10, ab, line));
    EXPECT_GT(boxInk, holes);
    EXPECT_GT(holes, 10);
    // The selected line feed: a solid box one "|" wide after the line's text.
    const double bar = metrics.horizontalAdvance("|");
    EXPECT_EQ(InkAndBackground(image, QRectF(10 + ab + 0.5, 11, bar - 1, line - 2)).second, 0);
    // The selected tab after "cd" fills up to the tab stop at 30.
    const double cd = metrics.horizontalAdvance("cd");
    EXPECT_EQ(At(image, 10 + (cd + 30) / 2, 10 + line * 1.5), kInk);
    // "x" after the selection is plain text: little ink, mostly background.
    const auto [xInk, xBackground] =
        InkAndBackground(image, QRectF(40, 10 + line, metrics.horizontalAdvance("x"), line));
    EXPECT_GT(xBackground, xInk);

    // A selection dragged backwards covers the same characters.
    EXPECT_EQ(DrawText("ab\ncd\tx", 6, -6), image);
    // Without a caret nothing is selected, whatever the selection says.
    EXPECT_EQ(DrawText("ab\ncd\tx", kNoCaret, 6), DrawText("ab\ncd\tx", kNoCaret, 0));
}

TEST_F(TextLayoutDrawingTest, TheCaretIsALineOfTheReferenceGlyphsHeight) {
    const double a = metrics.horizontalAdvance("a");
    const QImage caret = DrawText("ab\ncd", 1, 0);
    const QImage none = DrawText("ab\ncd", kNoCaret, 0);
    EXPECT_NE(caret, none);
    // Two units wide, centred on the position after "a", from the top of the line down.
    const auto [ink, background] = InkAndBackground(caret, QRectF(10 + a - 1, 10, 2, line));
    EXPECT_EQ(background, 0);
    EXPECT_GT(ink, 0);
    EXPECT_EQ(At(caret, 10 + a, 10 + line + 2), At(none, 10 + a, 10 + line + 2));

    // On the empty last line after a line feed, the caret stands at the line's start.
    const QImage last = DrawText("ab\n", 3, 0);
    EXPECT_EQ(At(last, 10, 10 + line * 1.5), kInk);
    EXPECT_EQ(At(last, 10, 10 + line * 0.5), kBackground);
}

} // namespace
} // namespace flow
