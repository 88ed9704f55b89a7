#include "render/ShapeNotation.h"
#include "model/Catalogue.h"
#include "render/Palette.h"
#include "render/PathCache.h"

#include <QFontMetricsF>

#include <gtest/gtest.h>

#include <vector>

namespace flow {
namespace {

struct Step {
    QPainterPath::ElementType Type;
    double X, Y;
    bool operator==(const Step&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Step& s) {
    return out << "{" << int(s.Type) << ", " << s.X << ", " << s.Y << "}";
}

constexpr auto Move = QPainterPath::MoveToElement;
constexpr auto Line = QPainterPath::LineToElement;
constexpr auto Curve = QPainterPath::CurveToElement;
constexpr auto CurveData = QPainterPath::CurveToDataElement;

std::vector<Step> Steps(const QString& notation) {
    QPainterPath path;
    AddPath(path, notation);
    std::vector<Step> steps;
    for (int i = 0; i < path.elementCount(); ++i) {
        const auto e = path.elementAt(i);
        steps.push_back({e.type, e.x, e.y});
    }
    return steps;
}

TEST(ShapeNotationTest, RelativeGroupsAreMeasuredFromWhereTheCommandBegan) {
    EXPECT_EQ(Steps("M 10,10 l 5,0 5,5"),
              (std::vector<Step>{{Move, 10, 10}, {Line, 15, 10}, {Line, 15, 15}}));
    // Further groups of a move draw lines, also from the command's start.
    EXPECT_EQ(Steps("M 1,1 L 2,1 m 2,2 3,0"),
              (std::vector<Step>{{Move, 1, 1}, {Line, 2, 1}, {Move, 4, 3}, {Line, 5, 1}}));
    EXPECT_EQ(
        Steps("M 4,4 h 2 -2 v 3 V 1 H 0"),
        (std::vector<Step>{
            {Move, 4, 4}, {Line, 6, 4}, {Line, 2, 4}, {Line, 2, 7}, {Line, 2, 1}, {Line, 0, 1}}));
}

TEST(ShapeNotationTest, NumbersNeedNoSeparatorWhereASignOrLetterEndsThem) {
    EXPECT_EQ(Steps("M1-2L.5+3\t\r\nl-1-1"),
              (std::vector<Step>{{Move, 1, -2}, {Line, 0.5, 3}, {Line, -0.5, 2}}));
    EXPECT_EQ(Steps("M 0 0 L 1.5.5"), (std::vector<Step>{{Move, 0, 0}, {Line, 1.5, 0.5}}));
}

TEST(ShapeNotationTest, InterpretationStopsAndKeepsWhatCameBefore) {
    const std::vector<Step> start{{Move, 0, 0}, {Line, 10, 0}};
    // An exponent ends its number; the letter is no command, so the group it interrupts
    // is dropped with everything after it.
    EXPECT_EQ(Steps("M 0,0 L 10,0 L 1e1,5 L 20,20"), start);
    EXPECT_EQ(Steps("M 0,0 L 10,0 20"), start);
    EXPECT_EQ(Steps("M 0,0 L 10,0 X L 20,20"), start);
    EXPECT_EQ(Steps("M 0,0 L 10,0 A 1,1 0 0 0 5,5"), start);
    EXPECT_EQ(Steps("M 0,0 L 10,0 L -,5"), start);
    // Letters outside ASCII are no commands, even where their capital is one (the long s).
    EXPECT_EQ(Steps(QStringLiteral("M 0,0 L 10,0 \u017F 1,2 3,4")), start);
    EXPECT_TRUE(Steps("").empty());
}

TEST(ShapeNotationTest, CloseReturnsToTheFigureStartForTheNextRelativeMove) {
    EXPECT_EQ(Steps("M 10,10 l 5,0 l 0,5 z m 1,1 l 2,0"), (std::vector<Step>{{Move, 10, 10},
                                                                             {Line, 15, 10},
                                                                             {Line, 15, 15},
                                                                             {Line, 10, 10},
                                                                             {Move, 11, 11},
                                                                             {Line, 13, 11}}));
    // A segment right after a close starts a new figure at the closed figure's start.
    EXPECT_EQ(
        Steps("M 2,2 l 3,0 z l 0,4"),
        (std::vector<Step>{{Move, 2, 2}, {Line, 5, 2}, {Line, 2, 2}, {Move, 2, 2}, {Line, 2, 6}}));
}

TEST(ShapeNotationTest, SmoothAndQuadraticCurvesBecomeCubics) {
    // The smooth curve mirrors the previous second control point (5,5) about (5,0).
    EXPECT_EQ(Steps("M 0,0 C 0,5 5,5 5,0 s 5,-5 5,0"), (std::vector<Step>{{Move, 0, 0},
                                                                          {Curve, 0, 5},
                                                                          {CurveData, 5, 5},
                                                                          {CurveData, 5, 0},
                                                                          {Curve, 5, -5},
                                                                          {CurveData, 10, -5},
                                                                          {CurveData, 10, 0}}));
    // Without a cubic before it, the first control point is the current point.
    EXPECT_EQ(
        Steps("M 0,0 L 3,0 S 6,3 9,0"),
        (std::vector<Step>{
            {Move, 0, 0}, {Line, 3, 0}, {Curve, 3, 0}, {CurveData, 6, 3}, {CurveData, 9, 0}}));
    // Quadratic control (3,3) from (0,0) to (6,0): cubic controls at 2/3 of the way.
    // The smooth quadratic mirrors (3,3) about (6,0) to (9,-3).
    EXPECT_EQ(Steps("M 0,0 Q 3,3 6,0 T 12,0"), (std::vector<Step>{{Move, 0, 0},
                                                                  {Curve, 2, 2},
                                                                  {CurveData, 4, 2},
                                                                  {CurveData, 6, 0},
                                                                  {Curve, 8, -2},
                                                                  {CurveData, 10, -2},
                                                                  {CurveData, 12, 0}}));
}

TEST(ShapeNotationTest, CatalogueShapesAndPathSymbolsAreClosedFigures) {
    int checked = 0;
    for (const FunctionDef* function : Catalogue().InOrder) {
        // Drawn as boxes sized from their values, not from paths.
        if (function == Catalogue().Constant || function == Catalogue().Input) continue;
        QStringList notations{function->Shape};
        if (!function->Symbol.startsWith(QLatin1Char('$'))) notations += function->Symbol;
        for (const QString& notation : notations) {
            QPainterPath path;
            AddPath(path, notation);
            const QList<QPolygonF> figures = path.toSubpathPolygons();
            ASSERT_FALSE(figures.isEmpty()) << notation.toStdString();
            for (const QPolygonF& figure : figures) {
                EXPECT_GT(figure.size(), 3) << notation.toStdString();
                EXPECT_EQ(figure.first(), figure.last()) << notation.toStdString();
            }
            ++checked;
        }
    }
    EXPECT_GE(checked, 12);

    // The Print symbol's second figure starts (-8,-6) from the first one's start (20,26).
    const FunctionDef* print = FindFunction("Print");
    ASSERT_TRUE(print);
    const QList<QPolygonF> figures = SymbolPath(print->Symbol).toSubpathPolygons();
    ASSERT_GE(figures.size(), 2);
    EXPECT_EQ(figures[0].first(), QPointF(20, 26));
    EXPECT_EQ(figures[1].first(), QPointF(12, 20));
}

TEST(ShapeNotationTest, NestedFiguresAreHitWithTheEvenOddRule) {
    const QPainterPath& not_ = ShapePath(FindFunction("Not")->Shape);
    EXPECT_TRUE(not_.contains(QPointF(5, 12)));     // the triangle
    EXPECT_TRUE(not_.contains(QPointF(29, 12)));    // the small circle
    EXPECT_FALSE(not_.contains(QPointF(24.5, 12))); // between them
    EXPECT_FALSE(not_.contains(QPointF(5, -5)));

    const QPainterPath& frame = ShapePath("M 0,0 h 10 v 10 h -10 z M 2,2 h 6 v 6 h -6 z");
    EXPECT_TRUE(frame.contains(QPointF(1, 1)));
    EXPECT_FALSE(frame.contains(QPointF(5, 5)));
}

TEST(ShapeNotationTest, TextSymbolsAreGlyphOutlinesCentredOnTheirBox) {
    QPainterPath plus;
    AddSymbol(plus, "$+,20,15,15");
    ASSERT_FALSE(plus.isEmpty());
    const QFontMetricsF metrics(FontAt(BoldFont(), 20));
    const QRectF box(15 - metrics.horizontalAdvance("+") / 2, 15 - metrics.height() / 2,
                     metrics.horizontalAdvance("+"), metrics.height());
    const QRectF ink = plus.boundingRect();
    EXPECT_TRUE(box.adjusted(-0.5, -0.5, 0.5, 0.5).contains(ink));
    EXPECT_NEAR(ink.center().x(), 15, 1.0);

    // "INT" at size 10 centred on (26, 8) is wider than one glyph and spans its centre.
    QPainterPath word;
    AddSymbol(word, "$INT,10,26,8");
    EXPECT_NEAR(word.boundingRect().center().x(), 26, 1.0);
    EXPECT_GT(word.boundingRect().width(), 12);

    // Fields that are no numbers read as 0: the text sits around the origin.
    QPainterPath loose;
    AddTextSymbol(loose, "$W,12,x");
    EXPECT_NEAR(loose.boundingRect().center().x(), 0, 1.0);
}

} // namespace
} // namespace flow
