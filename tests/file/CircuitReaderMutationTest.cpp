// Damaged files must never crash the reader nor leave a broken model: every example file is
// mutated many times over (bytes changed, cut, inserted, moved) in a fixed pseudo-random order.

#include "SampleFiles.h"
#include "support/Examples.h"
#include "support/Files.h"
#include "support/ModelFault.h"

#include "file/CircuitWriter.h"
#include "file/CircuitReader.h"

#include <QDir>

#include <gtest/gtest.h>

#include <random>

namespace flow {
namespace {

using namespace flow::test;

std::vector<std::string> SeedFiles() {
    std::vector<std::string> seeds{kSumFile};
    const QDir examples(ExamplesFolder());
    for (const QString& name : examples.entryList({QStringLiteral("*.xml")}, QDir::Files))
        seeds.push_back(ReadBytes(examples.filePath(name)));
    return seeds;
}

// Pieces that steer mutations towards the reader's own rules rather than plain syntax errors.
const char* const kTokens[] = {
    "<",
    ">",
    "/>",
    "</Node>",
    "\"",
    "&",
    "&amp;",
    "&#0;",
    "&#10;",
    "<!-- x -->",
    "<?pi x?>",
    "<![CDATA[",
    "]]>",
    "\\",
    "\\n",
    "/",
    "/0",
    "/-1",
    "/3/4",
    "-",
    "0",
    "9223372036854775807",
    "99999999999999999999",
    "1e999",
    "NaN",
    "<Node ID=\"2\" Function=\"Plus\"/>",
    "<Node Function=\"Constant\"><Real Value=\"1e-320\"/></Node>",
    "<Wire Source=\"4/3\" "
    "Destination=\"4/3\"/>",
    "<Wire Source=\"4/3\" Destination=\"4/1\"/>",
    "<MainFrame>",
    "<Frame>",
    "\xEF\xBB\xBF",
    "\xFF\xFE",
    "\xC3",
    "\xEF\xBF\xBF",
    "\x00",
    "<!DOCTYPE x [<!ENTITY "
    "e \"eeeeeeee\">]>",
    "&e;",
    "<Camera Magnification=\"-0\"/>",
    "<Window X=\"-99999999999\"/>",
};

std::string Mutate(std::string bytes, std::mt19937& random) {
    auto pick = [&](std::size_t bound) {
        return bound == 0 ? std::size_t(0) : std::size_t(random() % bound);
    };
    const int steps = 1 + int(random() % 4);
    for (int step = 0; step < steps; ++step) {
        const std::size_t at = pick(bytes.size() + 1);
        switch (random() % 6) {
        case 0: // change one byte
            if (!bytes.empty()) bytes[pick(bytes.size())] = char(random());
            break;
        case 1: // cut the file short
            bytes.resize(at);
            break;
        case 2: { // insert a token
            const char* token = kTokens[pick(std::size(kTokens))];
            bytes.insert(at, token[0] ? std::string(token) : std::string(1, '\0'));
            break;
        }
        case 3: // delete a stretch
            bytes.erase(at, pick(64));
            break;
        case 4: { // repeat a stretch elsewhere
            const std::size_t from = pick(bytes.size() + 1);
            bytes.insert(at, bytes.substr(from, pick(200)));
            break;
        }
        default: // swap two bytes
            if (bytes.size() > 1) std::swap(bytes[pick(bytes.size())], bytes[pick(bytes.size())]);
        }
    }
    return bytes;
}

TEST(CircuitReaderMutationTest, DamagedFilesNeverBreakTheReader) {
    // Every save is flushed to the disk; a folder in memory keeps thousands of them quick.
    const QString memory = QStringLiteral("/dev/shm");
    QTemporaryDir folder(QDir(memory).exists() ? memory + QStringLiteral("/flow-XXXXXX")
                                               : QDir::tempPath() + QStringLiteral("/flow-XXXXXX"));
    const QString input = folder.filePath(QStringLiteral("mutated.xml"));
    const QString first = folder.filePath(QStringLiteral("first.xml"));
    const QString second = folder.filePath(QStringLiteral("second.xml"));
    std::mt19937 random(20240607);
    int loaded = 0, refused = 0;
    const std::vector<std::string> seeds = SeedFiles();
    ASSERT_GE(seeds.size(), 6u) << "FLOW_SOURCE_DIR must name the source tree with examples/";
    const int perSeed = 10000 / int(seeds.size());
    for (const std::string& seed : seeds) {
        for (int round = 0; round < perSeed; ++round) {
            const std::string bytes = Mutate(seed, random);
            ASSERT_TRUE(WriteBytes(input, bytes));
            Circuit* circuit = LoadCircuit(input);
            if (!circuit) {
                ++refused;
                continue;
            }
            ++loaded;
            const std::string fault = ModelFault(*circuit);
            ASSERT_EQ(fault, "") << "after mutation " << round;
            // Whatever was read saves and reads back; the second save is a fixed point.
            ASSERT_TRUE(SaveCircuit(*circuit, first));
            Circuit* again = LoadCircuit(first);
            ASSERT_NE(again, nullptr);
            ASSERT_EQ(again->MainFrame.Nodes.size(), circuit->MainFrame.Nodes.size());
            ASSERT_EQ(again->MainFrame.Wires.size(), circuit->MainFrame.Wires.size());
            ASSERT_TRUE(SaveCircuit(*again, second));
            Circuit* third = LoadCircuit(second);
            ASSERT_NE(third, nullptr);
            ASSERT_TRUE(SaveCircuit(*third, first));
            ASSERT_EQ(ReadBytes(first), ReadBytes(second)) << "after mutation " << round;
            ForgetCircuits();
        }
    }
    // Both outcomes must occur, or the mutations test nothing.
    EXPECT_GT(loaded, 100);
    EXPECT_GT(refused, 10);
    std::printf("mutations: %d loaded, %d refused\n", loaded, refused);
}

} // namespace
} // namespace flow
