// The manual page and --help describe one command line: the same options with the same
// arguments, and the same exit statuses.

#include "ProgramRun.h"
#include "support/Examples.h"
#include "support/Files.h"

#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

#include <string>

namespace {

QString ManualSource() {
    return QString::fromStdString(flow::test::ReadBytes(flow::test::SourceDirectory() +
                                                        QStringLiteral("/data/flowlattice.1.in")));
}

// The roff lines from a section heading to the next one.
QStringList Section(const QString& roff, const QString& heading) {
    const QStringList lines = roff.split(QLatin1Char('\n'));
    QStringList section;
    bool inside = false;
    for (const QString& line : lines) {
        if (line.startsWith(QLatin1String(".SH ")))
            inside = line.mid(4).remove(QLatin1Char('"')) == heading;
        else if (inside)
            section << line;
    }
    return section;
}

// A roff line as it reads: no request name, no font changes, no quotes, \- as a plain hyphen.
QString Plain(QString line) {
    static const QRegularExpression request(QStringLiteral("^\\.[A-Za-z]+\\s*"));
    static const QRegularExpression font(QStringLiteral("\\\\f[BIRP]"));
    line.remove(request).remove(font).remove(QLatin1Char('"'));
    return line.replace(QLatin1String("\\-"), QLatin1String("-"));
}

// The tags of a section's .TP entries, as plain text.
QStringList Tags(const QStringList& section) {
    QStringList tags;
    for (qsizetype i = 0; i + 1 < section.size(); ++i)
        if (section[i] == QLatin1String(".TP")) tags << Plain(section[i + 1]);
    return tags;
}

// Every long option with the placeholders that follow it: "--render FILE", "--size WxH".
QSet<QString> OptionUses(const QString& text) {
    static const QRegularExpression separators(QStringLiteral("[\\s\\[\\]|,]+"));
    static const QRegularExpression placeholder(QStringLiteral("^[A-Z]+(x[A-Z]+)?$"));
    const QStringList words = text.split(separators, Qt::SkipEmptyParts);
    QSet<QString> uses;
    for (qsizetype i = 0; i < words.size(); ++i) {
        if (!words[i].startsWith(QLatin1String("--"))) continue;
        QString use = words[i];
        while (i + 1 < words.size() && placeholder.match(words[i + 1]).hasMatch())
            use += QLatin1Char(' ') + words[++i];
        uses << use;
    }
    return uses;
}

std::string Joined(const QSet<QString>& set) {
    QStringList list = set.values();
    list.sort();
    return list.join(QLatin1String(", ")).toStdString();
}

TEST(ManualPageTest, SaysWhatHelpSays) {
    const QString manual = ManualSource();
    ASSERT_FALSE(manual.isEmpty());
    const Outcome help = Flowlattice({QStringLiteral("--help")});
    ASSERT_EQ(help.Status, 0);

    const QSet<QString> fromHelp = OptionUses(help.Out);
    EXPECT_TRUE(fromHelp.contains(QStringLiteral("--render FILE"))) << Joined(fromHelp);

    QString synopsis;
    for (const QString& line : Section(manual, QStringLiteral("SYNOPSIS")))
        synopsis += Plain(line) + QLatin1Char(' ');
    EXPECT_EQ(Joined(OptionUses(synopsis)), Joined(fromHelp)) << "SYNOPSIS";
    EXPECT_EQ(Joined(OptionUses(Tags(Section(manual, QStringLiteral("OPTIONS"))).join(' '))),
              Joined(fromHelp))
        << "OPTIONS";

    // "Exit status: 0 success; 1 the circuit has a defect; ..." against the EXIT STATUS entries.
    static const QRegularExpression status(QStringLiteral("(?:: |; )(\\d+) "));
    const QString statusText = help.Out.mid(help.Out.indexOf(QLatin1String("Exit status")));
    QStringList fromHelpStatus;
    for (auto it = status.globalMatch(statusText); it.hasNext();)
        fromHelpStatus << it.next().captured(1);
    EXPECT_EQ(fromHelpStatus.size(), 5);
    EXPECT_EQ(Tags(Section(manual, QStringLiteral("EXIT STATUS"))), fromHelpStatus);
}

TEST(ManualPageTest, ComparisonNoticesAnOptionMissingFromOneSide) {
    // The comparison above is only worth something if a dropped or renamed option shows.
    const QString usage = QStringLiteral("flowlattice --render FILE --output PNG [--size WxH]\n"
                                         "flowlattice --resave IN OUT\n  load IN and save it");
    EXPECT_EQ(Joined(OptionUses(usage)),
              "--output PNG, --render FILE, --resave IN OUT, --size WxH");
    EXPECT_EQ(Joined(OptionUses(Plain(QStringLiteral(".RB [ \\-\\-size")) + QLatin1Char(' ') +
                                Plain(QStringLiteral(".IR WxH ]")))),
              "--size WxH");
    EXPECT_NE(OptionUses(QStringLiteral("--size WxH")), OptionUses(QStringLiteral("--size N")));
}

} // namespace
