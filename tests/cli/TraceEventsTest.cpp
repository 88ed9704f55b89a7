// --run --trace end to end: the Trace Event file a real run writes, read back as JSON.

#include "ProgramRun.h"
#include "support/Examples.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using namespace flow::test;

QJsonObject TraceOf(const QString& example, const QString& folder) {
    const QString trace = folder + QStringLiteral("/trace.json");
    const Outcome run =
        Flowlattice({QStringLiteral("--run"), Example(example), QStringLiteral("--trace"), trace});
    EXPECT_EQ(run.Status, 0) << run.Error.toStdString();
    QFile file(trace);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    return document.object();
}

TEST(TraceEventsTest, LoopRunGivesOneEventPerFiringOnALanePerNode) {
    QTemporaryDir folder;
    const QJsonObject trace = TraceOf(QStringLiteral("factorial.xml"), folder.path());
    const double runLength =
        trace[QStringLiteral("otherData")].toObject()[QStringLiteral("runMicroseconds")].toDouble(
            -1);
    ASSERT_GT(runLength, 0);
    QHash<QString, int> firingsOf;
    QSet<int> tids, namedTids;
    QString lastProduct;
    for (const QJsonValue& value : trace[QStringLiteral("traceEvents")].toArray()) {
        const QJsonObject event = value.toObject();
        const QString phase = event[QStringLiteral("ph")].toString();
        EXPECT_EQ(event[QStringLiteral("pid")].toInt(), 1);
        if (phase == QStringLiteral("M")) {
            if (event[QStringLiteral("name")] == QStringLiteral("thread_name"))
                namedTids.insert(event[QStringLiteral("tid")].toInt());
            continue;
        }
        ASSERT_EQ(phase, QStringLiteral("X"));
        const QString name = event[QStringLiteral("name")].toString();
        ++firingsOf[name];
        tids.insert(event[QStringLiteral("tid")].toInt());
        const double ts = event[QStringLiteral("ts")].toDouble(-1);
        const double dur = event[QStringLiteral("dur")].toDouble(-1);
        EXPECT_GE(ts, 0) << name.toStdString();
        EXPECT_GE(dur, 0) << name.toStdString();
        EXPECT_LE(ts + dur, runLength) << name.toStdString();
        // Iterations end in order: the last Times firing carries the result.
        const QJsonObject args = event[QStringLiteral("args")].toObject();
        if (name.startsWith(QStringLiteral("Times at ")))
            for (const QString& key : args.keys())
                if (key.startsWith(QStringLiteral("out "))) lastProduct = args[key].toString();
    }
    // The main frame's four nodes once; the body's constant, Plus and Times once an iteration.
    const QString inside = QStringLiteral(" inside Multiply up, instance at -60, -60");
    const QHash<QString, int> expected{
        {QStringLiteral("Constant at -160, -48"), 1},
        {QStringLiteral("Constant at -160, -20"), 1},
        {QStringLiteral("Multiply up at -60, -60"), 1},
        {QStringLiteral("Print at 100, -60"), 1},
        {QStringLiteral("Constant at -120, -40") + inside, 10},
        {QStringLiteral("Plus at -60, -70") + inside, 10},
        {QStringLiteral("Times at 20, -10") + inside, 10},
    };
    EXPECT_EQ(firingsOf, expected);
    EXPECT_EQ(tids.size(), expected.size());
    EXPECT_EQ(namedTids, tids);
    EXPECT_EQ(lastProduct, QStringLiteral("3628800"));
}

TEST(TraceEventsTest, ValuesInAndOutAreTheFiringsArguments) {
    QTemporaryDir folder;
    const QJsonObject trace = TraceOf(QStringLiteral("sum.xml"), folder.path());
    QStringList plus;
    for (const QJsonValue& value : trace[QStringLiteral("traceEvents")].toArray()) {
        const QJsonObject event = value.toObject();
        if (event[QStringLiteral("name")].toString().startsWith(QStringLiteral("Plus at ")))
            for (const QString& key : event[QStringLiteral("args")].toObject().keys())
                if (key != QStringLiteral("began_us"))
                    plus << key + QLatin1Char('=') +
                                event[QStringLiteral("args")].toObject()[key].toString();
    }
    plus.sort();
    EXPECT_EQ(plus, (QStringList{QStringLiteral("in x=2"), QStringLiteral("in y=3"),
                                 QStringLiteral("out x + y=5")}));
}

} // namespace
