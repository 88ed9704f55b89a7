#include "render/NodeDrawing.h"
#include "editor/canvas/OpenViews.h"
#include "model/Catalogue.h"
#include "model/Model.h"
#include "render/Camera.h"
#include "render/Palette.h"
#include "render/TextLayout.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <vector>

namespace flow {
namespace {

class NodeDrawingTest : public testing::Test {
  protected:
    Node* Constant(Implementation* implementation) {
        return AddNode(&circuit.MainFrame, Catalogue().Constant, implementation);
    }
    Node* Function(const char* name) {
        return AddNode(&circuit.MainFrame, FindFunction(name), nullptr);
    }

    // Draws like a camera at magnification 2 with the circuit origin at pixel (100, 100).
    QImage Draw(const Node& node) {
        QImage image(200, 200, QImage::Format_ARGB32_Premultiplied);
        image.fill(QColor::fromRgba(ColorTable()[ColorSlot::Background]));
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.translate(100, 100);
        painter.scale(2, 2);
        DrawNode(painter, node, view);
        return image;
    }
    // The pixel under the circuit point (x, y).
    static QRgb At(const QImage& image, double x, double y) {
        return image.pixel(int(std::floor(100 + 2 * x)), int(std::floor(100 + 2 * y)));
    }

    Circuit& circuit = NewCircuit();
    CircuitView view{circuit};
};

// Anti-aliased curves are flattened into polygons: allow a little blending.
bool Near(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) < 16 && std::abs(qGreen(a) - qGreen(b)) < 16 &&
           std::abs(qBlue(a) - qBlue(b)) < 16 && qAlpha(a) == qAlpha(b);
}

double ConstantLineHeight() {
    return QFontMetricsF(FontAt(BoldFont(), 11)).height();
}

TEST_F(NodeDrawingTest, ConstantsShowTheirValueInABoxLeftOfX) {
    const CatalogueState& catalogue = Catalogue();
    Node* text = Constant(catalogue.ConstantString);
    text->X = 50;
    LayoutConstant(*text, &view);
    EXPECT_EQ(text->DisplayText, QStringLiteral("\u275D\u275E"));
    EXPECT_LT(text->Width, -16);
    const Int oneLine = text->Height;
    EXPECT_EQ(oneLine, Int(std::ceil(ConstantLineHeight())) + 4);
    EXPECT_EQ(text->PortArray[1]->X, -4);
    EXPECT_EQ(text->PortArray[1]->Y, oneLine / 2);

    // A text is shown without quotation marks; three lines are two line heights taller.
    text->PortArray[1]->Text = "one\ntwo\nthree";
    text->Flags |= ObjectFlag::NeedsLayout;
    LayoutConstant(*text, &view);
    EXPECT_EQ(text->DisplayText, "one\ntwo\nthree");
    EXPECT_EQ(text->Height, Int(std::ceil(3 * ConstantLineHeight())) + 4);
    EXPECT_EQ(text->PortArray[1]->Y, text->Height / 2);
    text->PortArray[1]->Text = "a\tb";
    text->Flags |= ObjectFlag::NeedsLayout;
    LayoutConstant(*text, &view);
    EXPECT_EQ(text->Width, -(Int(std::ceil(TextBlockWidth(FontAt(BoldFont(), 11), "a\tb"))) + 16));
    EXPECT_LT(text->Width, -46);

    Node* flag = Constant(catalogue.ConstantBoolean);
    flag->PortArray[1]->Value = 5;
    LayoutConstant(*flag, &view);
    EXPECT_EQ(flag->DisplayText, "True");

    Node* whole = Constant(catalogue.ConstantInteger);
    whole->PortArray[1]->Value = -1234;
    LayoutConstant(*whole, &view);
    EXPECT_EQ(whole->DisplayText, QStringLiteral("\u22121\u200A234"));

    Node* real = Constant(catalogue.ConstantReal);
    real->PortArray[1]->Value = std::bit_cast<Int>(-2.5);
    LayoutConstant(*real, &view);
    EXPECT_EQ(real->DisplayText, QStringLiteral("\u22122.5"));

    Node* unresolved = Constant(nullptr);
    LayoutConstant(*unresolved, &view);
    EXPECT_EQ(unresolved->DisplayText, QStringLiteral("\u2205"));

    // Without NeedsLayout nothing changes.
    flag->Flags = 0;
    flag->PortArray[1]->Value = 0;
    LayoutConstant(*flag, &view);
    EXPECT_EQ(flag->DisplayText, "True");

    // Other functions keep their catalogue size.
    Node* plus = Function("Plus");
    LayoutConstant(*plus, &view);
    EXPECT_EQ(plus->Width, 32);
    EXPECT_TRUE(plus->DisplayText.isEmpty());
}

TEST_F(NodeDrawingTest, AnEditedConstantFollowsItsBufferAndPlacesTheCaret) {
    Node* number = Constant(Catalogue().ConstantInteger);
    number->X = 100;
    number->Y = 10;
    LayoutConstant(*number, &view);
    const Int width = number->Width;
    number->Flags = 0;

    EditorState& editor = view;
    editor.Set(InteractionFlag::Editing);
    editor.EditNode = number;
    editor.EditBuffer = "12345678";
    editor.LastEvent = CanvasEvent::LeftDown;
    // Text origin from the previous layout: (X + Width + 4, Y + 2); click left of it.
    editor.MouseX = 100 + width + 4 - 10;
    editor.MouseY = 10 + 2 + 3;
    editor.Caret = 5;
    LayoutConstant(*number, &view);
    EXPECT_EQ(editor.Caret, 0);
    EXPECT_LT(number->Width, width);
    EXPECT_EQ(number->DisplayText, "0"); // the shown value changes only on commit
}

TEST_F(NodeDrawingTest, PortsShowWhetherTheyAreConnectedInTheirTypeColour) {
    Node* number = Constant(Catalogue().ConstantInteger);
    LayoutConstant(*number, &view);
    Port& port = *number->PortArray[1];
    const QRgb blue = PortTypeColor(PortType::Integer);
    ASSERT_EQ(port.Type, PortType::Integer);
    const double px = double(port.X), py = double(port.Y);

    // Unconnected: a coloured ring around a black centre.
    QImage image = Draw(*number);
    EXPECT_EQ(At(image, px, py), 0xFF000000u);
    EXPECT_EQ(At(image, px, py - 4), blue);
    EXPECT_EQ(At(image, px + 4, py), blue);

    // The port a wire is being drawn from counts as connected: a small dot, no ring.
    view.WireSource = &port;
    image = Draw(*number);
    EXPECT_EQ(At(image, px, py), blue);
    EXPECT_NE(At(image, px, py - 4), blue);
    view.WireSource = nullptr;

    // A wired input takes the type of its source and shows as a dot.
    Node* print = Function("Print");
    Port& in = *print->PortArray[1];
    ASSERT_TRUE(ConnectPorts(&port, &in));
    ASSERT_EQ(in.Source, &port);
    image = Draw(*print);
    EXPECT_EQ(At(image, double(in.X), double(in.Y)), blue);
    EXPECT_NE(At(image, double(in.X) - 4, double(in.Y)), blue);

    // A selected port gets a white ring at radius 5.5, a hovered one a dashed light ring.
    in.Flags |= ObjectFlag::Selected;
    image = Draw(*print);
    EXPECT_TRUE(Near(At(image, double(in.X) - 5.75, double(in.Y)), 0xFFFFFFFF));
    EXPECT_TRUE(Near(At(image, double(in.X), double(in.Y) + 5.25), 0xFFFFFFFF));
    in.Flags = ObjectFlag::Hovered;
    image = Draw(*print);
    int light = 0;
    for (double a = 0; a < 6.28; a += 0.05)
        light += Near(At(image, double(in.X) + 5.5 * std::cos(a), double(in.Y) + 5.5 * std::sin(a)),
                      ColorTable()[ColorSlot::Hover]);
    EXPECT_GT(light, 10);
    EXPECT_LT(light, 100);
}

TEST_F(NodeDrawingTest, ConstantBoxesLieLeftOfXWithTheTextInside) {
    Node* number = Constant(Catalogue().ConstantInteger);
    number->X = 20;
    number->Y = -20;
    LayoutConstant(*number, &view);
    const QImage image = Draw(*number);
    const double middle = double(number->Y + number->Height / 2);
    const double left = double(number->X + number->Width);
    // Just inside the left edge: the dark body; far right of X: untouched background.
    EXPECT_EQ(At(image, left + 2, middle), ColorTable()[ColorSlot::NodeDark]);
    EXPECT_EQ(At(image, 30, middle), ColorTable()[ColorSlot::Background]);
    EXPECT_EQ(At(image, left - 8, middle), ColorTable()[ColorSlot::Background]);
    // The text "0" starts at the text origin: some pixel of its cell shows the text colour.
    bool textFound = false;
    for (double x = left + 4; x < left + 12; x += 0.5)
        for (double y = -18; y < middle + 4; y += 0.5)
            textFound |= At(image, x, y) == ColorTable()[ColorSlot::SymbolFill];
    EXPECT_TRUE(textFound);
}

// The colour of a linear gradient from `from` to `to` at point p, stops given as (t, colour).
QRgb GradientAt(QPointF from, QPointF to, QPointF p, std::vector<std::pair<double, QRgb>> stops) {
    const QPointF axis = to - from;
    const double t =
        std::clamp(QPointF::dotProduct(p - from, axis) / QPointF::dotProduct(axis, axis), 0.0, 1.0);
    for (std::size_t i = 1; i < stops.size(); ++i) {
        if (t > stops[i].first) continue;
        const double span = stops[i].first - stops[i - 1].first;
        const double f = span > 0 ? (t - stops[i - 1].first) / span : 1.0;
        return BlendColor(stops[i - 1].second, stops[i].second, float(f));
    }
    return stops.back().second;
}

bool Close(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) <= 3 && std::abs(qGreen(a) - qGreen(b)) <= 3 &&
           std::abs(qBlue(a) - qBlue(b)) <= 3;
}

TEST_F(NodeDrawingTest, BodiesAreFilledWithTheirGradients) {
    const auto& colors = ColorTable();
    const QRgb light = colors[ColorSlot::NodeLight], dark = colors[ColorSlot::NodeDark];

    // Print is a rounded 40 x 40 square with its symbol inside (8..32): the ring between them
    // shows the gradient from the top-right corner down and slightly to the left (the input
    // port covers the left edge around y = 20).
    Node* print = Function("Print");
    const double w = 40, h = 40;
    const QPointF from(w, 0), to(0.75 * w, h + 0.1875 * h / ((h / w) * (h / w) + 0.0625) + 1);
    const QImage body = Draw(*print);
    for (const QPointF p : {QPointF(20, 4), QPointF(36, 20), QPointF(4, 11), QPointF(20, 36),
                            QPointF(34, 5), QPointF(5, 34)}) {
        const QRgb expected =
            GradientAt(from, to, p, {{0, light}, {0.4, BlendColor(light, dark, 0.7f)}, {1, dark}});
        EXPECT_TRUE(Close(At(body, p.x(), p.y()), expected))
            << p.x() << "," << p.y() << " " << std::hex << At(body, p.x(), p.y()) << " "
            << expected;
    }

    // A Constant: light top edge, dark body, bottom edge in the type colour, from y = -1 to
    // Height + 4. Probed just inside the left edge, left of the text.
    Node* number = Constant(Catalogue().ConstantInteger);
    LayoutConstant(*number, &view);
    const double height = double(number->Height);
    const double edge = 8 / (height + 5);
    const QRgb tint = PortTypeColor(PortType::Integer);
    const QImage box = Draw(*number);
    for (double y = 1.25; y < height - 1; y += 1.5) {
        const QPointF p(double(number->Width) + 2.25, y);
        const QRgb expected = GradientAt(QPointF(0, -1), QPointF(0, height + 4), p,
                                         {{0, light}, {edge, dark}, {1 - edge, dark}, {1, tint}});
        EXPECT_TRUE(Close(At(box, p.x(), p.y()), expected))
            << y << " " << std::hex << At(box, p.x(), p.y()) << " " << expected;
    }
}

TEST_F(NodeDrawingTest, SelectionAndHoverOutlineTheBody) {
    // The And shape's top edge runs along y = 0 from x = 0 to 20; the fill covers the inner
    // half of the outline, so the highlight shows just above the edge.
    Node* gate = Function("And");
    EXPECT_EQ(At(Draw(*gate), 10, -0.25), ColorTable()[ColorSlot::NodeOutline]);
    gate->Flags = ObjectFlag::Selected | ObjectFlag::Hovered;
    EXPECT_EQ(At(Draw(*gate), 10, -0.25), 0xFFFFFFFFu);

    gate->Flags = ObjectFlag::Hovered;
    const QImage hovered = Draw(*gate);
    int light = 0, dark = 0;
    for (double x = 2; x < 18; x += 0.5) {
        const QRgb pixel = At(hovered, x, -0.25);
        light += pixel == ColorTable()[ColorSlot::Hover];
        dark += pixel == ColorTable()[ColorSlot::NodeOutline];
    }
    EXPECT_GT(light, 4); // dashes of 3 units...
    EXPECT_GT(dark, 4);  // ...with gaps showing the dark outline

    // Dragged selected nodes follow the drag before the move is applied.
    gate->Flags = ObjectFlag::Selected;
    view.Press = press::Dragging{0, 0, 10, 0};
    EXPECT_EQ(At(Draw(*gate), 25, -0.25), 0xFFFFFFFFu);
    EXPECT_EQ(At(Draw(*gate), 2, -0.25), ColorTable()[ColorSlot::Background]);
}

} // namespace
} // namespace flow
