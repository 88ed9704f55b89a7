#pragma once
// The order of strings by Unicode code point. QString holds UTF-16, whose unit order puts a
// character above U+FFFF (stored as a surrogate pair, 0xD800..0xDFFF) before U+E000..U+FFFF,
// which is not the order of the characters.

#include <QStringView>

#include <compare>

namespace flow {

// Compares exactly, letter case included; a shorter string comes before any that goes on from
// it. A surrogate without its partner counts as the code point of its own value.
std::strong_ordering CompareCodePoints(QStringView x, QStringView y);

} // namespace flow
