// The number at the start of a text, as the interval box's text is read: full-width forms
// narrowed, leading white space skipped, an optional sign, decimal digits with at most one
// point, an optional exponent marked e, E, d or D. Whatever follows the number is ignored.
// The conversion does not depend on the C library's locale, so a locale whose decimal
// separator is a comma (GTK sets the user's locale at start-up) still reads "1.5" as 1.5.
#pragma once

#include <cstddef>

namespace pelmora {

// Of the mantissa digits only this many significant ones count; the rest only move the point.
inline constexpr std::size_t kSignificantDigitsRead = 25;

// The value of the number at the start of the zero-terminated text: the double nearest to it,
// +/-infinity when too large, +/-0 when too small, 0 when the text holds no number (also for
// null). Allocates nothing and never reads past the terminator.
double ReadNumberPrefix(const char* text);

}  // namespace pelmora
