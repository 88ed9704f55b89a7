#pragma once
// Numbers to text and back: the formats of printed values, of Real constants in files and of
// values typed into the editor. Locale never matters: "." is always the decimal mark.

#include "model/Records.h"

namespace flow {

// The marks that set FormatReal's plain text apart from the typographic display of values;
// the digits are the same for both.
struct RealTextMarks {
    QString Minus;          // in front of a negative value
    QString Exponent;       // between the mantissa and the power of ten
    QString ExponentMinus;  // in front of a negative power of ten
};

// x with n significant digits; whole numbers keep their point ("5."), large and small values
// get a power of ten ("1.23e-4" with exponent text "e").
QString FormatReal(double x, int digits, const QString& exponent);
QString FormatRealWith(double x, int digits, const RealTextMarks& marks);

// Lenient readers: they never fail, and text that is not a number reads as 0.
Int ParseInteger(const QString& text);
double ParseReal(const QString& text);

// Decimal digits of an integer with an optional leading "-", as Print and ToString write it.
QString FormatInteger(Int value);

} // namespace flow
