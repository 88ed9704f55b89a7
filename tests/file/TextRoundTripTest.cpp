// Every text a circuit file holds, from random code points: what a save wrote, read and saved
// again, is the same bytes, and a text made of characters a file can hold reads back exactly.

#include "SampleFiles.h"
#include "support/SubCircuitBuilding.h"

#include "engine/BuiltInFunctions.h"
#include "file/CircuitReader.h"
#include "file/CircuitWriter.h"

#include <gtest/gtest.h>

#include <array>
#include <random>

namespace flow {
namespace {

using namespace flow::test;

constexpr std::uint32_t kSeed = 20261208;
constexpr int kCircuits = 300;

// What a file format most easily gets wrong: blanks and line ends, what XML and the text
// escapes treat specially, control characters, unpaired surrogate halves, the byte-order mark,
// non-characters and the ends of the planes.
constexpr char32_t kTricky[] = {U'\t',  U'\n',   U'\r',   U' ',    U'"',   U'\'',  U'\\',  U'&',
                                U'<',   U'>',    U',',    U'\a',   U'\b',  U'\v',  U'\f',  0x0,
                                0x1,    0x1B,    0x1F,    0x7F,    0x85,   0xA0,   0x2028, 0xD7FF,
                                0xD800, 0xDBFF,  0xDC00,  0xDFFF,  0xE000, 0xFEFF, 0xFFFD, 0xFFFE,
                                0xFFFF, 0x10000, 0x1F600, 0x10FFFF};

class RandomTexts {
  public:
    int Between(int low, int high) { return std::uniform_int_distribution(low, high)(random_); }

    // Any code points; a surrogate code point goes in alone, as an unpaired half. For a name,
    // none of the control characters the name rules refuse, and no blank at either end.
    QString Text(int shortest, int longest, bool name = false) {
        QString text;
        for (int n = Between(shortest, longest); n > 0;) {
            const char32_t c = CodePoint();
            if (name && c <= 0xFFFF && QChar(char16_t(c)).category() == QChar::Other_Control)
                continue;
            if (c > 0xFFFF) text += QChar(QChar::highSurrogate(c));
            text += QChar(c > 0xFFFF ? QChar::lowSurrogate(c) : char16_t(c));
            --n;
        }
        if (!name) return text;
        text = text.trimmed();
        return text.isEmpty() ? QStringLiteral("n") : text;
    }

  private:
    char32_t CodePoint() {
        switch (Between(0, 3)) {
        case 0:
            return kTricky[Between(0, int(std::size(kTricky)) - 1)];
        case 1:
            return char32_t(Between(0x20, 0x7E));
        case 2:
            return char32_t(Between(0, 0xFFFF));
        default:
            return char32_t(Between(0x10000, 0x10FFFF));
        }
    }
    std::mt19937 random_{kSeed};
};

// Whether XML 1.0 can hold every character of the text; with `escaped` (comment texts and
// String values), also those the text escapes write: \a, \b, \v and \f.
bool FileCanHold(const QString& text, bool escaped) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
            continue;
        }
        const bool held = c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
                          (c >= 0xE000 && c <= 0xFFFD);
        if (!held && !(escaped && (c == 0x7 || c == 0x8 || c == 0xB || c == 0xC))) return false;
    }
    return true;
}

std::string CodeUnits(const QString& text) {
    std::string out;
    for (const QChar c : text)
        out += ' ' + QString::number(c.unicode(), 16).toStdString();
    return out;
}

enum Kind { SubCircuitName, InputPinName, OutputPinName, CommentText, StringValue, kKinds };
using Texts = std::array<QString, kKinds>;

// A comment, a String constant feeding an instance, and its body's two pins wired through,
// made in the order a file lists them, so that a read numbers them as they were.
Circuit& CircuitHolding(const Texts& texts) {
    Circuit& circuit = NewCircuit();
    FunctionDef* definition = AddSubCircuit(circuit, texts[SubCircuitName]);
    AddComment(&circuit.MainFrame, texts[CommentText], -100, -60);
    Node* constant = AddNode(&circuit.MainFrame, Catalogue().Constant, Catalogue().ConstantString);
    SetConstantValue(*constant, 0, texts[StringValue]);
    Node* instance = AddNode(&circuit.MainFrame, definition, nullptr);
    Node* in = AddPin(*definition, PinFunctions().Input, texts[InputPinName], -100, 0);
    Link(in, 1, AddPin(*definition, PinFunctions().Output, texts[OutputPinName], 100, 0), 1);
    FollowDefinitions(circuit);
    Link(constant, 1, instance, 1);
    return circuit;
}

Texts TextsIn(const Circuit& circuit) {
    const Frame& body = BodyOf(*circuit.SubCircuits.front());
    return {circuit.SubCircuits.front()->Name, PinName(*body.Nodes[0]), PinName(*body.Nodes[1]),
            circuit.MainFrame.Comments.front()->Text,
            circuit.MainFrame.Nodes.front()->PortArray[1]->Text};
}

using TextRoundTripTest = LoadingTest;

TEST_F(TextRoundTripTest, EveryTextSavesStablyAndReadsBackWhenAFileCanHoldIt) {
    RegisterCatalogue();
    RandomTexts random;
    const Circuit& unnamed = NewCircuit(); // the name rules, against no other sub-circuit
    int exact = 0, lost = 0;
    for (int i = 0; i < kCircuits; ++i) {
        // Some names near the bound on their length; some sub-circuit names against the rules.
        const int shortest = i % 8 == 0 ? 180 : 0, longest = i % 8 == 0 ? 240 : 16;
        const Texts texts = {random.Text(shortest, longest, i % 3 != 0),
                             random.Text(shortest, longest), random.Text(shortest, longest),
                             random.Text(0, 40), random.Text(0, 40)};
        testing::Message trace;
        trace << "seed " << kSeed << ", circuit " << i;
        for (const QString& text : texts)
            trace << "\n" << CodeUnits(text);
        SCOPED_TRACE(trace);

        const std::string written = CircuitFileBytes(CircuitHolding(texts));
        ReadLosses losses;
        Circuit* read = Load(written, losses);
        ASSERT_NE(read, nullptr);
        const std::string again = CircuitFileBytes(*read);
        const QString& name = texts[SubCircuitName];
        const bool usableName = SubCircuitNameProblem(unnamed, name).isEmpty();
        const bool shortPins = texts[InputPinName].size() <= kLongestName &&
                               texts[OutputPinName].size() <= kLongestName;
        if (usableName && shortPins) {
            EXPECT_FALSE(losses.Any()) << DescribeLosses("read.xml", losses).toStdString();
            EXPECT_EQ(again, written);
            ASSERT_EQ(read->SubCircuits.size(), 1u);
            ASSERT_EQ(BodyOf(*read->SubCircuits.front()).Nodes.size(), 2u);
            const Texts readBack = TextsIn(*read);
            for (int k = 0; k < kKinds; ++k) {
                if (!FileCanHold(texts[k], k >= CommentText)) continue;
                ++exact;
                EXPECT_EQ(CodeUnits(readBack[k]), CodeUnits(texts[k])) << "text " << k;
            }
            continue;
        }
        // A refused name is lost when the file holds it as it is, or when it is too long (what a
        // file cannot hold is written one character for one); the loss is reported, and what
        // was read saves stably from then on.
        ++lost;
        const bool nameLost =
            !usableName && (FileCanHold(name, false) || name.size() > kLongestName);
        if (nameLost) {
            EXPECT_TRUE(read->SubCircuits.empty());
        }
        if (!shortPins && !read->SubCircuits.empty()) {
            EXPECT_LT(BodyOf(*read->SubCircuits.front()).Nodes.size(), 2u);
        }
        if (nameLost || !shortPins) {
            EXPECT_TRUE(losses.Any());
        }
        ReadLosses none;
        Circuit* reread = Load(again, none);
        ASSERT_NE(reread, nullptr);
        EXPECT_FALSE(none.Any()) << DescribeLosses("again.xml", none).toStdString();
        EXPECT_EQ(CircuitFileBytes(*reread), again);
    }
    // The generator reaches both sides of every rule often enough to mean something.
    EXPECT_GT(exact, kCircuits);
    EXPECT_GT(lost, kCircuits / 8);
}

} // namespace
} // namespace flow
