// Files made to strain sub-circuits, end to end through the binary: long chains of boundaries
// and deep nesting run, and every one of them resaves byte for byte and draws.

#include "ProgramRun.h"
#include "support/Files.h"
#include "support/HostileFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using namespace flow::test;

struct Hostile {
    const char* Name;
    std::string Text;
    const char* Printed; // what --run prints, or null when the file is not meant to run
};

TEST(HostileFilesTest, DeepAndLongSubCircuitFilesRunResaveAndDraw) {
    QTemporaryDir folder;
    const Hostile files[] = {
        {"nested", PassThroughChainText(10000, 1), "7\n"},    // 10,000 levels deep
        {"series", PassThroughChainText(50, 100), "7\n"},     // 10,000 boundaries in a row
        {"frames", ManyFramesText(10000), nullptr},          // 10,000 frames, no instance
        {"pins", ManyPinsText(10000), "7\n"},                // an instance with 20,000 pins
    };
    for (const Hostile& file : files) {
        SCOPED_TRACE(file.Name);
        const QString in = folder.filePath(QString::fromLatin1(file.Name) + ".xml");
        const QString once = folder.filePath(QString::fromLatin1(file.Name) + "-1.xml");
        const QString twice = folder.filePath(QString::fromLatin1(file.Name) + "-2.xml");
        ASSERT_TRUE(WriteBytes(in, file.Text));
        if (file.Printed) {
            const Outcome run = Flowlattice({QStringLiteral("--run"), in});
            EXPECT_EQ(run.Status, 0) << run.Error.toStdString();
            EXPECT_EQ(run.Out, QString::fromLatin1(file.Printed));
        }
        const Outcome first = Flowlattice({QStringLiteral("--resave"), in, once});
        ASSERT_EQ(first.Status, 0) << first.Error.toStdString();
        const Outcome second = Flowlattice({QStringLiteral("--resave"), once, twice});
        ASSERT_EQ(second.Status, 0) << second.Error.toStdString();
        EXPECT_EQ(ReadBytes(once), ReadBytes(twice));
        EXPECT_GT(ReadBytes(once).size(), file.Text.size() / 2); // nothing was left out
        for (const char* picture : {".png", ".svg"}) {
            const QString out = folder.filePath(QString::fromLatin1(file.Name) + picture);
            const Outcome render = Flowlattice(
                {QStringLiteral("--render"), in, QStringLiteral("--output"), out,
                 QStringLiteral("--fit")});
            EXPECT_EQ(render.Status, 0) << picture << render.Error.toStdString();
            EXPECT_FALSE(ReadBytes(out).empty()) << picture;
        }
    }
}

} // namespace
