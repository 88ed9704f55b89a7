#include "file/FileText.h"

#include <cmath>

namespace flow {

namespace {

// Characters with a two-character form: the character, then the letter after the backslash.
constexpr struct {
    char16_t Character;
    char16_t Letter;
} kSequences[] = {
    {u'\a', u'a'}, {u'\b', u'b'}, {u'\t', u't'}, {u'\n', u'n'},  {u'\v', u'v'},
    {u'\f', u'f'}, {u'\r', u'r'}, {u'"', u'"'},  {u'\\', u'\\'},
};

} // namespace

QString EscapeText(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        bool replaced = false;
        for (const auto& sequence : kSequences) {
            if (c.unicode() == sequence.Character) {
                out += QLatin1Char('\\');
                out += QChar(sequence.Letter);
                replaced = true;
                break;
            }
        }
        if (!replaced) out += c;
    }
    return out;
}

QString UnescapeText(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\\') && i + 1 < text.size()) {
            bool known = false;
            for (const auto& sequence : kSequences) {
                if (text[i + 1].unicode() == sequence.Letter) {
                    out += QChar(sequence.Character);
                    known = true;
                    break;
                }
            }
            if (known) {
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

QString FormatFixed(double value) {
    if (std::isnan(value)) return QStringLiteral("NaN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("+Infinity") : QStringLiteral("-Infinity");
    // QString::number ignores the user's locale: "." is always the decimal mark.
    QString text = QString::number(value, 'f', 10);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.'))) text.chop(1);
    // Negative zero, and negative values too small for ten decimals, would leave "-0".
    if (text == QLatin1String("-0")) text = QStringLiteral("0");
    return text;
}

} // namespace flow
