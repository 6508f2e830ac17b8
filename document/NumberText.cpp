#include "document/NumberText.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <system_error>

namespace {

std::string DecimalSeparatorText = ".";

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The parts of a number text, as positions in it; filled by ScanNumber.
struct TNumberParts {
  bool Negative = false;
  std::string_view Mantissa;  // digits and the point, without the sign
  long long Exponent = 0;     // explicit exponent, saturated
};

bool ScanNumber(std::string_view text, TNumberParts& parts) {
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    parts.Negative = text[i] == '-';
    ++i;
  }
  const std::size_t mantissaStart = i;
  std::size_t digits = 0;
  while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  parts.Mantissa = text.substr(mantissaStart, i - mantissaStart);
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    bool negativeExponent = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
      negativeExponent = text[i] == '-';
      ++i;
    }
    if (i == text.size()) return false;
    long long exponent = 0;
    while (i < text.size() && IsDigit(text[i])) {
      if (exponent < 1000000) exponent = exponent * 10 + (text[i] - '0');
      ++i;
    }
    parts.Exponent = negativeExponent ? -exponent : exponent;
  }
  return i == text.size();
}

// Decimal order of magnitude of the leading non-zero digit, used only to tell
// an overflow from an underflow.
long long OrderOfMagnitude(const TNumberParts& parts) {
  const std::string_view m = parts.Mantissa;
  const std::size_t first = m.find_first_of("123456789");
  if (first == std::string_view::npos) return -1;  // zero never overflows
  std::size_t point = m.find('.');
  if (point == std::string_view::npos) point = m.size();
  const long long order = first < point ? static_cast<long long>(point - first) - 1
                                        : -static_cast<long long>(first - point);
  return order + parts.Exponent;
}

// Writes digits of value with to_chars; the buffer is large enough for any
// double in fixed notation with two decimals.
struct TCharBuffer {
  char Data[400];
  std::size_t Length = 0;
  std::string_view view() const { return std::string_view(Data, Length); }
};

TCharBuffer ToChars(double value, std::chars_format format, int precision) {
  TCharBuffer buffer;
  auto result = std::to_chars(buffer.Data, buffer.Data + sizeof buffer.Data, value, format, precision);
  buffer.Length = static_cast<std::size_t>(result.ptr - buffer.Data);
  return buffer;
}

// Splits to_chars' scientific text "d.ddde+XX" into its digits (no point,
// trailing zeros removed) and its exponent.
void SplitScientific(std::string_view scientific, std::string& digits, int& exponent) {
  const std::size_t e = scientific.find('e');
  digits.clear();
  for (char c : scientific.substr(0, e))
    if (IsDigit(c)) digits += c;
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  exponent = std::atoi(std::string(scientific.substr(e + 1)).c_str());
}

std::string ScientificText(bool negative, const std::string& digits, int exponent) {
  std::string text = negative ? "-" : "";
  text += digits[0];
  if (digits.size() > 1) {
    text += '.';
    text.append(digits, 1, std::string::npos);
  }
  text += 'E';
  text += std::to_string(exponent);
  return text;
}

}  // namespace

bool IsNumberText(std::string_view token) {
  TNumberParts parts;
  return ScanNumber(TrimBlanks(token), parts);
}

std::optional<double> StrToFloatDot(std::string_view text) {
  text = TrimBlanks(text);
  TNumberParts parts;
  if (!ScanNumber(text, parts)) return std::nullopt;
  // from_chars takes no "+" sign; the sign is applied afterwards.
  std::string_view unsigned_ = text.substr(text[0] == '+' || text[0] == '-' ? 1 : 0);
  double value = 0;
  auto result = std::from_chars(unsigned_.data(), unsigned_.data() + unsigned_.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    if (OrderOfMagnitude(parts) >= 0) return std::nullopt;  // overflow
    value = 0;                                               // underflow
  } else if (result.ec != std::errc() || result.ptr != unsigned_.data() + unsigned_.size()) {
    return std::nullopt;
  }
  return parts.Negative ? -value : value;
}

std::string FormatGeneral(double value) {
  if (value == 0) return "0";
  if (!std::isfinite(value)) return std::string(ToChars(value, std::chars_format::general, 15).view());
  std::string digits;
  int exponent = 0;
  SplitScientific(ToChars(std::fabs(value), std::chars_format::scientific, 14).view(), digits, exponent);
  const bool negative = value < 0;
  if (exponent < -5 || exponent >= 15) return ScientificText(negative, digits, exponent);
  std::string text = negative ? "-" : "";
  if (exponent < 0) {
    text += "0.";
    text.append(static_cast<std::size_t>(-exponent - 1), '0');
    text += digits;
  } else {
    const std::size_t integerDigits = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= integerDigits) {
      text += digits;
      text.append(integerDigits - digits.size(), '0');
    } else {
      text.append(digits, 0, integerDigits);
      text += '.';
      text.append(digits, integerDigits, std::string::npos);
    }
  }
  return text;
}

std::string FormatFixed2(double value) {
  if (std::isfinite(value) && std::fabs(value) >= 1e15) return FormatGeneral(value);
  return std::string(ToChars(value, std::chars_format::fixed, 2).view());
}

namespace {

std::string WithLocalSeparator(std::string text) {
  const std::size_t point = text.find('.');
  if (point != std::string::npos) text.replace(point, 1, DecimalSeparatorText);
  return text;
}

}  // namespace

std::string FormatFixed2Local(double value) { return WithLocalSeparator(FormatFixed2(value)); }

std::string FormatScientificLocal(double value) {
  // to_chars writes the exponent as printf's %e does: sign and two digits at
  // least.
  std::string text(ToChars(value, std::chars_format::scientific, 4).view());
  const std::size_t e = text.find('e');
  if (e != std::string::npos) text[e] = 'E';
  return WithLocalSeparator(std::move(text));
}

std::string FormatFileReal(double value) {
  // A value the program cannot hold (not finite) is written as an unentered
  // value, so that the file stays readable.
  if (!std::isfinite(value)) value = 0;
  if (value > 0.1) {
    TCharBuffer fixed = ToChars(value, std::chars_format::fixed, 2);
    std::string text;
    if (fixed.Length < 12) text.append(12 - fixed.Length, ' ');
    text += fixed.view();
    return text;
  }
  TCharBuffer scientific = ToChars(std::fabs(value), std::chars_format::scientific, 3);
  const std::string_view view = scientific.view();
  const std::size_t e = view.find('e');
  const int exponent = std::atoi(std::string(view.substr(e + 1)).c_str());
  std::string text = (value < 0) ? "-" : " ";
  text += view.substr(0, e);  // d.ddd
  text += 'E';
  text += exponent < 0 ? '-' : '+';
  std::string exponentDigits = std::to_string(exponent < 0 ? -exponent : exponent);
  text.append(exponentDigits.size() < 4 ? 4 - exponentDigits.size() : 0, '0');
  text += exponentDigits;
  return text;
}

void SetDecimalSeparator(std::string separator) { DecimalSeparatorText = std::move(separator); }

const std::string& DecimalSeparator() { return DecimalSeparatorText; }
