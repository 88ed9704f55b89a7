#include "support/SceneFixture.h"
#include "support/SubCircuitBuilding.h"

#include "render/FindMatch.h"

namespace flow {
namespace {

using namespace flow::test;

using FindMatchTest = SceneFixture;

// What a typed text matches: any piece of a drawn text, whatever its case; numbers as shown, their
// typographic marks as typed; nothing that is not drawn for the object.
TEST_F(FindMatchTest, PiecesOfTheShownTextsMatchWhateverTheirCase) {
    const auto matches = [](const auto& object, const char* typed) {
        return Matches(object, FindText(QString::fromUtf8(typed)));
    };
    Node* plus = Add("Plus", 0, 0);
    EXPECT_TRUE(matches(*plus, "LU"));
    EXPECT_FALSE(matches(*plus, "Plus (+)")) << "the menu's label is not drawn";
    EXPECT_FALSE(matches(*plus, "")) << "an empty text matches nothing";

    Node* integer = Add("Constant", 0, 0, Catalogue().ConstantInteger);
    integer->PortArray[1]->Value = -1234567;
    for (const char* typed : {"-1234567", "−1234", "234567", "constant"})
        EXPECT_TRUE(matches(*integer, typed)) << typed;
    EXPECT_FALSE(matches(*integer, "12345678"));
    Node* text = Add("Constant", 0, 0, Catalogue().ConstantString);
    text->PortArray[1]->Text = QStringLiteral("Äpfel −3");
    EXPECT_TRUE(matches(*text, "äPFEL")) << "letters beyond ASCII have their cases too";
    EXPECT_TRUE(matches(*text, "el -3")) << "a text's marks count as typed too";

    FunctionDef* adder = AddSubCircuit(circuit, QStringLiteral("Adder"));
    Node* pin = AddPin(*adder, PinFunctions().Input, QStringLiteral("carry in"), 0, 0);
    EXPECT_TRUE(matches(*pin, "CARRY"));
    EXPECT_TRUE(matches(*Place(circuit.MainFrame, QStringLiteral("Adder")), "adder"));

    Comment* comment = AddComment(&circuit.MainFrame, QStringLiteral("sums\ntwo lines"), 0, 0);
    EXPECT_TRUE(matches(*comment, "two"));
    EXPECT_FALSE(matches(*comment, "comment")) << "a comment offers its text only";
}

} // namespace
} // namespace flow
