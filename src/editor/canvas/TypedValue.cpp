#include "editor/canvas/TypedValue.h"

#include "engine/NumberText.h"
#include "model/Catalogue.h"
#include "model/Model.h"

#include <QLocale>

#include <bit>
#include <cmath>
#include <optional>

namespace flow {

namespace {

// Beyond this a refused text is shortened in the message.
constexpr qsizetype kShownLength = 40;

std::optional<Int> StrictInteger(const QString& text) {
    bool ok = false;
    const qlonglong value = text.trimmed().toLongLong(&ok, 10);
    return ok ? std::optional<Int>(value) : std::nullopt;
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
