// What each routine computes, observed through the lines of real runs.

#include "EngineFixture.h"

#include "engine/Routines.h"

#include <cmath>
#include <limits>

namespace flow::test {
namespace {

Value I(Int v) {
    return v;
}
Value R(double v) {
    return v;
}
Value B(bool v) {
    return v;
}
Value S(const char* v) {
    return QString::fromUtf8(v);
}

constexpr Int kMin = std::numeric_limits<Int>::min();
constexpr Int kMax = std::numeric_limits<Int>::max();

class RoutinesTest : public EngineFixture {};

TEST_F(RoutinesTest, BooleanAndBitwiseLogic) {
    EXPECT_EQ(Evaluate("Not", {I(0)}), "-1");
    EXPECT_EQ(Evaluate("Not", {I(kMin)}), QString::number(kMax));
    EXPECT_EQ(Evaluate("Not", {B(false)}), "True");
    EXPECT_EQ(Evaluate("Not", {B(true)}), "False");
    EXPECT_EQ(Evaluate("And", {I(12), I(10)}), "8");
    EXPECT_EQ(Evaluate("Or", {I(12), I(10)}), "14");
    EXPECT_EQ(Evaluate("And", {B(true), B(false)}), "False");
    EXPECT_EQ(Evaluate("And", {B(true), B(true)}), "True");
    EXPECT_EQ(Evaluate("Or", {B(false), B(false)}), "False");
    EXPECT_EQ(Evaluate("Or", {B(false), B(true)}), "True");
}

// Booleans are slots holding any integer: every non-zero value counts as true.
TEST_F(RoutinesTest, NonZeroBooleanSlotsCountAsTrue) {
    Circuit& circuit = MakeCircuit();
    Node* two = Constant(circuit, B(true));
    Node* four = Constant(circuit, B(true));
    Node* five = Constant(circuit, B(true));
    two->PortArray[1]->Value = 2;
    four->PortArray[1]->Value = 4;
    five->PortArray[1]->Value = 5;
    Node* both = Apply(circuit, "And", {two, four});
    Node* notFive = Apply(circuit, "Not", {five});
    Node* andPrint = PrintOf(circuit, both);
    PrintOf(circuit, notFive);
    PrintOf(circuit, five);
    ASSERT_EQ(both->Implementation->Routine, &routines::And_BBB);
    ASSERT_EQ(andPrint->Implementation->Routine, &routines::Print_B);
    QStringList lines = Run(circuit);
    lines.sort();
    EXPECT_EQ(lines, QStringList({"False", "True", "True"}));
}

TEST_F(RoutinesTest, IntegerArithmeticWrapsAndDividesTowardZero) {
    EXPECT_EQ(Evaluate("Plus", {I(kMax), I(1)}), QString::number(kMin));
    EXPECT_EQ(Evaluate("Subtract", {I(kMin), I(1)}), QString::number(kMax));
    EXPECT_EQ(Evaluate("Subtract", {I(5), I(8)}), "-3");
    EXPECT_EQ(Evaluate("Times", {I(kMax), I(2)}), "-2");
    EXPECT_EQ(Evaluate("Times", {I(Int(1) << 32), I(Int(1) << 32)}), "0");
    EXPECT_EQ(Evaluate("Times", {I(-6), I(7)}), "-42");
    EXPECT_EQ(Evaluate("Divide", {I(7), I(2)}), "3");
    EXPECT_EQ(Evaluate("Divide", {I(-7), I(2)}), "-3");
    EXPECT_EQ(Evaluate("Divide", {I(7), I(-2)}), "-3");
    EXPECT_EQ(Evaluate("Divide", {I(-7), I(-2)}), "3");
}

// The quotients without a defined value: the node survives both and fires again.
TEST_F(RoutinesTest, IntegerDivisionByZeroAndOverflowingQuotient) {
    Circuit& circuit = MakeCircuit();
    Node* x = Constant(circuit, I(7));
    Node* y = Constant(circuit, I(0));
    PrintOf(circuit, Apply(circuit, "Divide", {x, y}));
    EXPECT_EQ(Run(circuit), QStringList{"0"});
    SetConstant(x, I(kMin));
    SetConstant(y, I(-1));
    EXPECT_EQ(Run(circuit), QStringList{QString::number(kMin)});
    SetConstant(y, I(1));
    EXPECT_EQ(Run(circuit), QStringList{QString::number(kMin)});
    SetConstant(x, I(-9));
    SetConstant(y, I(-1));
    EXPECT_EQ(Run(circuit), QStringList{"9"});
}

TEST_F(RoutinesTest, RealArithmetic) {
    EXPECT_EQ(Evaluate("Plus", {R(0.5), R(2.0)}), "2.5");
    EXPECT_EQ(Evaluate("Subtract", {R(0.5), R(3.0)}), "-2.5");
    EXPECT_EQ(Evaluate("Times", {R(-1.5), R(4.0)}), "-6.");
    EXPECT_EQ(Evaluate("Divide", {R(1.0), R(3.0)}), "0.333333");
    EXPECT_EQ(Evaluate("Divide", {R(2.0), R(3.0)}), "0.666667");
    EXPECT_EQ(Evaluate("Divide", {R(1.0), R(0.0)}), "+Infinity");
    EXPECT_EQ(Evaluate("Divide", {R(-1.0), R(0.0)}), "-Infinity");
    EXPECT_EQ(Evaluate("Divide", {R(0.0), R(0.0)}), "NaN");
    EXPECT_EQ(Evaluate("Plus", {R(1e308), R(1e308)}), "+Infinity");
}

// Plus and Subtract turn a negative zero into a positive one; Times and Divide keep its sign,
// which shows once it is divided into.
TEST_F(RoutinesTest, SignOfZero) {
    Circuit& circuit = MakeCircuit();
    Node* one = Constant(circuit, R(1.0));
    Node* negativeZero = Constant(circuit, R(-0.0));
    Node* zero = Constant(circuit, R(0.0));
    Node* sum = Apply(circuit, "Plus", {negativeZero, negativeZero});
    Node* difference = Apply(circuit, "Subtract", {negativeZero, zero});
    Node* product = Apply(circuit, "Times", {negativeZero, one});
    Node* quotient = Apply(circuit, "Divide", {negativeZero, one});
    PrintOf(circuit, Apply(circuit, "Divide", {one, sum}));
    PrintOf(circuit, Apply(circuit, "Divide", {one, difference}));
    PrintOf(circuit, Apply(circuit, "Divide", {one, product}));
    PrintOf(circuit, Apply(circuit, "Divide", {one, quotient}));
    PrintOf(circuit, negativeZero);
    QStringList lines = Run(circuit);
    lines.sort();
    EXPECT_EQ(lines, QStringList({"+Infinity", "+Infinity", "-Infinity", "-Infinity", "0."}));
}

TEST_F(RoutinesTest, ToIntegerTruncatesAndMapsTheUnrepresentable) {
    constexpr double infinity = std::numeric_limits<double>::infinity();
    EXPECT_EQ(Evaluate("ToInteger", {R(2.9)}), "2");
    EXPECT_EQ(Evaluate("ToInteger", {R(-2.9)}), "-2");
    EXPECT_EQ(Evaluate("ToInteger", {R(1e19)}), QString::number(kMin));
    EXPECT_EQ(Evaluate("ToInteger", {R(-1e19)}), QString::number(kMin));
    EXPECT_EQ(Evaluate("ToInteger", {R(9223372036854775808.0)}), QString::number(kMin));
    EXPECT_EQ(Evaluate("ToInteger", {R(-9223372036854775808.0)}), QString::number(kMin));
    EXPECT_EQ(Evaluate("ToInteger", {R(9223372036854774784.0)}), "9223372036854774784");
    EXPECT_EQ(Evaluate("ToInteger", {R(infinity)}), "0");
    EXPECT_EQ(Evaluate("ToInteger", {R(-infinity)}), "0");

    // NaN from 0 / 0 gives the minimum; the NaN whose 64 bits are all ones gives 0.
    Circuit& circuit = MakeCircuit();
    Node* zero = Constant(circuit, R(0.0));
    PrintOf(circuit, Apply(circuit, "ToInteger", {Apply(circuit, "Divide", {zero, zero})}));
    EXPECT_EQ(Run(circuit), QStringList{QString::number(kMin)});
    Circuit& allOnes = MakeCircuit();
    Node* nan = Constant(allOnes, R(0.0));
    nan->PortArray[1]->Value = -1;
    PrintOf(allOnes, Apply(allOnes, "ToInteger", {nan}));
    EXPECT_EQ(Run(allOnes), QStringList{"0"});
}

TEST_F(RoutinesTest, ToRealRoundsToNearestEven) {
    EXPECT_EQ(Evaluate("ToReal", {I(-42)}), "-42.");
    // 2^53 + 1 lies halfway between two doubles and goes to the even one, 2^53.
    Circuit& circuit = MakeCircuit();
    Node* big = Constant(circuit, I((Int(1) << 53) + 1));
    Node* back = Apply(circuit, "ToInteger", {Apply(circuit, "ToReal", {big})});
    PrintOf(circuit, back);
    EXPECT_EQ(Run(circuit), QStringList{QString::number(Int(1) << 53)});
}

TEST_F(RoutinesTest, StringsAndIntegerText) {
    EXPECT_EQ(Evaluate("ToString", {I(-42)}), "-42");
    EXPECT_EQ(Evaluate("ToString", {I(kMin)}), "-9223372036854775808");
    EXPECT_EQ(Evaluate("Plus", {S("ab"), S("")}), "ab");
    EXPECT_EQ(Evaluate("Plus", {S("Grüße, "), S("мир")}), QString::fromUtf8("Grüße, мир"));

    Circuit& circuit = MakeCircuit();
    Node* text = Constant(circuit, S("x = "));
    Node* number = Apply(circuit, "ToString", {Constant(circuit, I(7))});
    Node* joined = Apply(circuit, "Plus", {text, number});
    ASSERT_EQ(joined->Implementation->Routine, &routines::Plus_SSS);
    PrintOf(circuit, joined);
    EXPECT_EQ(Run(circuit), QStringList{"x = 7"});
}

TEST_F(RoutinesTest, PrintWritesEachType) {
    Circuit& circuit = MakeCircuit();
    Node* constant = Constant(circuit, I(0));
    Node* print = PrintOf(circuit, constant);
    EXPECT_EQ(Run(circuit), QStringList{"0"});
    SetConstant(constant, I(-1234567890123));
    EXPECT_EQ(Run(circuit), QStringList{"-1234567890123"});
    EXPECT_EQ(print->Implementation->Routine, &routines::Print_I);

    EXPECT_EQ(Evaluate("Print", {B(true)}), "True");
    EXPECT_EQ(Evaluate("Print", {B(false)}), "False");
    EXPECT_EQ(Evaluate("Print", {S("  spaced  text ")}), "  spaced  text ");
    EXPECT_EQ(Evaluate("Print", {S("")}), "");
}

// ToString and Print share their text: the same value printed directly and through ToString gives
// the same line twice.
TEST_F(RoutinesTest, ToStringGivesTheLinePrintPrints) {
    const Value values[] = {R(0.1),
                            R(-0.0),
                            R(123456.0),
                            R(1e300),
                            R(std::numeric_limits<double>::quiet_NaN()),
                            R(-std::numeric_limits<double>::infinity()),
                            B(true),
                            B(false),
                            I(kMin)};
    for (const Value& value : values) {
        Circuit& circuit = MakeCircuit();
        Node* constant = Constant(circuit, value);
        PrintOf(circuit, constant);
        Node* text = Apply(circuit, "ToString", {constant});
        PrintOf(circuit, text);
        const QStringList lines = Run(circuit);
        ASSERT_EQ(lines.size(), 2);
        EXPECT_EQ(lines[0], lines[1]);
        EXPECT_EQ(Output(text)->Type, PortType::String);
    }
}

// Every row of the real-number format, and the edge values, as Print writes them.
TEST_F(RoutinesTest, PrintOfRealsFollowsTheNumberFormat) {
    const std::pair<double, const char*> rows[] = {
        {5.0, "5."},
        {2.5, "2.5"},
        {-2.5, "-2.5"},
        {0.1, "0.1"},
        {1.0, "1."},
        {12345.6, "12345.6"},
        {99999.0, "99999."},
        {123456.0, "1.23456e5"},
        {100000.0, "1.e5"},
        {0.000123, "1.23e-4"},
        {0.00123, "0.00123"},
        {1.0 / 3.0, "0.333333"},
        {2.0 / 3.0, "0.666667"},
        {3.14159265, "3.14159"},
        {0.5, "0.5"},
        {1e300, "1.e300"},
        {-0.0, "0."},
        {0.0, "0."},
        {-123456.0, "-1.23456e5"},
        {0.001, "1.e-3"},
        {0.0001, "1.e-4"},
        {std::numeric_limits<double>::quiet_NaN(), "NaN"},
        {std::numeric_limits<double>::infinity(), "+Infinity"},
        {-std::numeric_limits<double>::infinity(), "-Infinity"},
        {5e-324, "4.94066e-324"},
    };
    Circuit& circuit = MakeCircuit();
    Node* constant = Constant(circuit, R(0.0));
    Node* print = PrintOf(circuit, constant);
    ASSERT_EQ(print->Implementation->Routine, &routines::Print_R);
    for (const auto& [value, text] : rows) {
        SetConstant(constant, R(value));
        EXPECT_EQ(Run(circuit), QStringList{text}) << value;
    }
}

} // namespace
} // namespace flow::test
