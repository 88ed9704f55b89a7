// Names as long as a file may hold them, and longer: an instance's name is drawn within its box
// and a pin's name, line by line, to a bounded width beside it, so that a picture does not grow
// with a name, while short names draw as they always did.

#include "support/SceneFixture.h"
#include "support/SubCircuitBuilding.h"

#include "render/CircuitPicture.h"
#include "render/PathCache.h"
#include "render/PinDrawing.h"
#include "render/TextLayout.h"

namespace flow::test {
namespace {

const QChar kEllipsis(0x2026);

class LongNameDrawingTest : public SceneFixture {
  protected:
    // A sub-circuit whose input and output pins have its own name, and an instance of it.
    FunctionDef* SubCircuitNamed(const QString& name, Int y = 0) {
        FunctionDef* definition = AddSubCircuit(circuit, name);
        AddPin(*definition, PinFunctions().Input, name, -100, 0);
        AddPin(*definition, PinFunctions().Output, name, 100, 0);
        MoveObject(*AddNode(&circuit.MainFrame, definition, nullptr), -200, y);
        FollowDefinitions(circuit);
        return definition;
    }
    static Node& PinOf(const FunctionDef& definition, std::size_t position) {
        return *BodyOf(definition).Nodes[position];
    }
    // The SVG bytes of the main frame and of the first instance's inside.
    std::size_t PictureBytes() {
        view.OpenPath.clear();
        const std::size_t main = std::size_t(CircuitSvg(view, {800, 600}).size());
        view.OpenPath = {circuit.MainFrame.Nodes.front().get()};
        const std::size_t inside = std::size_t(CircuitSvg(view, {800, 600}).size());
        view.OpenPath.clear();
        return main + inside;
    }
};

TEST_F(LongNameDrawingTest, ALongNameDrawsWithinItsInstanceAndBesideItsPinsAtABoundedWidth) {
    const QString longest(kLongestName, QLatin1Char('W'));
    const FunctionDef* named = SubCircuitNamed(longest);
    const QRectF symbol = PathsOf(*named).SymbolPath.boundingRect();
    EXPECT_GE(symbol.left(), 0.0);
    EXPECT_LE(symbol.right(), double(named->Width));
    EXPECT_GT(symbol.width(), double(named->Width) * 0.8); // what room there is, is used
    for (std::size_t pin : {0u, 1u}) {
        const QRectF box = PinNameBox(PinOf(*named, pin), nullptr);
        EXPECT_LE(box.width(), 240.0);
        EXPECT_GT(box.width(), 200.0);
    }
    // Each line on its own, tab stops counted: one line cut short, the other whole.
    const QString lines = "a\t" + QString(200, QLatin1Char('W')) + "\nshort";
    const QString shown = ElidedTextBlock(PinNameFont(), lines, 240);
    EXPECT_EQ(shown.split('\n').back(), "short");
    EXPECT_TRUE(shown.section('\n', 0, 0).endsWith(kEllipsis)) << shown.toStdString();
    SetPinName(PinOf(*named, 0), lines);
    EXPECT_EQ(PinNameBox(PinOf(*named, 0), nullptr).size(),
              QSizeF(TextBlockWidth(PinNameFont(), shown), 2 * LineHeight(PinNameFont())));

    // Short names are drawn whole, exactly as their notation says.
    const FunctionDef* plain = SubCircuitNamed(QStringLiteral("x + x"), 80);
    EXPECT_EQ(PathsOf(*plain).SymbolPath, SymbolPath(plain->Symbol));
    EXPECT_EQ(PinNameBox(PinOf(*plain, 0), nullptr).width(),
              TextBlockWidth(PinNameFont(), QStringLiteral("x + x")));
}

TEST_F(LongNameDrawingTest, APictureDoesNotGrowWithTheNames) {
    FunctionDef* definition = SubCircuitNamed(QStringLiteral("n"));
    const auto rename = [&](const QString& name) {
        definition->Name = name;
        SetPinName(PinOf(*definition, 0), name);
        SetPinName(PinOf(*definition, 1), name);
        LayOutSubCircuit(*definition);
        FollowDefinitions(circuit);
        return PictureBytes();
    };
    const std::size_t atBound = rename(QString(kLongestName, QLatin1Char('W')));
    const std::size_t beyond = rename(QString(16 * kLongestName, QLatin1Char('W')));
    EXPECT_LT(beyond, atBound + atBound / 100) << atBound << " bytes at the bound";
}

} // namespace
} // namespace flow::test
