// Replacing a file whole: its mode survives, and a failure says what the system said.

#include "SampleFiles.h"
#include "support/Files.h"

#include "file/CircuitWriter.h"
#include "file/WholeFile.h"
#include "model/Model.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace flow {
namespace {

using namespace flow::test;

class WholeFileTest : public testing::Test {
  protected:
    void TearDown() override { ForgetCircuits(); }
    QString PathOf(const char* name) { return folder.filePath(QString::fromLatin1(name)); }
    QStringList Entries() const {
        return QDir(folder.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries);
    }
    QTemporaryDir folder;
};

mode_t ModeOf(const QString& name) {
    struct stat info {};
    stat(QFile::encodeName(name).constData(), &info);
    return info.st_mode & 07777;
}

TEST_F(WholeFileTest, ReadOnlyIsRefusedModesCarryOverAndLinksLeadToTheirFile) {
    // Whoever runs it: a file whose mode forbids writing it stays as it was.
    for (const mode_t mode : {0444, 0600, 0755, 0640, 0604, 0400}) {
        const QString name = PathOf("mode.xml");
        ASSERT_TRUE(WriteBytes(name, "old"));
        ASSERT_EQ(chmod(QFile::encodeName(name).constData(), mode), 0);
        QString failure;
        const bool writable = mode & 0200;
        EXPECT_EQ(SaveCircuit(MakeSumCircuit(), name, &failure), writable) << std::oct << mode;
        EXPECT_EQ(ReadBytes(name), writable ? kSumFile : "old");
        EXPECT_EQ(failure, writable ? QString() : QStringLiteral("“mode.xml” is read-only"));
        EXPECT_EQ(ModeOf(name), mode) << std::oct << mode;
        QFile::remove(name);
    }
    // A dangling link makes the file it names.
    ASSERT_TRUE(QFile::link(PathOf("made.xml"), PathOf("dangling.xml")));
    ASSERT_TRUE(SaveCircuit(MakeSumCircuit(), PathOf("dangling.xml")));
    EXPECT_TRUE(QFileInfo(PathOf("dangling.xml")).isSymLink());
    EXPECT_EQ(ReadBytes(PathOf("made.xml")), kSumFile);
    QFile::remove(PathOf("dangling.xml"));
    QFile::remove(PathOf("made.xml"));
    // A temporary an earlier save left behind goes with the next save of its target.
    WriteBytes(PathOf("new.xml.k2x9.tmp"), "left over");
    // A new file gets what the process's mask lets through.
    const mode_t mask = umask(022);
    ASSERT_TRUE(SaveCircuit(MakeSumCircuit(), PathOf("new.xml")));
    umask(mask);
    EXPECT_EQ(ModeOf(PathOf("new.xml")), 0644u);

    ASSERT_TRUE(WriteBytes(PathOf("target.xml"), "old"));
    ASSERT_TRUE(QFile::link(PathOf("target.xml"), PathOf("link.xml")));
    ASSERT_TRUE(SaveCircuit(MakeSumCircuit(), PathOf("link.xml")));
    EXPECT_TRUE(QFileInfo(PathOf("link.xml")).isSymLink());
    EXPECT_EQ(ReadBytes(PathOf("target.xml")), kSumFile);
    EXPECT_EQ(Entries(), QStringList({"link.xml", "new.xml", "target.xml"}));
}

TEST_F(WholeFileTest, WriteThatFailsPartWayGivesTheSystemsReasonAndKeepsTheOldFile) {
    // A file size limit stops the write after its first bytes, as a disk filling up does.
    const QString name = PathOf("old.xml");
    ASSERT_TRUE(WriteBytes(name, "old bytes"));
    const std::string bytes(1 << 20, 'x');
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    QString failure;
    const bool written = WriteWholeFile(name, bytes, &failure);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, handler);
    EXPECT_FALSE(written);
    EXPECT_EQ(failure, QString::fromLocal8Bit(strerror(EFBIG)));
    EXPECT_EQ(ReadBytes(name), "old bytes");
    EXPECT_EQ(Entries(), QStringList{"old.xml"});

    // A full device is written in place and says so too.
    EXPECT_FALSE(WriteWholeFile(QStringLiteral("/dev/full"), bytes, &failure));
    EXPECT_EQ(failure, QString::fromLocal8Bit(strerror(ENOSPC)));
    EXPECT_FALSE(WriteWholeFile(PathOf("missing/new.xml"), bytes, &failure));
    EXPECT_EQ(failure, QString::fromLocal8Bit(strerror(ENOENT)));
}

} // namespace
} // namespace flow
