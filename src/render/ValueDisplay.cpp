#include "render/ValueDisplay.h"

#include "engine/NumberText.h"

#include <bit>

namespace flow {

namespace {
const QChar kMinus(0x2212);
const QChar kHairSpace(0x200A);
} // namespace

QString DisplayInteger(Int value) {
    // The magnitude in unsigned arithmetic, so that the most negative value has one too.
    const std::uint64_t magnitude =
        value < 0 ? std::uint64_t(0) - std::uint64_t(value) : std::uint64_t(value);
    const QString digits = QString::number(magnitude);
    QString text;
    text.reserve(digits.size() + digits.size() / 3 + 1);
    if (value < 0) text += kMinus;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) text += kHairSpace;
        text += digits[i];
    }
    return text;
}

QString DisplayReal(double value, int digits) {
    static const RealTextMarks marks{QString(kMinus), QString(kHairSpace) + QChar(0x212F),
                                     QString(kMinus)};
    return FormatRealWith(value, digits, marks);
}

QString DisplayValue(int type, Int value, const QString& text) {
    switch (type) {
    case PortType::Boolean:
        return value != 0 ? QStringLiteral("True") : QStringLiteral("False");
    case PortType::Integer:
        return DisplayInteger(value);
    case PortType::Real:
        return DisplayReal(std::bit_cast<double>(value), 15);
    case PortType::String:
        return text.isEmpty() ? QStringLiteral("\u275D\u275E") : text;
    default:
        return QStringLiteral("\u2205");
    }
}

} // namespace flow

namespace flow {

QString DisplayCarried(const CarriedValue& value) {
    if (value.Nothing) return QStringLiteral("\u2014");
    return DisplayValue(value.Type, value.Value, value.Text);
}

} // namespace flow
