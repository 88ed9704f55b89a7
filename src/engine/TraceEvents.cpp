#include "engine/TraceEvents.h"

#include "engine/DefectPlace.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <numeric>
#include <unordered_map>

namespace flow {

namespace {

double Microseconds(std::int64_t nanoseconds) {
    return double(nanoseconds) / 1000.0;
}

// "in x", "out": the direction and the port's label, so that a node's two inputs stay apart.
QString ValueName(const Node& node, const char* direction, std::size_t port) {
    const Port* held = port < node.PortArray.size() ? node.PortArray[port] : nullptr;
    const QString label = held ? held->Label : QString();
    return label.isEmpty() ? QStringLiteral("%1 %2").arg(QLatin1String(direction)).arg(port)
                           : QStringLiteral("%1 %2").arg(QLatin1String(direction), label);
}

QJsonObject Values(const FiringRecord& firing) {
    QJsonObject values;
    for (const FiringRecord::Value& in : firing.In)
        values.insert(ValueName(*firing.Fired, "in", in.Port), TokenText(in.Carried));
    for (const FiringRecord::Value& out : firing.Out)
        values.insert(ValueName(*firing.Fired, "out", out.Port), TokenText(out.Carried));
    return values;
}

} // namespace

std::vector<const Node*> LanesOf(const std::vector<FiringRecord>& firings) {
    // Records stand in the order firings ended; lanes follow the order they began.
    std::vector<std::size_t> order(firings.size());
    std::iota(order.begin(), order.end(), std::size_t(0));
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return firings[a].Began < firings[b].Began;
    });
    std::vector<const Node*> lanes;
    std::unordered_map<const Node*, std::size_t> seen;
    for (std::size_t i : order)
        if (seen.emplace(firings[i].Fired, lanes.size()).second) lanes.push_back(firings[i].Fired);
    return lanes;
}

QByteArray TraceEventJson(const std::vector<FiringRecord>& firings, std::size_t dropped,
                          std::int64_t runLength) {
    const std::vector<const Node*> lanes = LanesOf(firings);
    std::unordered_map<const Node*, int> laneOf;
    QJsonArray events;
    events.append(QJsonObject{{"ph", "M"},
                              {"name", "process_name"},
                              {"pid", 1},
                              {"args", QJsonObject{{"name", "Flowlattice run"}}}});
    for (std::size_t i = 0; i < lanes.size(); ++i) {
        const int tid = int(i) + 1;
        laneOf[lanes[i]] = tid;
        events.append(QJsonObject{{"ph", "M"},
                                  {"name", "thread_name"},
                                  {"pid", 1},
                                  {"tid", tid},
                                  {"args", QJsonObject{{"name", NodePlace(*lanes[i])}}}});
        events.append(QJsonObject{{"ph", "M"},
                                  {"name", "thread_sort_index"},
                                  {"pid", 1},
                                  {"tid", tid},
                                  {"args", QJsonObject{{"sort_index", tid}}}});
    }
    for (const FiringRecord& firing : firings) {
        QJsonObject args = Values(firing);
        args.insert("began_us", Microseconds(firing.Began));
        events.append(QJsonObject{{"ph", "X"},
                                  {"name", NodePlace(*firing.Fired)},
                                  {"cat", "firing"},
                                  {"pid", 1},
                                  {"tid", laneOf[firing.Fired]},
                                  {"ts", Microseconds(firing.Arrived)},
                                  {"dur", Microseconds(firing.Ended - firing.Arrived)},
                                  {"args", args}});
    }
    QJsonObject other{{"runMicroseconds", Microseconds(runLength)},
                      {"firings", qint64(firings.size())}};
    if (dropped > 0) {
        other.insert("droppedFirings", qint64(dropped));
        other.insert("note", QStringLiteral("only the last %1 firings were kept; %2 earlier "
                                            "ones were dropped")
                                 .arg(firings.size())
                                 .arg(dropped));
    }
    const QJsonObject trace{
        {"traceEvents", events}, {"displayTimeUnit", "ms"}, {"otherData", other}};
    return QJsonDocument(trace).toJson(QJsonDocument::Indented);
}

} // namespace flow
