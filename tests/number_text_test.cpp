#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <tuple>
#include <utility>

#include "NumberText.h"

// AppendFixed against the two texts it must equal byte for byte: std::to_chars's fixed form and
// printf's "%*.*f" in the "C" locale, which this test never leaves.
namespace {
constexpr int kMostDigits = 20;  // one past the longest precision with exact integer arithmetic
constexpr int kWidths[] = {0, 1, 8, 12, 30, 64, 65, 80};

std::string Fixed(double value, int width, int precision) {
  std::string text;
  runtime::AppendFixed(text, value, width, precision);
  return text;
}

std::string ByToChars(double value, int width, int precision) {
  char digits[400];  // DBL_MAX has 309 whole digits
  const auto result =
      std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, precision);
  std::string text(digits, result.ptr);
  if (width > 0 && text.size() < static_cast<std::size_t>(width)) {
    text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
  }
  return text;
}

std::string ByPrintf(double value, int width, int precision) {
  char text[400];
  const int length = std::snprintf(text, sizeof text, "%*.*f", width, precision, value);
  return {text, static_cast<std::size_t>(length)};
}

// Each value at every precision, unpadded against to_chars, and at one of the widths against
// printf; stops at the first difference so that a fault reports one line, not millions.
void ExpectAsPrinted(double value, int width) {
  for (int precision = 0; precision <= kMostDigits; ++precision) {
    ASSERT_EQ(Fixed(value, 0, precision), ByToChars(value, 0, precision))
        << std::hexfloat << value << " at precision " << precision;
  }
  const int precision = static_cast<int>(std::bit_cast<std::uint64_t>(value) % (kMostDigits + 1));
  ASSERT_EQ(Fixed(value, width, precision), ByPrintf(value, width, precision))
      << std::hexfloat << value << " at width " << width << ", precision " << precision;
}

// Random bit patterns with a binary exponent in [lowest, highest], either sign, and sometimes a
// mantissa cut short so that ties and exact values come up often.
double RandomDouble(std::mt19937_64& random, int lowest, int highest) {
  std::uniform_int_distribution<int> exponent(lowest, highest);
  std::uniform_int_distribution<int> kept(0, 52);
  std::uint64_t mantissa = random() & ((std::uint64_t{1} << 52) - 1);
  if (random() % 4 == 0) mantissa &= ~((std::uint64_t{1} << (52 - kept(random))) - 1);
  const auto biased = static_cast<std::uint64_t>(exponent(random) + 1023);
  return std::bit_cast<double>((random() & std::uint64_t{1} << 63) | biased << 52 | mantissa);
}

// Binary fractions odd / 2^(precision + 1) end in a 5 just past the precision: exact ties.
double Tie(std::uint64_t odd, int precision) {
  return std::ldexp(static_cast<double>(odd), -(precision + 1));
}
}  // namespace

// Many from pico to tera, where the logs' numbers live, and some of any magnitude.
TEST(NumberText, FixedPrintsRandomDoublesAsToCharsAndPrintfDo) {
  for (const auto& [seed, count, lowest, highest] :
       {std::tuple{20240607U, 150'000U, -40, 40}, std::tuple{7U, 15'000U, -1074, 1023}}) {
    std::mt19937_64 random(seed);
    for (unsigned i = 0; i < count; ++i) {
      const double value = RandomDouble(random, lowest, highest);
      ASSERT_NO_FATAL_FAILURE(ExpectAsPrinted(value, kWidths[i % std::size(kWidths)]));
    }
  }
}

// Around the edges of the exact arithmetic: 2^52, where doubles stop having fractions, 2^-12 and
// 2^-75, where a fraction's bits stop fitting 64 and 128 bits, and subnormals.
TEST(NumberText, FixedPrintsValuesAtTheEdgesOfItsArithmeticAsToCharsDoes) {
  for (int exponent :
       {-1074, -1023, -1022, -129, -77, -76, -75, -74, -13, -12, -11, -1, 0, 1, 51, 52, 53, 64}) {
    const double power = std::ldexp(1.0, exponent);
    for (double value : {power, std::nextafter(power, 0.0), std::nextafter(power, 1e300),
                         power * 1.5, power * 1.75}) {
      ExpectAsPrinted(value, 8);
      ExpectAsPrinted(-value, 12);
    }
  }
}

TEST(NumberText, FixedRoundsExactTiesToEvenAndTheirNeighboursAway) {
  EXPECT_EQ(Fixed(0.015625, 8, 5), " 0.01562");
  EXPECT_EQ(Fixed(0.046875, 8, 5), " 0.04688");
  EXPECT_EQ(Fixed(-0.015625, 8, 5), "-0.01562");
  EXPECT_EQ(Fixed(std::nextafter(0.015625, 1.0), 8, 5), " 0.01563");
  EXPECT_EQ(Fixed(std::nextafter(0.046875, 0.0), 8, 5), " 0.04687");
  EXPECT_EQ(Fixed(0.5, 0, 0), "0");
  EXPECT_EQ(Fixed(1.5, 0, 0), "2");
  EXPECT_EQ(Fixed(2.5, 0, 0), "2");
  EXPECT_EQ(Fixed(-2.5, 0, 0), "-2");
  EXPECT_EQ(Fixed(0.125, 0, 2), "0.12");
  EXPECT_EQ(Fixed(0.375, 0, 2), "0.38");
  for (int precision = 0; precision < kMostDigits; ++precision) {
    for (std::uint64_t odd = 1; odd < 2'000; odd += 2) {
      for (std::uint64_t whole : {std::uint64_t{0}, std::uint64_t{1} << 20, std::uint64_t{999}}) {
        const double tie = static_cast<double>(whole) + Tie(odd, precision);
        for (double value : {tie, std::nextafter(tie, 0.0), std::nextafter(tie, 1e300)}) {
          ASSERT_EQ(Fixed(value, 0, precision), ByToChars(value, 0, precision))
              << std::hexfloat << value << " at precision " << precision;
          ASSERT_EQ(Fixed(-value, 8, precision), ByPrintf(-value, 8, precision))
              << std::hexfloat << -value << " at precision " << precision;
        }
      }
    }
  }
}

TEST(NumberText, FixedCarriesRoundingAcrossPowersOfTen) {
  EXPECT_EQ(Fixed(9.9999951, 8, 5), "10.00000");
  EXPECT_EQ(Fixed(-9.9999951, 8, 5), "-10.00000");
  EXPECT_EQ(Fixed(99.5, 0, 0), "100");
  EXPECT_EQ(Fixed(0.9999999996, 0, 9), "1.000000000");
  EXPECT_EQ(Fixed(0.999999999, 0, 9), "0.999999999");
  EXPECT_EQ(Fixed(0.999999999, 0, 8), "1.00000000");
  for (double value : {9.999995, 0.999999999, 99.999995, 999999.5, 0.0999995, 0.99999999999999989,
                       4503599627370495.5}) {
    for (double nearby : {value, std::nextafter(value, 0.0), std::nextafter(value, 1e300)}) {
      ExpectAsPrinted(nearby, 8);
      ExpectAsPrinted(-nearby, 8);
    }
  }
}

TEST(NumberText, FixedPrintsZerosSignsExtremesAndNonNumbers) {
  EXPECT_EQ(Fixed(-0.0, 8, 5), "-0.00000");
  EXPECT_EQ(Fixed(0.0, 8, 5), " 0.00000");
  EXPECT_EQ(Fixed(-0.000001, 8, 5), "-0.00000");
  EXPECT_EQ(Fixed(-0.000004, 0, 0), "-0");
  const double tiniest = std::numeric_limits<double>::denorm_min();
  EXPECT_EQ(Fixed(tiniest, 0, 19), "0.0000000000000000000");
  EXPECT_EQ(Fixed(-tiniest, 8, 5), "-0.00000");
  EXPECT_EQ(Fixed(DBL_MAX, 0, 0).size(), 309U);
  EXPECT_EQ(Fixed(std::numeric_limits<double>::quiet_NaN(), 8, 5), "     nan");
  EXPECT_EQ(Fixed(-std::numeric_limits<double>::quiet_NaN(), 0, 5), "-nan");
  EXPECT_EQ(Fixed(std::numeric_limits<double>::infinity(), 8, 5), "     inf");
  EXPECT_EQ(Fixed(-std::numeric_limits<double>::infinity(), 0, 5), "-inf");
  for (double value : {0.0, -0.0, tiniest, -tiniest, DBL_MIN, DBL_MAX, -DBL_MAX, DBL_EPSILON,
                       std::numeric_limits<double>::infinity()}) {
    ExpectAsPrinted(value, 8);
  }
  for (int precision : {-1, 25, 40}) {
    EXPECT_EQ(Fixed(0.05, 8, precision), ByToChars(0.05, 8, precision)) << precision;
  }
}

TEST(NumberText, FixedAppendsAfterWhatTheTextHolds) {
  std::string text = "w:";
  runtime::AppendFixed(text, 0.05, 8, 5);
  runtime::AppendFixed(text, -12.5, 0, 1);
  runtime::AppendFixed(text, 1e20, 25, 1);
  EXPECT_EQ(text, "w: 0.05000-12.5  100000000000000000000.0");
}

TEST(NumberText, GroupedDigitsPutsACommaBeforeEachThreeDigitsButNeverAfterTheSign) {
  const std::pair<std::int64_t, const char*> cases[] = {
      {0, "0"},
      {999, "999"},
      {1000, "1,000"},
      {-100, "-100"},
      {-100000, "-100,000"},
      {1234567, "1,234,567"},
      {std::numeric_limits<std::int64_t>::min(), "-9,223,372,036,854,775,808"}};
  for (const auto& [value, text] : cases) EXPECT_EQ(runtime::GroupedDigits(value), text) << value;
}
