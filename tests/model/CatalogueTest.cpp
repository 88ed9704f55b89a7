#include "model/Catalogue.h"
#include "engine/Routines.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace flow;

TEST(CatalogueTest, RegistersThirteenFunctionsInOrder) {
    QStringList names;
    for (const FunctionDef* f : Catalogue().InOrder)
        names << f->Name;
    EXPECT_EQ(names, QStringList({"Constant", "Print", "And", "Or", "Not", "Plus", "Subtract",
                                  "Times", "Divide", "ToString", "ToInteger", "ToReal",
                                  "Random"}));
    RegisterCatalogue();  // a second registration changes nothing
    EXPECT_EQ(Catalogue().InOrder.size(), 13u);
    EXPECT_EQ(FindFunction("plus"), nullptr);  // names match case-sensitively
}

TEST(CatalogueTest, EveryImplementationTypesEveryPortAndNamesItsRoutine) {
    const QHash<int, QChar> letter{{PortType::Boolean, 'B'},
                                   {PortType::Integer, 'I'},
                                   {PortType::Real, 'R'},
                                   {PortType::String, 'S'}};
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
            QString expected = "Thread_" + f->Name + "_";
            for (std::size_t i = 1; i < impl->Types.size(); ++i)
                expected += letter.value(impl->Types[i], '?');
            ASSERT_NE(impl->Routine, nullptr);
            EXPECT_EQ(impl->Routine->Name, expected + "()");
            used.insert(impl->Routine);
        }
    }
    EXPECT_EQ(used.size(), 26);
    for (const Routine* r : RoutineTable())
        EXPECT_TRUE(used.contains(r)) << r->Name.toStdString();
}

TEST(CatalogueTest, ConstantReferencesAndSpecialEntries) {
    CatalogueState& cat = Catalogue();
    EXPECT_EQ(cat.Constant, FindFunction("Constant"));
    ASSERT_EQ(cat.Constant->Implementations.size(), 4u);
    EXPECT_EQ(cat.ConstantBoolean->Types[1], PortType::Boolean);
    EXPECT_EQ(cat.ConstantInteger->Types[1], PortType::Integer);
    EXPECT_EQ(cat.ConstantReal->Types[1], PortType::Real);
    EXPECT_EQ(cat.ConstantString->Types[1], PortType::String);

    const FunctionDef* random = FindFunction("Random");
    ASSERT_NE(random, nullptr);
    EXPECT_TRUE(random->Implementations.empty());
    ASSERT_EQ(random->Ports.size(), 1u);
    EXPECT_EQ(random->Ports[0]->Direction, Direction::Out);
    EXPECT_EQ(random->Shape, FindFunction("Print")->Shape);

    const FunctionDef* toString = FindFunction("ToString");
    ASSERT_EQ(toString->Implementations.size(), 1u);
    EXPECT_EQ(toString->Implementations[0]->Types[1], PortType::Integer);

    // The symbol's minus is U+2212, the label's a hyphen.
    const FunctionDef* subtract = FindFunction("Subtract");
    EXPECT_TRUE(subtract->Symbol.contains(QChar(0x2212)));
    EXPECT_FALSE(subtract->Symbol.contains('-'));
    EXPECT_EQ(subtract->Ports[2]->Label, "x - y");
    EXPECT_EQ(subtract->Shape, FindFunction("Plus")->Shape);
}
