// Numbers as the program writes and reads them. Every conversion here is
// independent of the process locale: the grids and the data file always use
// ".", and only the texts meant for reading (messages, result views) use the
// program-wide decimal separator that the application takes from the user's
// locale at start.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Text to number with "." as decimal separator: optional sign, digits with
// an optional fraction, optional exponent ("E" or "e"), surrounding blanks
// ignored. Anything else (",", thousands separators, hex, "inf", "nan", empty
// text, a value beyond the range of a double) is a conversion failure.
std::optional<double> StrToFloatDot(std::string_view text);

// True when token, without surrounding blanks, has the number syntax above.
bool IsNumberText(std::string_view token);

// General form of the measurements grid: the shortest text of at most 15
// significant digits, no trailing zeros; scientific ("1.5E-6", "2E20") when
// the value is below 0.00001 or has more than 15 integer digits.
std::string FormatGeneral(double value);

// Fixed form with exactly two decimals and "." (model grid); scientific in
// the general form only beyond 15 integer digits.
std::string FormatFixed2(double value);

// The same with the user's decimal separator (value messages, result views).
std::string FormatFixed2Local(double value);

// Scientific form of the result views: five significant digits, "E", the
// exponent's sign and at least two exponent digits ("3.4500E-02"), with the
// user's decimal separator.
std::string FormatScientificLocal(double value);

// The real form of the data file: fixed with two decimals right-aligned in 12
// characters above 0.1, else " d.dddE+dddd" in exactly 12 characters.
std::string FormatFileReal(double value);

// The program-wide decimal separator for texts meant for the user; "." until
// the application sets it.
void SetDecimalSeparator(std::string separator);
const std::string& DecimalSeparator();
