#include "file/ReadLosses.h"

#include "model/SubCircuits.h"

namespace flow {

namespace {

QString Count(std::size_t n, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
}

// "a", "a and b", "a, b and c" (or "or")
QString Enumerate(const QStringList& parts, const char* conjunction = " and ") {
    if (parts.size() < 2) return parts.value(0);
    return parts.mid(0, parts.size() - 1).join(QStringLiteral(", ")) + QLatin1String(conjunction) +
           parts.constLast();
}

QStringList Quoted(const QStringList& names, const QString& before, const QString& after) {
    QStringList quoted;
    for (const QString& name : names)
        quoted << before + name + after;
    return quoted;
}

std::size_t UnreadTotal(const ReadLosses& losses) {
    return losses.NodesUnread + losses.WiresUnread + losses.CommentsUnread;
}

QString UnreadObjects(const ReadLosses& losses) {
    QStringList parts;
    if (losses.NodesUnread) parts << Count(losses.NodesUnread, "node", "nodes");
    if (losses.WiresUnread) parts << Count(losses.WiresUnread, "wire", "wires");
    if (losses.CommentsUnread) parts << Count(losses.CommentsUnread, "comment", "comments");
    return Enumerate(parts);
}

} // namespace

bool ReadLosses::Any() const {
    return StopLine > 0 || !ForeignRoot.isEmpty() || NoMainFrame || NodesLeftOut > 0 ||
           WiresLeftOut > 0 || SelfContaining > 0 || InputsInBodies > 0 || LongNames > 0 ||
           !SkippedElements.isEmpty();
}

QString ReadLosses::StoppedAt() const {
    if (StopLine <= 0) return {};
    return QStringLiteral("line %1: %2").arg(StopLine).arg(StopReason);
}

void NoteName(QStringList& names, const QString& name) {
    if (!names.contains(name)) names << name;
}

QString DescribeLosses(const QString& fileTitle, const ReadLosses& losses) {
    QStringList sentences;
    if (losses.StopLine > 0) {
        sentences << QStringLiteral("“%1” is not well-formed XML from line %2: only the part "
                                    "before it was read.")
                         .arg(fileTitle)
                         .arg(losses.StopLine);
        const QString unread = UnreadObjects(losses);
        if (!unread.isEmpty())
            sentences << QStringLiteral("%1 after that line %2 not read.")
                             .arg(unread, QLatin1String(UnreadTotal(losses) == 1 ? "was" : "were"));
    }
    if (!losses.ForeignRoot.isEmpty())
        sentences << QStringLiteral("“%1” is not a Flowlattice circuit: its root element is <%2>.")
                         .arg(fileTitle, losses.ForeignRoot);
    else if (losses.NoMainFrame)
        sentences << QStringLiteral("“%1” holds no MainFrame: no comments, nodes or wires were "
                                    "read.")
                         .arg(fileTitle);
    if (losses.NodesLeftOut)
        sentences << QStringLiteral("%1 left out: no function is named %2.")
                         .arg(Count(losses.NodesLeftOut, "node was", "nodes were"),
                              Enumerate(Quoted(losses.UnknownFunctions, QStringLiteral("“"),
                                               QStringLiteral("”")),
                                        " or "));
    if (losses.SelfContaining)
        sentences << QStringLiteral("%1 left out: a sub-circuit may not contain itself.")
                         .arg(Count(losses.SelfContaining, "instance was", "instances were"));
    if (losses.InputsInBodies)
        sentences << QStringLiteral("%1 left out of sub-circuits: a body takes its values "
                                    "through its pins.")
                         .arg(Count(losses.InputsInBodies, "input was", "inputs were"));
    if (losses.LongNames)
        sentences << QStringLiteral("%1 longer than %2 characters: what %3 left out.")
                         .arg(Count(losses.LongNames, "name was", "names were"))
                         .arg(kLongestName)
                         .arg(QLatin1String(losses.LongNames == 1 ? "it named was"
                                                                  : "they named was"));
    if (losses.WiresLeftOut)
        sentences << QStringLiteral("%1 left out: an end names no port of a node read before it, "
                                    "or it repeats another wire.")
                         .arg(Count(losses.WiresLeftOut, "wire was", "wires were"));
    // Under a foreign root every element is foreign: the root says it all.
    if (!losses.SkippedElements.isEmpty() && losses.ForeignRoot.isEmpty())
        sentences << QStringLiteral("Elements that were not read: %1.")
                         .arg(Enumerate(Quoted(losses.SkippedElements, QStringLiteral("<"),
                                               QStringLiteral(">"))));
    return sentences.join(QLatin1Char(' '));
}

} // namespace flow
