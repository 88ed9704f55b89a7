// The functions that compare, take remainders, choose and write values out, each against an
// evaluation of its own on random inputs mixed with the edge values: NaN, signed zeros,
// infinities, the ends of the integer range, empty strings, characters above U+FFFF. Results are
// read back from the slot each node sent its value to in a real run.

#include "EngineFixture.h"

#include "engine/NodeThreads.h"
#include "engine/NumberText.h"
#include "engine/PortValues.h"
#include "engine/Routines.h"
#include "model/Model.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <functional>
#include <limits>
#include <random>

namespace flow::test {
namespace {

using Unsigned = std::uint64_t;
using Inputs = std::vector<Value>;

constexpr int B = PortType::Boolean, I = PortType::Integer, R = PortType::Real,
              S = PortType::String;
constexpr Int kMin = std::numeric_limits<Int>::min();
constexpr Int kMax = std::numeric_limits<Int>::max();
constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

QString Character(char32_t c) {
    return QString::fromUcs4(&c, 1);
}

// Below, between and above the surrogates: UTF-16 units sort U+E000..U+FFFF after U+10000 and
// up, code points the other way.
const QString kCharacters[] = {"a",
                               "A",
                               "b",
                               Character(0xE9),
                               Character(0xE000),
                               Character(0xFB01),
                               Character(0xFFFD),
                               Character(0x10000),
                               Character(0x1F600),
                               Character(0x10FFFF)};

// Where x stands to y: -1 before, 0 equal, 1 after, 2 unordered (a NaN). Strings compare as
// their UTF-32 forms, everything else through the plain operators.
int Standing(const Value& x, const Value& y) {
    if (const double* a = std::get_if<double>(&x)) {
        const double b = std::get<double>(y);
        if (std::isnan(*a) || std::isnan(b)) return 2;
        return *a < b ? -1 : *a > b ? 1 : 0;
    }
    if (const QString* a = std::get_if<QString>(&x)) {
        const QList<uint> u = a->toUcs4(), v = std::get<QString>(y).toUcs4();
        if (u == v) return 0;
        return std::ranges::lexicographical_compare(u, v) ? -1 : 1;
    }
    return x < y ? -1 : y < x ? 1 : 0;
}

struct Comparison {
    const char* Function;
    bool (*Holds)(int standing);
    bool TakesBooleans;
};

const Comparison kComparisons[] = {
    {"Equal", [](int s) { return s == 0; }, true},
    {"NotEqual", [](int s) { return s != 0; }, true},
    {"Less", [](int s) { return s == -1; }, false},
    {"LessOrEqual", [](int s) { return s == -1 || s == 0; }, false},
    {"Greater", [](int s) { return s == 1; }, false},
    {"GreaterOrEqual", [](int s) { return s == 1 || s == 0; }, false},
};

// The remainder from the magnitudes, given the sign of x; by 0, x.
Int IntegerRemainder(Int x, Int y) {
    if (y == 0) return x;
    const auto magnitude = [](Int v) { return v < 0 ? Unsigned(0) - Unsigned(v) : Unsigned(v); };
    const Unsigned r = magnitude(x) % magnitude(y);
    return Int(x < 0 ? Unsigned(0) - r : r);
}

std::string Describe(const Value& value) {
    if (const bool* b = std::get_if<bool>(&value)) return *b ? "true" : "false";
    if (const Int* i = std::get_if<Int>(&value)) return std::to_string(*i);
    if (const double* r = std::get_if<double>(&value))
        return QString::number(*r, 'g', 17).toStdString() + (std::signbit(*r) ? " (-)" : "");
    return "\"" + std::get<QString>(value).toStdString() + "\"";
}

std::string Describe(const Inputs& inputs) {
    std::string text;
    for (const Value& value : inputs)
        text += Describe(value) + " ";
    return text;
}

// Reals match bit for bit, or as two NaNs (a NaN computed anew has no payload to keep).
bool Carries(const std::optional<CarriedValue>& carried, const Value& expected) {
    if (!carried) return false;
    if (const bool* b = std::get_if<bool>(&expected))
        return carried->Type == B && carried->Value == Int(*b);
    if (const Int* i = std::get_if<Int>(&expected))
        return carried->Type == I && carried->Value == *i;
    if (const double* r = std::get_if<double>(&expected)) {
        const double got = std::bit_cast<double>(carried->Value);
        return carried->Type == R &&
               ((std::isnan(got) && std::isnan(*r)) || carried->Value == std::bit_cast<Int>(*r));
    }
    return carried->Type == S && carried->Text == std::get<QString>(expected);
}

class RoutinesPropertyTest : public EngineFixture {
  protected:
    static constexpr int kEvaluations = 60;

    Value Draw(int type) {
        const Unsigned pick = random_() % 4;
        switch (type) {
        case B:
            return random_() % 2 == 0;
        case I: {
            const Int edges[] = {0, 1, -1, kMin, kMax, kMin + 1, kMax - 1};
            if (pick == 0) return edges[random_() % std::size(edges)];
            if (pick == 1) return Int(random_() % 19) - 9;
            return Int(random_());
        }
        case R: {
            const double edges[] = {0.0,        -0.0,   kInfinity,
                                    -kInfinity, kNaN,   1.0,
                                    -1.0,       5e-324, std::numeric_limits<double>::max()};
            if (pick == 0) return edges[random_() % std::size(edges)];
            if (pick == 1) return double(Int(random_() % 21) - 10) / 2;
            return std::bit_cast<double>(random_()); // NaNs of every payload among them
        }
        default: {
            QString text;
            for (Unsigned n = random_() % 4; n > 0; --n)
                text += kCharacters[random_() % std::size(kCharacters)];
            return text;
        }
        }
    }

    // A second operand: often the first again, or for strings one running on from it, so that
    // equality and prefixes come up.
    Value DrawBeside(const Value& first, int type) {
        const Unsigned pick = random_() % 6;
        if (pick == 0) return first;
        if (pick == 1 && type == S)
            return std::get<QString>(first) + kCharacters[random_() % std::size(kCharacters)];
        return Draw(type);
    }

    // The pairs every two-input function meets first.
    static std::vector<Inputs> EdgePairs(int type) {
        const QString high = Character(0x1F600);
        switch (type) {
        case B:
            return {{false, false}, {false, true}, {true, false}, {true, true}};
        case I:
            return {{kMin, Int(-1)}, {kMin, Int(0)},  {Int(7), Int(0)},  {Int(0), Int(0)},
                    {kMax, kMin},    {kMin, kMax},    {Int(-7), Int(2)}, {Int(7), Int(-2)},
                    {kMax, kMax},    {kMax, Int(-1)}, {kMin, kMin}};
        case R:
            return {{kNaN, kNaN},
                    {kNaN, 1.0},
                    {0.0, -0.0},
                    {-0.0, 0.0},
                    {kInfinity, kInfinity},
                    {-kInfinity, kInfinity},
                    {kInfinity, 1.0},
                    {1.0, kInfinity},
                    {-0.0, 1.0},
                    {5.5, 0.0},
                    {-5.5, 2.0},
                    {-4.0, 2.0}};
        default:
            return {{QString(), QString()},
                    {QString(), QString("a")},
                    {Character(0xE000), Character(0x10000)},
                    {Character(0xFFFD), high},
                    {high, Character(0xFB01)},
                    {QString("a"), QString("A")},
                    {QString("ab"), QString("a")},
                    {high + "a", high + Character(0xFFFD)}};
        }
    }

    // Inputs of the given types: first the edges, then random ones.
    Inputs DrawInputs(const std::vector<int>& types, int k) {
        if (types.size() == 2 && types[0] == types[1]) {
            const std::vector<Inputs> edges = EdgePairs(types[0]);
            if (std::size_t(k) < edges.size()) return edges[std::size_t(k)];
            const Value first = Draw(types[0]);
            return {first, DrawBeside(first, types[0])};
        }
        Inputs inputs;
        for (std::size_t i = 0; i < types.size(); ++i)
            inputs.push_back(i > 0 && types[i] == types[i - 1] && random_() % 5 == 0
                                 ? inputs.back()
                                 : Draw(types[i]));
        return inputs;
    }

    // A Boolean constant may hold any non-zero number for true.
    Node* InputConstant(Circuit& circuit, const Value& value) {
        Node* constant = Constant(circuit, value);
        if (const bool* b = std::get_if<bool>(&value); b && *b) {
            const Int truths[] = {1, 2, -1, Int(1) << 40, kMin};
            constant->PortArray[1]->Value = truths[random_() % std::size(truths)];
        }
        return constant;
    }

    // Runs the function on kEvaluations sets of inputs in one circuit, twice over, and compares
    // each result with the expected one.
    void Check(const char* function, const std::vector<int>& types,
               const std::function<Value(const Inputs&)>& expected) {
        for (int round = 0; round < 2; ++round) {
            Circuit& circuit = MakeCircuit();
            std::vector<std::pair<Node*, Inputs>> evaluations;
            for (int k = 0; k < kEvaluations; ++k) {
                Inputs inputs = DrawInputs(types, round == 0 ? k : kEvaluations + k);
                Node* node = Apply(circuit, function, {});
                for (std::size_t i = 0; i < inputs.size(); ++i)
                    ConnectPorts(Output(InputConstant(circuit, inputs[i])), node->PortArray[i + 1]);
                evaluations.emplace_back(node, std::move(inputs));
            }
            Run(circuit);
            for (const auto& [node, inputs] : evaluations) {
                const Value wanted = expected(inputs);
                EXPECT_TRUE(Carries(LatestValue(&Session(circuit), *Output(node)), wanted))
                    << function << " of " << Describe(inputs) << "should give " << Describe(wanted)
                    << " by " << node->Implementation->Routine->Name.toStdString();
            }
            StopCircuitThreads(Session(circuit));
        }
    }

    std::mt19937_64 random_{29};
};

TEST_F(RoutinesPropertyTest, ComparisonsOrderNumbersByValueAndStringsByCodePoint) {
    for (const Comparison& comparison : kComparisons) {
        std::vector<int> types = {I, R, S};
        if (comparison.TakesBooleans) types.push_back(B);
        for (const int type : types)
            Check(comparison.Function, {type, type}, [&comparison](const Inputs& in) {
                return Value(comparison.Holds(Standing(in[0], in[1])));
            });
    }
}

TEST_F(RoutinesPropertyTest, RemainderKeepsTheSignOfXAndIsXByZero) {
    Check("Remainder", {I, I}, [](const Inputs& in) {
        return Value(IntegerRemainder(std::get<Int>(in[0]), std::get<Int>(in[1])));
    });
    // fmod is exact, so the wider type gives the same double.
    Check("Remainder", {R, R}, [](const Inputs& in) {
        const long double x = std::get<double>(in[0]), y = std::get<double>(in[1]);
        return Value(double(std::fmod(x, y)));
    });
}

TEST_F(RoutinesPropertyTest, SelectPassesOnTheChosenValueUnchanged) {
    for (const int type : {B, I, R, S})
        Check("Select", {B, type, type},
              [](const Inputs& in) { return std::get<bool>(in[0]) ? in[1] : in[2]; });
}

TEST_F(RoutinesPropertyTest, ToStringWritesRealsAndBooleansAsPrintDoes) {
    Check("ToString", {R}, [](const Inputs& in) {
        return Value(FormatReal(std::get<double>(in[0]), 6, QStringLiteral("e")));
    });
    Check("ToString", {B}, [](const Inputs& in) {
        return Value(QString(std::get<bool>(in[0]) ? "True" : "False"));
    });
}

} // namespace
} // namespace flow::test
