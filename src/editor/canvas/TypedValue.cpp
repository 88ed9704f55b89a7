#include "editor/canvas/TypedValue.h"

#include "engine/NumberText.h"
#include "model/Catalogue.h"
#include "model/Model.h"

#include <QLocale>

#include <bit>
#include <cmath>
#include <cstdint>
#include <optional>

namespace flow {

namespace {

// Beyond this a refused text is shortened in the message.
constexpr qsizetype kShownLength = 40;

// Digit of a number in base 2, 10 or 16; -1 for any other character.
int DigitOf(QChar c, int base) {
    const char16_t u = c.unicode();
    const int digit = u >= u'0' && u <= u'9'   ? u - u'0'
                      : u >= u'a' && u <= u'f' ? u - u'a' + 10
                      : u >= u'A' && u <= u'F' ? u - u'A' + 10
                                               : -1;
    return digit < base ? digit : -1;
}

// The integer notation of the system's own reader (a sign, "$" for hexadecimal, "%" for
// binary), but all of the text must be digits, and the number must lie in the 64-bit range.
std::optional<Int> StrictInteger(const QString& typed) {
    const QString text = typed.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        negative = text[i++] == QLatin1Char('-');
    int base = 10;
    if (i < text.size() && (text[i] == QLatin1Char('$') || text[i] == QLatin1Char('%')))
        base = text[i++] == QLatin1Char('$') ? 16 : 2;
    if (i == text.size()) return std::nullopt;
    const std::uint64_t limit = std::uint64_t(INT64_MAX) + (negative ? 1 : 0);
    std::uint64_t value = 0;
    for (; i < text.size(); ++i) {
        const int digit = DigitOf(text[i], base);
        if (digit < 0 || value > (limit - std::uint64_t(digit)) / std::uint64_t(base))
            return std::nullopt;
        value = value * std::uint64_t(base) + std::uint64_t(digit);
    }
    return Int(negative ? 0 - value : value);
}

std::optional<double> StrictReal(const QString& text) {
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = c.toDouble(text.trimmed(), &ok);
    return ok && std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

const Port* ValuePort(const Node& node) {
    return node.PortArray.size() > 1 ? node.PortArray[1] : nullptr;
}

QString Refusal(const QString& typed, const char* type, const QString& kept) {
    const QString shown =
        typed.size() > kShownLength ? typed.left(kShownLength) + QStringLiteral("…") : typed;
    return QStringLiteral("“%1” is not %2; the value stays %3")
        .arg(shown, QLatin1String(type), kept);
}

} // namespace

QString EditTextOf(const Node& node) {
    const CatalogueState& catalogue = Catalogue();
    const Port* port = ValuePort(node);
    if (!port) return {};
    if (node.Implementation == catalogue.ConstantInteger) return QString::number(port->Value);
    if (node.Implementation == catalogue.ConstantReal)
        return FormatReal(std::bit_cast<double>(port->Value), 16, QStringLiteral("e"));
    return port->Text;
}

TypedValue ValueTypedInto(const Node& node, const QString& typed) {
    const CatalogueState& catalogue = Catalogue();
    const Port* port = ValuePort(node);
    TypedValue value{port ? port->Value : 0, port ? port->Text : QString(), {}};
    if (!port || typed == EditTextOf(node)) return value;
    if (node.Implementation == catalogue.ConstantInteger) {
        if (const auto number = StrictInteger(typed))
            value.Number = *number;
        else
            value.Refusal = Refusal(typed, "an Integer", EditTextOf(node));
    } else if (node.Implementation == catalogue.ConstantReal) {
        if (const auto number = StrictReal(typed))
            value.Number = std::bit_cast<Int>(*number);
        else
            value.Refusal = Refusal(typed, "a Real", EditTextOf(node));
    } else if (node.Implementation == catalogue.ConstantString) {
        value.Text = typed;
    }
    return value;
}

} // namespace flow
