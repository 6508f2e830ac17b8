// Number texts: what the grids, the messages and the data file write, and
// what StrToFloatDot accepts, whatever the process locale.
#include <clocale>
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "NumberText.h"

namespace {

struct TParseRow {
  const char* Name;
  const char* Text;
  bool Valid;
  double Value;
};

const TParseRow ParseRows[] = {
    {"integer", "42", true, 42},
    {"fraction", "1.5", true, 1.5},
    {"blanks around", "  2.25 ", true, 2.25},
    {"plus sign", "+3", true, 3},
    {"minus sign", "-0.75", true, -0.75},
    {"exponent", "1.5E3", true, 1500},
    {"small exponent", "2e-2", true, 0.02},
    {"signed exponent", "7E+1", true, 70},
    {"point without fraction", "5.", true, 5},
    {"fraction without integer", ".5", true, 0.5},
    {"underflow reads as zero", "1e-999", true, 0},
    {"comma decimal", "1,5", false, 0},
    {"thousands separator", "1,000.5", false, 0},
    {"empty", "", false, 0},
    {"only blanks", "   ", false, 0},
    {"hexadecimal", "0x10", false, 0},
    {"infinity", "inf", false, 0},
    {"not a number", "nan", false, 0},
    {"overflow", "1e999", false, 0},
    {"exponent without digits", "1e", false, 0},
    {"lone sign", "-", false, 0},
    {"lone point", ".", false, 0},
    {"two points", "1.2.3", false, 0},
    {"inner blank", "1 2", false, 0},
    {"trailing letter", "12a", false, 0},
    {"double sign", "--1", false, 0},
};

TEST(StrToFloatDot, AcceptsDotNumbersOnly) {
  for (const TParseRow& row : ParseRows) {
    const auto value = StrToFloatDot(row.Text);
    EXPECT_EQ(value.has_value(), row.Valid) << row.Name;
    if (value && row.Valid) {
      EXPECT_EQ(*value, row.Value) << row.Name;
    }
  }
}

TEST(StrToFloatDot, IgnoresTheProcessLocale) {
  // A locale with a decimal comma, when the machine has one; the conversion
  // must not follow it.
  const char* found = nullptr;
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "nl_NL.UTF-8", "fr_FR.UTF-8"})
    if ((found = std::setlocale(LC_NUMERIC, name))) break;
  EXPECT_EQ(StrToFloatDot("1.5"), 1.5);
  EXPECT_FALSE(StrToFloatDot("1,5").has_value());
  EXPECT_EQ(FormatFixed2(2.5), "2.50");
  EXPECT_EQ(FormatFileReal(0.05), " 5.000E-0002");
  std::setlocale(LC_NUMERIC, "C");
  if (!found) GTEST_SKIP() << "no decimal-comma locale on this machine; checked under C only";
}

struct TFormatRow {
  double Value;
  const char* Text;
};

TEST(NumberText, GeneralFormIsShortestWithFifteenDigits) {
  const TFormatRow rows[] = {
      {0, "0"},
      {1.5, "1.5"},
      {40, "40"},
      {0.1, "0.1"},
      {1.0 / 3, "0.333333333333333"},
      {2.0 / 3, "0.666666666666667"},
      {123456.789, "123456.789"},
      {0.00001, "0.00001"},
      {0.000012, "0.000012"},
      {0.0000015, "1.5E-6"},
      {-0.0000015, "-1.5E-6"},
      {999999999999999, "999999999999999"},
      {1e15, "1E15"},
      {2.5e20, "2.5E20"},
      {-12.5, "-12.5"},
      {-0.0, "0"},
  };
  for (const TFormatRow& row : rows) EXPECT_EQ(FormatGeneral(row.Value), row.Text) << row.Value;
}

TEST(NumberText, FixedFormHasTwoDecimals) {
  const TFormatRow rows[] = {
      {0, "0.00"},       {5, "5.00"},         {10000, "10000.00"},          {0.125, "0.12"},
      {0.375, "0.38"},   {-2.5, "-2.50"},     {123456789.126, "123456789.13"}, {1e15, "1E15"},
  };
  for (const TFormatRow& row : rows) EXPECT_EQ(FormatFixed2(row.Value), row.Text) << row.Value;
}

TEST(NumberText, LocalFixedFormUsesTheProgramsDecimalSeparator) {
  EXPECT_EQ(FormatFixed2Local(5), "5.00");
  SetDecimalSeparator(",");
  EXPECT_EQ(FormatFixed2Local(5), "5,00");
  EXPECT_EQ(FormatFixed2Local(10000), "10000,00");
  EXPECT_EQ(FormatFixed2(5), "5.00");  // the grids keep "."
  SetDecimalSeparator(".");
}

TEST(NumberText, FileRealFormMatchesTheDocumentedExamples) {
  const TFormatRow rows[] = {
      {1.5, "        1.50"},
      {10000, "    10000.00"},
      {0.123456, "        0.12"},
      {0, " 0.000E+0000"},
      {0.05, " 5.000E-0002"},
      {0.0123456, " 1.235E-0002"},
      {-2, "-2.000E+0000"},
      {0.1, " 1.000E-0001"},
      {0.10000001, "        0.10"},
      {99999999.99, " 99999999.99"},
      {100000000, "100000000.00"},
      {1234567890.5, "1234567890.50"},
      {-20000, "-2.000E+0004"},
      {0.09999999, " 1.000E-0001"},
      {1e-300, " 1.000E-0300"},
  };
  for (const TFormatRow& row : rows) EXPECT_EQ(FormatFileReal(row.Value), row.Text) << row.Value;
}

TEST(NumberText, FileRealFormRoundsTheBinaryValueLikePrintf) {
  // 2.675 is stored as 2.67499999999999982236431605997495353221893310546875
  // and 0.125 exactly; an exact tie rounds to even.
  EXPECT_EQ(FormatFileReal(2.675), "        2.67");
  EXPECT_EQ(FormatFileReal(0.125), "        0.12");
  EXPECT_EQ(FormatFileReal(0.135), "        0.14");
  EXPECT_EQ(FormatFileReal(0.00012345), " 1.234E-0004");
  EXPECT_EQ(FormatFileReal(0.099995), " 1.000E-0001");
}

TEST(NumberText, FileRealFormKeepsNonFiniteValuesReadable) {
  EXPECT_EQ(FormatFileReal(std::numeric_limits<double>::infinity()), " 0.000E+0000");
  EXPECT_EQ(FormatFileReal(std::nan("")), " 0.000E+0000");
}

}  // namespace
