#include "file/NameLimits.h"

#include <algorithm>
#include <climits>
#include <unistd.h>

namespace flow {

qsizetype LongestName(const QByteArray& folder) {
    const long longest = ::pathconf(folder.constData(), _PC_NAME_MAX);
    return longest > 0 ? qsizetype(longest) : qsizetype(NAME_MAX);
}

QByteArray CutName(const QByteArray& name, qsizetype room) {
    if (name.size() <= room) return name;
    qsizetype end = std::max<qsizetype>(room, 0);
    // Names are UTF-8: a continuation byte at the cut means its character began before it.
    while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80)
        --end;
    return name.left(end);
}

} // namespace flow
