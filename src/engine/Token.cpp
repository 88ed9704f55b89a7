#include "engine/Token.h"

#include "engine/NumberText.h"

#include <bit>

namespace flow {

QString TokenText(const Token& token) {
    if (token.Empty) return QStringLiteral("nothing");
    switch (token.Type) {
    case PortType::Boolean:
        return token.Value != 0 ? QStringLiteral("True") : QStringLiteral("False");
    case PortType::Integer:
        return FormatInteger(token.Value);
    case PortType::Real:
        return FormatReal(std::bit_cast<double>(token.Value), 6, QStringLiteral("e"));
    case PortType::String:
        return token.Text;
    default:
        return QString();
    }
}

} // namespace flow
