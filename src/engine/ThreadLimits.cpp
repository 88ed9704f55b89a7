#include "engine/ThreadLimits.h"

#include <QDir>
#include <QFile>
#include <QString>

#include <algorithm>
#include <limits>
#include <sys/resource.h>
#include <unistd.h>

namespace flow {

namespace {

constexpr std::size_t kUnlimited = std::numeric_limits<std::size_t>::max();

QByteArray ReadSmallFile(const QString& name) {
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.read(4096);
}

// The number a small system file holds; none ("max", missing) reads as unlimited.
std::size_t NumberIn(const QString& name) {
    bool ok = false;
    const qulonglong value = ReadSmallFile(name).trimmed().toULongLong(&ok);
    return ok ? std::size_t(value) : kUnlimited;
}

// Threads of the whole machine: the fourth field of /proc/loadavg is "running/total".
std::size_t ThreadsOnMachine() {
    const QList<QByteArray> fields = ReadSmallFile(QStringLiteral("/proc/loadavg")).split(' ');
    if (fields.size() < 4) return 0;
    const QList<QByteArray> counts = fields[3].split('/');
    return counts.size() == 2 ? std::size_t(counts[1].toULongLong()) : 0;
}

// Threads of every process whose real user is ours: what RLIMIT_NPROC counts.
std::size_t ThreadsOfUser(uid_t user) {
    std::size_t threads = 0;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString& entry : entries) {
        bool numeric = false;
        entry.toULongLong(&numeric);
        if (!numeric) continue;
        const QByteArray status = ReadSmallFile(QStringLiteral("/proc/%1/status").arg(entry));
        bool ours = false;
        std::size_t count = 0;
        for (const QByteArray& line : status.split('\n')) {
            if (line.startsWith("Uid:")) {
                const QList<QByteArray> ids = line.mid(4).simplified().split(' ');
                ours = !ids.isEmpty() && ids[0].toULongLong() == user;
            } else if (line.startsWith("Threads:")) {
                count = std::size_t(line.mid(8).trimmed().toULongLong());
            }
        }
        if (ours) threads += count;
    }
    return threads;
}

ThreadLimit ProcessLimit() {
    rlimit limit{};
    // The kernel does not hold the superuser to this limit.
    if (getrlimit(RLIMIT_NPROC, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY || getuid() == 0)
        return {kUnlimited, 0};
    return {std::size_t(limit.rlim_cur), ThreadsOfUser(getuid())};
}

// The pids controller of the process's control group, in either hierarchy.
ThreadLimit GroupLimit() {
    const QList<QByteArray> lines = ReadSmallFile(QStringLiteral("/proc/self/cgroup")).split('\n');
    for (const QByteArray& line : lines) {
        const QList<QByteArray> fields = line.split(':');
        if (fields.size() < 3) continue;
        QString folder;
        if (fields[1] == "pids")
            folder = QStringLiteral("/sys/fs/cgroup/pids");
        else if (fields[0] == "0" && fields[1].isEmpty())
            folder = QStringLiteral("/sys/fs/cgroup");
        else
            continue;
        folder += QString::fromUtf8(fields[2]);
        const std::size_t limit = NumberIn(folder + QStringLiteral("/pids.max"));
        if (limit == kUnlimited) continue;
        return {limit, NumberIn(folder + QStringLiteral("/pids.current"))};
    }
    return {kUnlimited, 0};
}

std::size_t SystemAllowance() {
    const std::size_t onMachine = ThreadsOnMachine();
    const ThreadLimit limits[] = {
        {NumberIn(QStringLiteral("/proc/sys/kernel/threads-max")), onMachine},
        {NumberIn(QStringLiteral("/proc/sys/kernel/pid_max")), onMachine},
        ProcessLimit(),
        GroupLimit(),
    };
    std::size_t allowed = kUnlimited;
    for (const ThreadLimit& limit : limits)
        allowed = std::min(allowed, ThreadsLeftUnder(limit));
    return allowed;
}

} // namespace

std::size_t ThreadsLeftUnder(const ThreadLimit& limit) {
    if (limit.Limit == kUnlimited) return kUnlimited;
    const std::size_t margin = 128 + limit.Limit / 8;
    const std::size_t taken = limit.InUse + margin;
    return limit.Limit > taken ? limit.Limit - taken : 0;
}

std::function<std::size_t()>& ThreadAllowance() {
    static std::function<std::size_t()> allowance = SystemAllowance;
    return allowance;
}

} // namespace flow
