// Damaged circuit files opened in the editor: a read that lost anything never becomes the
// circuit's file, an intact one always does, and Save never writes fewer nodes or wires over
// the file than it held.

#include "EditorFixture.h"
#include "file/CircuitReader.h"
#include "support/Examples.h"

#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>

#include <random>

namespace flow::test {
namespace {

QByteArray Bytes(const QString& file) {
    QFile in(file);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

// Node and Wire elements as a plain scan of the bytes finds them.
std::pair<qsizetype, qsizetype> NodesAndWires(const QByteArray& bytes) {
    return {bytes.count("<Node "), bytes.count("<Wire ")};
}

// One of four damages, or none: cut, bytes replaced, an unknown function, an unknown element.
QByteArray Damage(QByteArray bytes, std::mt19937& random) {
    const auto at = [&](qsizetype size) {
        return qsizetype(std::uniform_int_distribution<qsizetype>(0, size - 1)(random));
    };
    const auto beforeA = [&](const char* tag) {
        const qsizetype first = bytes.indexOf(tag);
        return first < 0 ? at(bytes.size()) : bytes.indexOf(tag, at(bytes.size() - first) + first);
    };
    switch (random() % 5) {
    case 0:
        return bytes.left(at(bytes.size()));
    case 1:
        for (int n = 1 + int(random() % 3); n > 0; --n)
            bytes[at(bytes.size())] = char(random());
        return bytes;
    case 2: {
        const qsizetype node = beforeA("<Node ");
        return node < 0 ? bytes : bytes.insert(node, "<Node ID=\"77\" Function=\"Frob\"/>");
    }
    case 3: {
        const qsizetype wire = beforeA("<Wire ");
        return wire < 0 ? bytes : bytes.insert(wire, "<Gadget/>");
    }
    default:
        return bytes;
    }
}

class DamagedFilesTest : public EditorFixture {};

TEST_F(DamagedFilesTest, ALossyReadIsNeverBoundAndSaveNeverWritesLessOverTheFile) {
    const QDir examples(ExamplesFolder());
    std::vector<QByteArray> seeds;
    for (const QString& name : examples.entryList({QStringLiteral("*.xml")}, QDir::Files))
        seeds.push_back(Bytes(examples.filePath(name)));
    ASSERT_GE(seeds.size(), 6u);
    QTemporaryDir dir;
    Circuit& from = OpenWindow();
    // Save of a recovered circuit asks for a name: the test declines, as a user may.
    int asked = 0;
    ChooseFileName() = [&](QWidget*, FileDialogKind) {
        ++asked;
        return QString();
    };
    std::mt19937 random(20);
    int recovered = 0, bound = 0;
    for (int trial = 0; trial < 150; ++trial) {
        const QString name = dir.filePath(QStringLiteral("case%1.xml").arg(trial));
        const QByteArray original = Damage(seeds[random() % seeds.size()], random);
        QFile out(name);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(original);
        out.close();
        ReadLosses losses;
        if (!LoadCircuit(name, losses)) continue;
        if (losses.Any()) AnswerMessageBoxes({QMessageBox::Ok});
        Circuit* opened = OpenCircuitFile(from, name);
        ASSERT_NE(opened, nullptr);
        EXPECT_EQ(opened->FileName.isEmpty(), losses.Any()) << trial;
        EXPECT_EQ(opened->RecoveredFrom.isEmpty(), !losses.Any()) << trial;
        const int askedBefore = asked;
        OnMenu(*opened, Command::Save);
        if (losses.Any()) {
            ++recovered;
            EXPECT_EQ(asked, askedBefore + 1) << trial;
            EXPECT_EQ(Bytes(name), original) << trial;
        } else {
            ++bound;
            const auto [nodes, wires] = NodesAndWires(Bytes(name));
            EXPECT_GE(nodes, NodesAndWires(original).first) << trial;
            EXPECT_GE(wires, NodesAndWires(original).second) << trial;
        }
        CloseCircuit(*opened);
    }
    // One message for every lossy read; both kinds came up often enough to mean something.
    EXPECT_EQ(shownBoxes.size(), recovered);
    EXPECT_GT(recovered, 40);
    EXPECT_GT(bound, 20);
}

} // namespace
} // namespace flow::test
