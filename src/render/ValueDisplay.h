#pragma once
// Typographic display texts of constant values: true minus signs, hair-space digit groups and a
// script e before powers of ten.

#include "model/Records.h"

namespace flow {

QString DisplayInteger(Int value);
QString DisplayReal(double value, int digits);

} // namespace flow
