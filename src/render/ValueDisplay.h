#pragma once
// Typographic display texts of constant values: true minus signs, hair-space digit groups and a
// script e before powers of ten.

#include "engine/PortValues.h"
#include "model/Records.h"

namespace flow {

QString DisplayInteger(Int value);
QString DisplayReal(double value, int digits);
// A value of a port type as a constant of that type shows it: Boolean and String values in
// their slots' forms (number or text), reals to 15 digits, an empty text as empty quotes.
QString DisplayValue(int type, Int value, const QString& text);
// What a port or wire carried in a run: its value so, or "—" for nothing.
QString DisplayCarried(const CarriedValue& value);

} // namespace flow
