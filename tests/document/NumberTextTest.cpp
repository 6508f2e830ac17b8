// Number texts: what the grids, the messages and the data file write, and
// what StrToFloatDot accepts, whatever the process locale.
#include <clocale>
#include <cmath>
#include <limits>
#include <optional>
#include <utility>

#include <gtest/gtest.h>

#include "document/NumberText.h"

namespace {

TEST(StrToFloatDot, AcceptsDotNumbersOnly) {
  const std::optional<double> none;
  const std::pair<const char*, std::optional<double>> rows[] = {
      {"  2.25 ", 2.25}, {"+3", 3},   {"-0.75", -0.75}, {"7E+1", 70},   {"2e-2", 0.02}, {"5.", 5},      {".5", 0.5},
      {"1e-999", 0},     {"1,5", none}, {"", none},     {"0x10", none}, {"inf", none},  {"nan", none},  {"1e999", none},
      {"1e", none},      {".", none}, {"1 2", none},    {"--1", none}};
  for (const auto& [text, value] : rows) EXPECT_EQ(StrToFloatDot(text), value) << "'" << text << "'";
}

TEST(StrToFloatDot, IgnoresTheProcessLocale) {
  const bool comma = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") || std::setlocale(LC_NUMERIC, "de_DE.utf8") ||
                     std::setlocale(LC_NUMERIC, "German_Germany.1252");  // the name on Windows
  EXPECT_EQ(StrToFloatDot("1.5"), 1.5);
  EXPECT_FALSE(StrToFloatDot("1,5").has_value());
  EXPECT_EQ(FormatFixed2(2.5), "2.50");
  EXPECT_EQ(FormatFileReal(0.05), " 5.000E-0002");
  std::setlocale(LC_NUMERIC, "C");
  if (!comma) GTEST_SKIP() << "no decimal-comma locale on this machine; checked under C only";
}

using TFormatRow = std::pair<double, const char*>;  // value, text

TEST(NumberText, GeneralFixedAndLocalForms) {
  // Shortest text of at most 15 significant digits; scientific below 1e-5
  // and from 16 integer digits on.
  for (const TFormatRow& row : {TFormatRow{0, "0"}, {-0.0, "0"}, {1.5, "1.5"}, {1.0 / 3, "0.333333333333333"},
                                {0.00001, "0.00001"}, {-0.0000015, "-1.5E-6"}, {999999999999999, "999999999999999"},
                                {1e15, "1E15"}, {2.5e20, "2.5E20"}})
    EXPECT_EQ(FormatGeneral(row.first), row.second) << row.first;
  // Two decimals, rounding the binary value (0.125 is a tie, to even).
  for (const TFormatRow& row : {TFormatRow{0.125, "0.12"}, {0.375, "0.38"}, {-2.5, "-2.50"}, {1e15, "1E15"}})
    EXPECT_EQ(FormatFixed2(row.first), row.second) << row.first;
  // Five significant digits, the exponent signed and of two digits at least.
  for (const TFormatRow& row : {TFormatRow{0.0345, "3.4500E-02"}, {0, "0.0000E+00"}, {123456, "1.2346E+05"},
                                {-2.5e-123, "-2.5000E-123"}, {6.02214076e23, "6.0221E+23"}})
    EXPECT_EQ(FormatScientificLocal(row.first), row.second) << row.first;
  SetDecimalSeparator(",");
  EXPECT_EQ(FormatFixed2Local(10000), "10000,00");
  EXPECT_EQ(FormatScientificLocal(0.0345), "3,4500E-02");
  EXPECT_EQ(FormatFixed2(5), "5.00");  // the grids keep "."
  SetDecimalSeparator(".");
}

TEST(NumberText, FileRealFormMatchesTheDocumentedExamples) {
  const TFormatRow rows[] = {
      {1.5, "        1.50"},          {10000, "    10000.00"},        {0.123456, "        0.12"},
      {0, " 0.000E+0000"},            {0.0123456, " 1.235E-0002"},    {-2, "-2.000E+0000"},
      {0.1, " 1.000E-0001"},          {0.10000001, "        0.10"},   {100000000, "100000000.00"},
      {-20000, "-2.000E+0004"},       {0.099995, " 1.000E-0001"},     {1e-300, " 1.000E-0300"},
      // 2.675 is stored just below the tie; 0.125 is an exact tie, to even.
      {2.675, "        2.67"},        {0.125, "        0.12"},
      // A value the program cannot hold is written as an unentered one.
      {std::numeric_limits<double>::infinity(), " 0.000E+0000"}, {std::nan(""), " 0.000E+0000"},
  };
  for (const auto& [value, text] : rows) EXPECT_EQ(FormatFileReal(value), text) << value;
}

}  // namespace
