#include "engine/NumberText.h"

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <locale.h>
#include <vector>

namespace flow {

namespace {

// The application adopts the user's locale, whose decimal mark may be a comma; numbers are
// always written and read in the C locale.
locale_t CLocale() {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return c;
}

// v in fixed-point notation with exactly k digits after the point, rounded from the exact
// binary value (glibc's printf is exact), then with trailing zeros removed.
QString TrimmedFixed(double v, int k) {
    k = std::clamp(k, 0, 512);
    std::vector<char> buffer(std::size_t(k) + 330);
    const locale_t previous = uselocale(CLocale());  // for this thread only
    std::snprintf(buffer.data(), buffer.size(), "%.*f", k, v);
    uselocale(previous);
    QString text = QString::fromLatin1(buffer.data());
    if (text.contains(QLatin1Char('.'))) {
        qsizetype end = text.size();
        while (end > 0 && text[end - 1] == QLatin1Char('0'))
            --end;
        text.truncate(end);
    }
    return text;
}

// a × 10^power in double precision; a power beyond the range of doubles is applied in two
// steps, so that the mantissa of a subnormal stays finite.
double ScaleByPowerOfTen(double a, int power) {
    if (power > 308)
        return a * std::pow(10.0, 308) * std::pow(10.0, power - 308);
    return a * std::pow(10.0, power);
}

QString Exponent(int power, const RealTextMarks& marks) {
    return marks.Exponent + (power < 0 ? marks.ExponentMinus : QString()) +
           QString::number(std::abs(power));
}

} // namespace

QString FormatRealWith(double x, int n, const RealTextMarks& marks) {
    if (std::isnan(x))
        return QStringLiteral("NaN");
    if (std::isinf(x))
        return x > 0 ? QStringLiteral("+Infinity") : QStringLiteral("-Infinity");
    if (x == 0.0)
        return QStringLiteral("0.");
    const QString sign = x < 0 ? marks.Minus : QString();
    const double a = std::fabs(x);
    const double L = std::log10(a);
    const int t = int(std::trunc(L));
    if (L >= 5.0)
        return sign + TrimmedFixed(ScaleByPowerOfTen(a, -t), n - 1) + Exponent(t, marks);
    if (L > -3.0)
        return sign + TrimmedFixed(a, L > 0.0 ? n - t - 1 : n - t);
    // An exact power of ten would get the mantissa 10; it is written as 1 with its own power
    // instead (0.001 gives "1.e-3").
    if (L == t)
        return sign + TrimmedFixed(ScaleByPowerOfTen(a, -t), n - 1) + Exponent(t, marks);
    return sign + TrimmedFixed(ScaleByPowerOfTen(a, 1 - t), n - 1) + Exponent(t - 1, marks);
}

QString FormatReal(double x, int digits, const QString& exponent) {
    return FormatRealWith(x, digits, {QStringLiteral("-"), exponent, QStringLiteral("-")});
}

QString FormatInteger(Int value) { return QString::number(value); }

Int ParseInteger(const QString& text) {
    qsizetype i = 0;
    const qsizetype size = text.size();
    while (i < size && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    bool negative = false;
    if (i < size && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        negative = text[i++] == QLatin1Char('-');
    int base = 10;
    if (i < size && text[i] == QLatin1Char('$')) {
        base = 16;
        ++i;
    } else if (i < size && text[i] == QLatin1Char('%')) {
        base = 2;
        ++i;
    }
    std::uint64_t value = 0;  // unsigned, so that overflow wraps without undefined behaviour
    for (; i < size; ++i) {
        const char16_t c = text[i].unicode();
        int digit;
        if (c >= u'0' && c <= u'9')
            digit = c - u'0';
        else if (c >= u'a' && c <= u'f')
            digit = c - u'a' + 10;
        else if (c >= u'A' && c <= u'F')
            digit = c - u'A' + 10;
        else
            break;
        if (digit >= base)
            break;
        value = value * std::uint64_t(base) + std::uint64_t(digit);
    }
    return Int(negative ? 0 - value : value);
}

double ParseReal(const QString& text) {
    if (text.compare(QLatin1String("+Infinity"), Qt::CaseInsensitive) == 0)
        return std::numeric_limits<double>::infinity();
    if (text.compare(QLatin1String("-Infinity"), Qt::CaseInsensitive) == 0)
        return -std::numeric_limits<double>::infinity();
    if (text.compare(QLatin1String("NaN"), Qt::CaseInsensitive) == 0)
        return std::numeric_limits<double>::quiet_NaN();

    // Collect the longest leading decimal number as ASCII, then convert it in the C locale.
    QByteArray number;
    qsizetype i = 0;
    const qsizetype size = text.size();
    auto at = [&](qsizetype k) { return k < size ? text[k].unicode() : char16_t(0); };
    auto isDigit = [&](qsizetype k) { return at(k) >= u'0' && at(k) <= u'9'; };
    while (i < size && text[i].isSpace())
        ++i;
    if (at(i) == u'-' || at(i) == u'+')
        number += char(at(i++));
    int digits = 0;
    for (; isDigit(i); ++i, ++digits)
        number += char(at(i));
    if (at(i) == u'.') {
        number += '.';
        for (++i; isDigit(i); ++i, ++digits)
            number += char(at(i));
    }
    if (digits == 0)
        return 0.0;
    if (at(i) == u'e' || at(i) == u'E') {
        qsizetype k = i + 1;
        QByteArray exponent("e");
        if (at(k) == u'-' || at(k) == u'+')
            exponent += char(at(k++));
        if (isDigit(k)) {
            for (; isDigit(k); ++k)
                exponent += char(at(k));
            number += exponent;
        }
    }
    return strtod_l(number.constData(), nullptr, CLocale());
}

} // namespace flow
