#include "engine/BuiltInFunctions.h"
#include "engine/Routines.h"
#include "model/Catalogue.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace flow;

namespace {
// An implementation's port types as letters, "IIB" for two Integers giving a Boolean.
QString TypeLetters(const Implementation& impl) {
    const QHash<int, QChar> letter{{PortType::Boolean, 'B'},
                                   {PortType::Integer, 'I'},
                                   {PortType::Real, 'R'},
                                   {PortType::String, 'S'}};
    QString letters;
    for (std::size_t i = 1; i < impl.Types.size(); ++i)
        letters += letter.value(impl.Types[i], '?');
    return letters;
}
} // namespace

// The first 13 keep their places, so files and menus that name them mean what they did.
TEST(BuiltInFunctionsTest, RegistersTheFunctionsInOrder) {
    QStringList names;
    for (const FunctionDef* f : Catalogue().InOrder)
        names << f->Name;
    EXPECT_EQ(names,
              QStringList(
                  {"Constant",       "Print",     "And",      "Or",       "Not",         "Plus",
                   "Subtract",       "Times",     "Divide",   "ToString", "ToInteger",   "ToReal",
                   "Random",         "Equal",     "NotEqual", "Less",     "LessOrEqual", "Greater",
                   "GreaterOrEqual", "Remainder", "Select",   "Switch",   "Merge",       "Input"}));
    RegisterCatalogue(); // a second registration changes nothing
    EXPECT_EQ(Catalogue().InOrder.size(), 24u);
    EXPECT_EQ(FindFunction("plus"), nullptr); // names match case-sensitively
}

TEST(BuiltInFunctionsTest, EveryImplementationTypesEveryPortAndNamesItsRoutine) {
    QSet<const Routine*> used;
    for (const FunctionDef* f : Catalogue().InOrder) {
        EXPECT_EQ(f->Kind, ObjectKind::FunctionDef);
        for (const auto& port : f->Ports) {
            EXPECT_EQ(port->Kind, ObjectKind::Port);
            EXPECT_EQ(port->WireDirX, 1);
            EXPECT_EQ(port->WireDirY, 0);
        }
        for (const auto& impl : f->Implementations) {
            ASSERT_EQ(impl->Types.size(), f->Ports.size() + 1);
            ASSERT_NE(impl->Routine, nullptr);
            EXPECT_EQ(impl->Routine->Name, "Thread_" + f->Name + "_" + TypeLetters(*impl) + "()");
            used.insert(impl->Routine);
        }
    }
    EXPECT_EQ(used.size(), 68);
}

// The functions after the 13: their ports, labels and implementations, in order.
TEST(BuiltInFunctionsTest, TheDecidingFunctionsHaveTheirPortsAndImplementations) {
    struct Expected {
        QString Name;
        QStringList Labels; // inputs, then the outputs
        QStringList Types;  // per implementation, in order
        std::size_t Outputs = 1;
    };
    const QStringList comparable = {"IIB", "RRB", "SSB"};
    const QStringList equatable = comparable + QStringList{"BBB"};
    const std::vector<Expected> table = {
        {"Equal", {"x", "y", "x = y"}, equatable},
        {"NotEqual", {"x", "y", "x \u2260 y"}, equatable},
        {"Less", {"x", "y", "x < y"}, comparable},
        {"LessOrEqual", {"x", "y", "x \u2264 y"}, comparable},
        {"Greater", {"x", "y", "x > y"}, comparable},
        {"GreaterOrEqual", {"x", "y", "x \u2265 y"}, comparable},
        {"Remainder", {"x", "y", "x mod y"}, {"III", "RRR"}},
        {"Select", {"if", "then", "else", "result"}, {"BBBB", "BIII", "BRRR", "BSSS"}},
        {"Switch", {"if", "value", "if true", "if false"}, {"BBBB", "BIII", "BRRR", "BSSS"}, 2},
        {"Merge", {"a", "b", "a or b"}, {"BBB", "III", "RRR", "SSS"}},
    };
    for (const Expected& expected : table) {
        SCOPED_TRACE(expected.Name.toStdString());
        const FunctionDef* f = FindFunction(expected.Name);
        ASSERT_NE(f, nullptr);
        ASSERT_EQ(f->Ports.size(), std::size_t(expected.Labels.size()));
        for (std::size_t p = 0; p < f->Ports.size(); ++p) {
            EXPECT_EQ(f->Ports[p]->Label, expected.Labels[qsizetype(p)]);
            EXPECT_EQ(f->Ports[p]->Direction,
                      p + expected.Outputs < f->Ports.size() ? Direction::In : Direction::Out);
        }
        QStringList types;
        for (const auto& impl : f->Implementations)
            types << TypeLetters(*impl);
        EXPECT_EQ(types, expected.Types);
        EXPECT_EQ(f->MenuItems.size(), 1u);
    }
}

TEST(BuiltInFunctionsTest, ConstantReferencesAndSpecialEntries) {
    CatalogueState& cat = Catalogue();
    EXPECT_EQ(cat.Constant, FindFunction("Constant"));
    ASSERT_EQ(cat.Constant->Implementations.size(), 4u);
    EXPECT_EQ(cat.ConstantBoolean->Types[1], PortType::Boolean);
    EXPECT_EQ(cat.ConstantInteger->Types[1], PortType::Integer);
    EXPECT_EQ(cat.ConstantReal->Types[1], PortType::Real);
    EXPECT_EQ(cat.ConstantString->Types[1], PortType::String);

    const FunctionDef* random = FindFunction("Random");
    ASSERT_NE(random, nullptr);
    ASSERT_EQ(random->Implementations.size(), 2u);
    EXPECT_EQ(random->Implementations[0]->Types[1], PortType::Real);
    EXPECT_EQ(random->Implementations[1]->Types[1], PortType::Integer);
    ASSERT_EQ(random->Ports.size(), 1u);
    EXPECT_EQ(random->Ports[0]->Direction, Direction::Out);
    EXPECT_EQ(random->Shape, FindFunction("Print")->Shape);

    // Integer first: a ToString node starts as it did when it had no other.
    const FunctionDef* toString = FindFunction("ToString");
    ASSERT_EQ(toString->Implementations.size(), 3u);
    EXPECT_EQ(TypeLetters(*toString->Implementations[0]), "IS");
    EXPECT_EQ(TypeLetters(*toString->Implementations[1]), "RS");
    EXPECT_EQ(TypeLetters(*toString->Implementations[2]), "BS");

    // The symbol's minus is U+2212, the label's a hyphen.
    const FunctionDef* subtract = FindFunction("Subtract");
    EXPECT_TRUE(subtract->Symbol.contains(QChar(0x2212)));
    EXPECT_FALSE(subtract->Symbol.contains('-'));
    EXPECT_EQ(subtract->Ports[2]->Label, "x - y");
    EXPECT_EQ(subtract->Shape, FindFunction("Plus")->Shape);
}

TEST(BuiltInFunctionsTest, TheCatalogueHoldsEveryEntryWhole) {
    const std::vector<FunctionEntry>& table = BuiltInFunctions();
    ASSERT_EQ(table.size(), Catalogue().InOrder.size());
    for (std::size_t i = 0; i < table.size(); ++i) {
        const FunctionEntry& entry = table[i];
        const FunctionDef* def = Catalogue().InOrder[i];
        SCOPED_TRACE(entry.Name.toStdString());
        EXPECT_EQ(def, FindFunction(entry.Name));
        EXPECT_EQ(def->Shape, entry.Shape);
        EXPECT_EQ(def->Symbol, entry.Symbol);
        EXPECT_EQ(def->Width, entry.Width);
        EXPECT_EQ(def->Height, entry.Height);
        EXPECT_FALSE(def->Description.isEmpty());
        EXPECT_FALSE(def->Description.contains('\n'));
        ASSERT_EQ(def->Ports.size(), entry.Ports.size());
        for (std::size_t p = 0; p < entry.Ports.size(); ++p) {
            EXPECT_EQ(def->Ports[p]->Direction, entry.Ports[p].Direction);
            EXPECT_EQ(def->Ports[p]->Label, entry.Ports[p].Label);
            EXPECT_EQ(def->Ports[p]->X, entry.Ports[p].X);
            EXPECT_EQ(def->Ports[p]->Y, entry.Ports[p].Y);
        }
        ASSERT_EQ(def->Implementations.size(), entry.Implementations.size());
        for (std::size_t k = 0; k < entry.Implementations.size(); ++k)
            EXPECT_EQ(def->Implementations[k]->Routine, entry.Implementations[k].Routine);
        ASSERT_EQ(def->MenuItems.size(), entry.MenuItems.size());
        for (std::size_t m = 0; m < entry.MenuItems.size(); ++m) {
            const AddNodeItem& item = def->MenuItems[m];
            EXPECT_EQ(item.Label, entry.MenuItems[m].Label);
            EXPECT_LT(item.Implementation, int(def->Implementations.size()));
        }
    }
}
