#pragma once

#include <string_view>

#include <optional>

// Reads a text of the Force column as a force of the scale, 0 to 12.
//
// The rule is numeric: a text names a force when the number it writes equals
// one of the whole numbers 0 to 12. Accepted written forms:
//   - optional spaces before and after the number ("  12 ");
//   - an optional sign, '+' or '-' ("-0" is 0, "+3" is 3);
//   - one or more ASCII digits, leading zeros allowed ("012" is 12);
//   - optionally a '.' followed by one or more digits ("12.0", "4.000").
// Everything else reads as no force: exponents ("1e1"), hexadecimal ("0x0C"),
// "nan", "inf", a ',' decimal separator whatever the locale, tabs and other
// white space, digits of other scripts, and any text that is empty or holds
// nothing but spaces. A number that is not whole ("2.5") or lies outside 0 to
// 12 ("13", "-1") names no force either.
//
// Runs in one pass over the text without allocating, for texts of any length.
[[nodiscard]] std::optional<int> readForce(std::u16string_view text) noexcept;
