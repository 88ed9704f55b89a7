#include "engine/CodePointOrder.h"

namespace flow {

namespace {

// The code point starting at `at`, which moves past it.
char32_t NextCodePoint(QStringView text, qsizetype& at) {
    const QChar unit = text[at++];
    if (unit.isHighSurrogate() && at < text.size() && text[at].isLowSurrogate())
        return QChar::surrogateToUcs4(unit, text[at++]);
    return unit.unicode();
}

} // namespace

std::strong_ordering CompareCodePoints(QStringView x, QStringView y) {
    qsizetype atX = 0, atY = 0;
    while (atX < x.size() && atY < y.size()) {
        const char32_t a = NextCodePoint(x, atX);
        const char32_t b = NextCodePoint(y, atY);
        if (a != b) return a <=> b;
    }
    // Equal code points take as many units on both sides, so the one that ran out is the shorter.
    return x.size() <=> y.size();
}

} // namespace flow
