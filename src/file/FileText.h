#pragma once
// The text forms of values in circuit files that are not plain integers.

#include <QString>

namespace flow {

// Control characters, the double quotation mark and the backslash as two-character backslash
// sequences, so that multi-line texts stay on one line of the file.
QString EscapeText(const QString& text);
// Undoes EscapeText; a backslash before any other character, or at the end, stays a backslash.
QString UnescapeText(const QString& text);

// The fixed form of the camera's magnification: ten decimals with trailing zeros and a bare
// point removed ("1", "0.5"); "+Infinity", "-Infinity", "NaN"; negative zero as "0".
QString FormatFixed(double value);

} // namespace flow
