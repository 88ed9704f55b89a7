#include "editor/canvas/TypedValue.h"

#include "engine/NumberText.h"
#include "model/Inputs.h"
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

std::optional<bool> StrictBoolean(const QString& typed) {
    const QString text = typed.trimmed();
    if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0 || text == QLatin1String("1"))
        return true;
    if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0 ||
        text == QLatin1String("0"))
        return false;
    return std::nullopt;
}

const Port* ValuePort(const Node& node) {
    return node.PortArray.size() > 1 ? node.PortArray[1] : nullptr;
}

} // namespace

QString TypeWithArticle(int type) {
    const QString name = PortTypeName(type);
    return (type == PortType::Integer ? QStringLiteral("an ") : QStringLiteral("a ")) + name;
}

TypedValue ReadTypedValue(int type, const QString& typed) {
    TypedValue value;
    std::optional<Int> number;
    switch (type) {
    case PortType::Boolean:
        if (const auto truth = StrictBoolean(typed)) number = *truth ? 1 : 0;
        break;
    case PortType::Integer:
        number = StrictInteger(typed);
        break;
    case PortType::Real:
        if (const auto real = StrictReal(typed)) number = std::bit_cast<Int>(*real);
        break;
    case PortType::String:
        value.Text = typed;
        return value;
    }
    if (number) {
        value.Number = *number;
    } else {
        const QString shown =
            typed.size() > kShownLength ? typed.left(kShownLength) + QStringLiteral("…") : typed;
        value.Refusal = QStringLiteral("“%1” is not %2").arg(shown, TypeWithArticle(type));
    }
    return value;
}

QString EditTextOf(const Node& node) {
    const Port* port = ValuePort(node);
    if (!port) return {};
    switch (HeldType(node)) {
    case PortType::Boolean:
        return port->Value != 0 ? QStringLiteral("True") : QStringLiteral("False");
    case PortType::Integer:
        return QString::number(port->Value);
    case PortType::Real:
        return FormatReal(std::bit_cast<double>(port->Value), 16, QStringLiteral("e"));
    default:
        return port->Text;
    }
}

TypedValue ValueTypedInto(const Node& node, const QString& typed) {
    const Port* port = ValuePort(node);
    TypedValue value{port ? port->Value : 0, port ? port->Text : QString(), {}};
    if (!port || typed == EditTextOf(node) || HeldType(node) == PortType::Generic) return value;
    const TypedValue read = ReadTypedValue(HeldType(node), typed);
    if (!read.Refusal.isEmpty()) {
        value.Refusal = read.Refusal + QStringLiteral("; the value stays ") + EditTextOf(node);
        return value;
    }
    // A String keeps its number, and the others their text, as the port held them.
    if (HeldType(node) == PortType::String)
        value.Text = read.Text;
    else
        value.Number = read.Number;
    return value;
}

} // namespace flow
