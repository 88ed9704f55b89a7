// Random draws: uniform, in range, reproducible from the seed whatever the threads' timing, and
// new at every iteration of a loop.

#include "EngineFixture.h"
#include "support/SubCircuitBuilding.h"

#include "engine/RandomDraws.h"
#include "model/Catalogue.h"
#include "model/Model.h"

#include <QSet>

#include <array>
#include <limits>
#include <set>

namespace flow::test {
namespace {

class RandomDrawsTest : public EngineFixture {
  protected:
    // Runs with the seed and gives the printed lines sorted: the order of lines from Print
    // nodes that nothing orders is not fixed.
    QStringList SortedRun(Circuit& circuit, std::uint64_t seed) {
        Session(circuit).Seed = seed;
        QStringList lines = Run(circuit);
        lines.sort();
        return lines;
    }
};

// Drawn straight from the generator: a fair one lands near 10,000 draws in each tenth. The
// chi-square of 9 degrees of freedom passes 60 with a chance below 1e-9.
TEST(RandomBitsTest, DrawsAreUniformInRangeAndDependOnEveryPartOfTheKey) {
    std::array<int, 10> bins{};
    const int draws = 100000;
    for (int k = 0; k < draws; ++k) {
        const Int place[] = {7, Int(k)};
        const std::uint64_t bits = RandomBits(20261207, place, std::array<std::uint64_t, 1>{0});
        const double real = UniformReal(bits);
        ASSERT_GE(real, 0.0);
        ASSERT_LT(real, 1.0);
        ASSERT_GE(UniformInteger(bits), 0);
        ++bins[std::size_t(real * 10)];
    }
    double chiSquare = 0;
    for (const int count : bins)
        chiSquare += (count - draws / 10.0) * (count - draws / 10.0) / (draws / 10.0);
    EXPECT_LT(chiSquare, 60.0);
    // Extremes of the mapping: all ones stays below 1 and at the top of the Integers.
    EXPECT_LT(UniformReal(~std::uint64_t(0)), 1.0);
    EXPECT_EQ(UniformInteger(~std::uint64_t(0)), std::numeric_limits<Int>::max());

    // Seed, place, iteration and the split between place and iterations all count.
    const Int place[] = {3, 4};
    const std::uint64_t none[] = {0}, one[] = {1}, four[] = {4, 0};
    const Int three[] = {3};
    std::set<std::uint64_t> keys{RandomBits(1, place, none), RandomBits(2, place, none),
                                 RandomBits(1, place, one), RandomBits(1, three, four),
                                 RandomBits(1, std::array<Int, 2>{4, 3}, none)};
    EXPECT_EQ(keys.size(), 5u);
    EXPECT_EQ(RandomBits(1, place, none), RandomBits(1, place, none));
}

TEST_F(RandomDrawsTest, TheSameSeedGivesTheSameLinesWhateverTheThreadsDo) {
    Circuit& circuit = MakeCircuit();
    FunctionDef* random = FindFunction(QStringLiteral("Random"));
    // Half of them draw Integers.
    for (int k = 0; k < 100; ++k)
        PrintOf(circuit, AddNode(&circuit.MainFrame, random,
                                 random->Implementations[std::size_t(k % 2)].get()));
    const QStringList first = SortedRun(circuit, 42);
    ASSERT_EQ(first.size(), 100);
    EXPECT_EQ(QSet<QString>(first.begin(), first.end()).size(), 100) << "each node its own";
    int integers = 0;
    for (const QString& line : first) {
        const double value = line.toDouble();
        EXPECT_GE(value, 0.0) << line.toStdString();
        if (line.contains(QLatin1Char('.')))
            EXPECT_LT(value, 1.0) << line.toStdString();
        else
            ++integers;
    }
    EXPECT_EQ(integers, 50);
    for (int run = 1; run < 50; ++run)
        ASSERT_EQ(SortedRun(circuit, 42), first) << "run " << run;
    EXPECT_NE(SortedRun(circuit, 43), first);
}

TEST_F(RandomDrawsTest, EachIterationOfALoopDrawsAgainAndTheSeedRepeatsTheSequence) {
    Circuit& circuit = MakeCircuit();
    FunctionDef* roll = AddSubCircuit(circuit, QStringLiteral("Roll"));
    AddPin(*roll, PinFunctions().Iteration, QString(), -200, -80);
    Frame& body = BodyOf(*roll);
    Link(Place(body, QStringLiteral("Random")), 1, Place(body, QStringLiteral("Print"), 80, 0), 1);
    FollowDefinitions(circuit);
    Node* loop = Place(circuit.MainFrame, roll->Name);
    Link(Constant(circuit, Int(20)), 1, loop, 1);

    Session(circuit).Seed = 5;
    const QStringList lines = Run(circuit); // in iteration order
    ASSERT_EQ(lines.size(), 20);
    EXPECT_EQ(QSet<QString>(lines.begin(), lines.end()).size(), 20);
    EXPECT_EQ(Run(circuit), lines);
    Session(circuit).Seed = 6;
    EXPECT_NE(Run(circuit), lines);
}

} // namespace
} // namespace flow::test
