// Replacing a file whole: its mode survives, a failure says what the system said, only regular
// files are replaced, names of any length save, and a file written in place has its old content
// copied aside first.

#include "SampleFiles.h"
#include "support/Files.h"

#include "file/CircuitWriter.h"
#include "file/StateFolder.h"
#include "file/SystemCalls.h"
#include "file/TemporaryFiles.h"
#include "file/WholeFile.h"
#include "model/Model.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace flow {
namespace {

using namespace flow::test;

class WholeFileTest : public testing::Test {
  protected:
    // Copies for recovery go to a folder of the test's, never into the home of whoever runs it.
    WholeFileTest() { qputenv("XDG_STATE_HOME", QFile::encodeName(state.path())); }
    void TearDown() override {
        SaveSeams() = {};
        ForgetCircuits();
        // An empty state folder counts as none, as an unset one does.
        qputenv("XDG_STATE_HOME", stateHome);
        qputenv("HOME", home);
    }
    QString PathOf(const char* name) { return folder.filePath(QString::fromLatin1(name)); }
    QString PathOf(const QString& name) { return folder.filePath(name); }
    QStringList Entries() const {
        return QDir(folder.path())
            .entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System | QDir::Hidden);
    }
    const QByteArray home = qgetenv("HOME"), stateHome = qgetenv("XDG_STATE_HOME");
    QTemporaryDir folder, state;
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

    EXPECT_FALSE(WriteWholeFile(PathOf("missing/new.xml"), bytes, &failure));
    EXPECT_EQ(failure, QString::fromLocal8Bit(strerror(ENOENT)));
}

// The type of what is under the name itself, links not followed.
mode_t TypeOf(const QString& name) {
    struct stat info {};
    lstat(QFile::encodeName(name).constData(), &info);
    return info.st_mode & S_IFMT;
}

TEST_F(WholeFileTest, WhatIsNoRegularFileIsRefusedWithoutBeingOpened) {
    // A pipe nobody reads, directly and through a link: opening it to write would wait for
    // ever, so the save runs in a child that an alarm ends after 20 s, and the test fails.
    ASSERT_EQ(mkfifo(QFile::encodeName(PathOf("pipe")).constData(), 0666), 0);
    ASSERT_TRUE(QFile::link(PathOf("pipe"), PathOf("to-pipe")));
    for (const char* name : {"pipe", "to-pipe"}) {
        const pid_t child = fork();
        if (child == 0) {
            alarm(20);
            QString failure;
            const bool written = WriteWholeFile(PathOf(name), "bytes", &failure);
            _exit(written ? 1
                  : failure == QStringLiteral("“%1” cannot be saved: it is a pipe, "
                                              "not a regular file")
                                   .arg(QString::fromLatin1(name))
                      ? 0
                      : 2);
        }
        int status = -1;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_FALSE(WIFSIGNALED(status)) << name << ": the save waited on the pipe";
        EXPECT_EQ(WEXITSTATUS(status), 0) << name << ": 1 written, 2 another message";
    }
    EXPECT_EQ(TypeOf(PathOf("pipe")), mode_t(S_IFIFO));

    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("folder")));
    for (const QString& other : {PathOf("folder"), QStringLiteral("/dev/null")}) {
        QString failure;
        EXPECT_FALSE(WriteWholeFile(other, "bytes", &failure));
        const bool isFolder = other.endsWith("folder");
        EXPECT_EQ(failure, QStringLiteral("“%1” cannot be saved: it is %2, not a regular file")
                               .arg(QFileInfo(other).fileName(),
                                    isFolder ? QStringLiteral("a folder") : "a device"));
        EXPECT_EQ(TypeOf(other), mode_t(isFolder ? S_IFDIR : S_IFCHR));
    }
    EXPECT_TRUE(QDir(PathOf("folder")).isEmpty());
    EXPECT_EQ(Entries(), QStringList({"folder", "pipe", "to-pipe"}));
}

TEST_F(WholeFileTest, NamesUpToTheLimitSaveAndTheirStaleTemporariesGo) {
    const auto nameOf = [](int bytes) { return QString(bytes - 4, QLatin1Char('n')) + ".xml"; };
    // A name of 243 bytes leaves just the room a temporary adds; longer ones are shortened.
    // "x" and 127 two-byte letters make 255 bytes, and the cut falls inside a letter.
    QStringList names;
    for (const int bytes : {243, 244, 250, 255})
        names << nameOf(bytes);
    names << QStringLiteral("x") + QString(127, QChar(0xE9));
    for (const QString& name : names) {
        const QByteArray path = QFile::encodeName(PathOf(name));
        const QByteArray stem = TemporaryStem(path);
        EXPECT_LE(stem.size() + 12, 255) << name.size();
        EXPECT_FALSE(QFile::decodeName(stem).contains(QChar::ReplacementCharacter));
        ASSERT_TRUE(WriteBytes(PathOf(QFile::decodeName(stem) + ".k2x9.tmp"), "left"));
        ASSERT_TRUE(WriteBytes(PathOf(name), "old"));
        QString failure;
        EXPECT_TRUE(SaveCircuit(MakeSumCircuit(), PathOf(name), &failure))
            << name.size() << failure.toStdString();
        EXPECT_EQ(ReadBytes(PathOf(name)), kSumFile);
        EXPECT_EQ(Entries(), QStringList{name});
        QFile::remove(PathOf(name));
    }

    // Long names that begin alike keep their temporaries apart: a save of one leaves the
    // other's, which may belong to a save still running.
    const QString saved = nameOf(255);
    const QString running = QString(saved).replace(250, 1, QLatin1Char('m'));
    const QString left = QFile::decodeName(TemporaryStem(QFile::encodeName(PathOf(running))));
    EXPECT_NE(left, QFile::decodeName(TemporaryStem(QFile::encodeName(PathOf(saved)))));
    ASSERT_TRUE(WriteBytes(PathOf(left + ".k2x9.tmp"), "running"));
    EXPECT_TRUE(WriteWholeFile(PathOf(saved), "saved"));
    EXPECT_EQ(ReadBytes(PathOf(left + ".k2x9.tmp")), "running");
    EXPECT_EQ(Entries().size(), 2);
}

TEST_F(WholeFileTest, LoopsOfLinksAreRefusedAndLeftAsTheyWere) {
    ASSERT_TRUE(QFile::link(QStringLiteral("b"), PathOf("a")));
    ASSERT_TRUE(QFile::link(QStringLiteral("a"), PathOf("b")));
    // A loop on the way to the file, in a folder of the path.
    ASSERT_TRUE(QFile::link(QStringLiteral("round"), PathOf("round")));
    for (const char* name : {"a", "b", "round/in.xml"}) {
        QString failure;
        EXPECT_FALSE(SaveCircuit(MakeSumCircuit(), PathOf(name), &failure)) << name;
        EXPECT_EQ(failure, QStringLiteral("“%1” cannot be saved: too many levels of symbolic links")
                               .arg(QFileInfo(PathOf(name)).fileName()));
    }
    EXPECT_EQ(QFile::symLinkTarget(PathOf("a")), PathOf("b"));
    EXPECT_EQ(QFile::symLinkTarget(PathOf("b")), PathOf("a"));
    EXPECT_EQ(Entries(), QStringList({"a", "b", "round"}));
}

TEST_F(WholeFileTest, WritingInPlaceKeepsACopyOfTheOldContentUntilTheWriteIsDone) {
    // Tests run as the superuser, who may make files in any folder: the seam makes the folder
    // one that takes none. What is in the copy is read just before the write would start.
    SaveSeams().FolderTakesNoFile = true;
    QString copy;
    std::string copied;
    int refusal = EIO;
    SaveSeams().BeforeWriteInPlace = [&](const QString& path) {
        copy = path;
        copied = ReadBytes(path);
        return refusal;
    };
    // Longer than one piece of the copy, and not a multiple of it.
    std::string old;
    for (int index = 0; index < 200003; ++index)
        old += char('a' + index % 23);
    const QString name = PathOf("old.xml");
    ASSERT_TRUE(WriteBytes(name, old));
    ASSERT_EQ(chmod(QFile::encodeName(name).constData(), 0640), 0);
    const QString recovery = state.path() + "/flowlattice/recovery";

    QString failure;
    EXPECT_FALSE(WriteWholeFile(name, "new", &failure));
    EXPECT_EQ(copied, old);
    EXPECT_EQ(failure,
              SystemReason(EIO) + "; the old content of “old.xml” is kept in “" + copy + "”");
    EXPECT_EQ(QFileInfo(copy).path(), recovery);
    EXPECT_TRUE(QFileInfo(copy).fileName().startsWith("old.xml."));
    EXPECT_EQ(ReadBytes(copy), old);
    EXPECT_EQ(ReadBytes(name), old);
    EXPECT_EQ(ModeOf(recovery), 0700u);

    // A write that succeeds takes its copy away, and only its own.
    const QString failedCopy = copy;
    refusal = 0;
    EXPECT_TRUE(WriteWholeFile(name, "new", &failure)) << failure.toStdString();
    EXPECT_NE(copy, failedCopy);
    EXPECT_EQ(copied, old);
    EXPECT_EQ(ReadBytes(name), "new");
    EXPECT_EQ(ModeOf(name), 0640u);
    EXPECT_EQ(QDir(recovery).entryList(QDir::Files), QStringList{QFileInfo(failedCopy).fileName()});

    // The copy of a file whose name is as long as names go gets a name the system takes.
    const QString longName = PathOf(QString(251, QLatin1Char('n')) + ".xml");
    ASSERT_TRUE(WriteBytes(longName, "long"));
    EXPECT_TRUE(WriteWholeFile(longName, "longer", &failure)) << failure.toStdString();
    EXPECT_EQ(copied, "long");
    EXPECT_FALSE(QFileInfo::exists(copy));
    EXPECT_EQ(ReadBytes(longName), "longer");

    // A new file cannot be written in place; nothing is made.
    EXPECT_FALSE(WriteWholeFile(PathOf("new.xml"), "new", &failure));
    EXPECT_EQ(failure, SystemReason(EACCES));
    EXPECT_EQ(Entries(), QStringList({QFileInfo(longName).fileName(), "old.xml"}));
}

TEST_F(WholeFileTest, NoCopyMeansNoWriteInPlace) {
    // The state folder is named by a file: no copy can be made there.
    const QString blocked = state.filePath(QStringLiteral("file"));
    ASSERT_TRUE(WriteBytes(blocked, "in the way"));
    qputenv("XDG_STATE_HOME", QFile::encodeName(blocked));
    EXPECT_EQ(RecoveryFolder(), blocked + "/flowlattice/recovery");
    SaveSeams().FolderTakesNoFile = true;
    bool writing = false;
    SaveSeams().BeforeWriteInPlace = [&](const QString&) { return writing = true, 0; };
    const QString name = PathOf("old.xml");
    ASSERT_TRUE(WriteBytes(name, "old bytes"));
    QString failure;
    EXPECT_FALSE(WriteWholeFile(name, "new", &failure));
    EXPECT_FALSE(writing);
    EXPECT_EQ(failure, "“old.xml” cannot be saved: no new file can be made in its folder, and no "
                       "copy of its old content could be made in “" +
                           RecoveryFolder() + "” (" + SystemReason(ENOTDIR) + ")");
    EXPECT_EQ(ReadBytes(name), "old bytes");

    // A state folder that is not an absolute path is passed over for the one in the home.
    qputenv("HOME", QFile::encodeName(state.path()));
    for (const char* stateHome : {"relative/state", ""}) {
        qputenv("XDG_STATE_HOME", stateHome);
        EXPECT_EQ(RecoveryFolder(), state.path() + "/.local/state/flowlattice/recovery");
    }
}

} // namespace
} // namespace flow
