#include "NumberText.h"

#include <array>
#include <bit>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <system_error>

namespace runtime {
namespace {

__extension__ typedef unsigned __int128 Wide;

// A finite double as sign, integer mantissa and power of two: ±mantissa * 2^exponent.
struct Binary {
  bool negative;
  std::uint64_t mantissa;
  int exponent;
};

constexpr int kFractionBits = 52;
constexpr int kExponentBias = 1023;

Binary Decompose(double value) {
  const auto bits = std::bit_cast<std::uint64_t>(value);
  const auto biased = static_cast<int>((bits >> kFractionBits) & 0x7FF);
  const std::uint64_t fraction = bits & ((std::uint64_t{1} << kFractionBits) - 1);
  const bool negative = (bits >> 63) != 0;
  if (biased == 0) return {negative, fraction, 1 - kExponentBias - kFractionBits};  // subnormal
  return {negative, fraction | std::uint64_t{1} << kFractionBits,
          biased - kExponentBias - kFractionBits};
}

// The exact path: every value below 2^52 in magnitude, where the exponent is negative, at
// precisions whose 10^precision fits 64 bits. Anything else, NaN and infinities included, goes to
// to_chars.
constexpr int kExactPrecision = 19;
constexpr std::array<std::uint64_t, kExactPrecision + 1> kPowersOfTen = [] {
  std::array<std::uint64_t, kExactPrecision + 1> powers{};
  std::uint64_t power = 1;
  for (std::uint64_t& entry : powers) {
    entry = power;
    power *= 10;
  }
  return powers;
}();

// Room for a sign, 16 whole digits below 2^52, a full stop and 19 digits written in groups of
// eight, and for padding to a width of as many characters.
constexpr int kBufferSize = 64;

bool IsExact(const Binary& binary, int precision, int width) {
  return precision >= 0 && precision <= kExactPrecision && binary.exponent < 0 &&
         width <= kBufferSize;
}

// The fixed form's two halves: the whole part, and the fraction as an integer of precision digits.
struct Fixed {
  std::uint64_t whole;
  std::uint64_t fraction;
};

// Adds a unit of the last digit when the rest beyond it is over half a unit, or exactly half and
// the digit odd: ties to even, as to_chars rounds.
Fixed RoundedUp(Fixed truncated, bool overHalf, bool half, int precision) {
  // 10^precision is even unless precision is 0, when the whole part holds the last digit.
  const std::uint64_t lastDigit = precision == 0 ? truncated.whole : truncated.fraction;
  if (!overHalf && !(half && (lastDigit & 1) != 0)) return truncated;
  if (++truncated.fraction < kPowersOfTen[static_cast<std::size_t>(precision)]) return truncated;
  return {truncated.whole + 1, 0};
}

// In both below, the fraction is a binary fraction of 64 or 128 bits, exact as it has at most 53,
// and times 10^precision its top 64 bits are the digits and the rest rounds them.

// Values from 2^-12 up, whose fraction bits all lie within 64 bits of the point.
Fixed RoundedInWord(std::uint64_t mantissa, int shift, int precision) {
  // There is no whole part at a shift of 64, and shifting 64 bits by 64 would be undefined.
  const std::uint64_t whole = shift < 64 ? mantissa >> shift : 0;
  const Wide scaled =
      Wide{mantissa << (64 - shift)} * kPowersOfTen[static_cast<std::size_t>(precision)];
  const auto rest = static_cast<std::uint64_t>(scaled);
  constexpr std::uint64_t kHalf = std::uint64_t{1} << 63;
  return RoundedUp({whole, static_cast<std::uint64_t>(scaled >> 64)}, rest > kHalf, rest == kHalf,
                   precision);
}

// Values below 2^-12, whose fraction bits lie within 128 bits of the point.
Fixed RoundedInWide(std::uint64_t mantissa, int shift, int precision) {
  const Wide fraction = Wide{mantissa} << (128 - shift);
  const std::uint64_t scale = kPowersOfTen[static_cast<std::size_t>(precision)];
  const Wide low = Wide{static_cast<std::uint64_t>(fraction)} * scale;
  const Wide high = Wide{static_cast<std::uint64_t>(fraction >> 64)} * scale + (low >> 64);
  const Wide rest = high << 64 | static_cast<std::uint64_t>(low);
  constexpr Wide kHalf = Wide{1} << 127;
  return RoundedUp({0, static_cast<std::uint64_t>(high >> 64)}, rest > kHalf, rest == kHalf,
                   precision);
}

// The exact value rounded to precision digits. Needs IsExact.
Fixed Rounded(const Binary& binary, int precision) {
  const int shift = -binary.exponent;
  if (shift <= 64) return RoundedInWord(binary.mantissa, shift, precision);
  if (shift < 128) return RoundedInWide(binary.mantissa, shift, precision);
  return {0, 0};  // below 2^(53 - 128): even 10^19 times it stays far under half a unit
}

constexpr std::array<char, 200> kDigitPairs = [] {
  std::array<char, 200> pairs{};
  for (std::size_t i = 0; i < 100; ++i) {
    pairs[2 * i] = static_cast<char>('0' + i / 10);
    pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
  }
  return pairs;
}();

// The writers below fill a buffer from its end and return the new first character.
char* WritePairBackwards(char* last, std::uint64_t pair) {
  return static_cast<char*>(std::memcpy(last - 2, &kDigitPairs[2 * pair], 2));
}

// The eight digits of value < 10^8 with leading zeros, as the bytes of one little-endian word:
// split into halves of four digits in 32-bit lanes, then pairs in 16-bit lanes, then digits in
// bytes, each split for all lanes at once by a multiply and shift that divide exactly in range.
std::uint64_t EightDigits(std::uint64_t value) {
  static_assert(std::endian::native == std::endian::little);
  const auto eight = static_cast<std::uint32_t>(value);
  const std::uint64_t fours = eight / 10'000 | std::uint64_t{eight % 10'000} << 32;
  const std::uint64_t hundreds = (fours * 10'486 >> 20) & 0x0000'007F'0000'007F;
  const std::uint64_t pairs = hundreds | (fours - 100 * hundreds) << 16;
  const std::uint64_t tens = (pairs * 103 >> 10) & 0x000F'000F'000F'000F;
  const std::uint64_t digits = tens | (pairs - 10 * tens) << 8;
  return digits + 0x3030'3030'3030'3030;
}

constexpr std::uint64_t kEightDigits = 100'000'000;

// Exactly count > 0 digits, with leading zeros, in groups of eight; the last group's own leading
// zeros go below the returned first character, so the buffer needs room for a whole group there.
char* WriteDigitsBackwards(char* last, std::uint64_t value, int count) {
  char* const first = last - count;
  for (; last - 8 > first; last -= 8, value /= kEightDigits) {
    const std::uint64_t group = EightDigits(value % kEightDigits);
    std::memcpy(last - 8, &group, 8);
  }
  const std::uint64_t group = EightDigits(value);
  std::memcpy(last - 8, &group, 8);
  return first;
}

// As few digits as value needs, and one for 0.
char* WriteIntegerBackwards(char* last, std::uint64_t value) {
  for (; value >= 100; value /= 100) last = WritePairBackwards(last, value % 100);
  if (value >= 10) return WritePairBackwards(last, value);
  *--last = static_cast<char>('0' + value);
  return last;
}

char* WriteFixedBackwards(char* last, const Fixed& fixed, int precision, bool negative) {
  char* first = last;
  if (precision > 0) {
    first = WriteDigitsBackwards(first, fixed.fraction, precision);
    *--first = '.';
  }
  first = WriteIntegerBackwards(first, fixed.whole);
  if (negative) *--first = '-';
  return first;
}

// Pads to width with spaces in place, so the text goes in with one append; the buffer must have
// room for width characters.
char* PadBackwards(char* first, const char* last, int width) {
  while (last - first < width) *--first = ' ';
  return first;
}

void AppendAligned(std::string& text, int width, const char* first, const char* last) {
  const auto length = static_cast<std::size_t>(last - first);
  if (width > 0 && length < static_cast<std::size_t>(width)) {
    text.append(static_cast<std::size_t>(width) - length, ' ');
  }
  text.append(first, length);
}

// Runs convert(first, last) on the stack when the text is short, as nearly all are, and otherwise
// in a heap area that doubles until the text fits; then appends it right-aligned in width.
template <class Convert>
void AppendConverted(std::string& text, int width, Convert convert) {
  char small[64];
  std::to_chars_result result = convert(small, small + sizeof small);
  if (result.ec == std::errc()) return AppendAligned(text, width, small, result.ptr);
  std::string large(2 * sizeof small, '\0');
  while ((result = convert(large.data(), large.data() + large.size())).ec != std::errc()) {
    large.resize(large.size() * 2);
  }
  AppendAligned(text, width, large.data(), result.ptr);
}

// What the exact path leaves: NaN, infinities, magnitudes from 2^52, other precisions and widths
// over 64. Out of line, so that the exact path's frame stays small.
[[gnu::noinline]] void AppendFixedByToChars(std::string& text, double value, int width,
                                            int precision) {
  AppendConverted(text, width, [value, precision](char* first, char* last) {
    return std::to_chars(first, last, value, std::chars_format::fixed, precision);
  });
}

}  // namespace

void AppendFixed(std::string& text, double value, int width, int precision) {
  const Binary binary = Decompose(value);
  if (!IsExact(binary, precision, width)) {
    return AppendFixedByToChars(text, value, width, precision);
  }
  char buffer[kBufferSize];
  char* const last = buffer + sizeof buffer;
  char* const first =
      WriteFixedBackwards(last, Rounded(binary, precision), precision, binary.negative);
  const char* const padded = PadBackwards(first, last, width);
  text.append(padded, static_cast<std::size_t>(last - padded));
}

void AppendInteger(std::string& text, std::int64_t value, int width) {
  AppendConverted(text, width,
                  [value](char* first, char* last) { return std::to_chars(first, last, value); });
}

void AppendShortest(std::string& text, double value) {
  char digits[32];
  text.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

std::string ShortestText(double value) {
  std::string text;
  AppendShortest(text, value);
  return text;
}

std::string GroupedDigits(std::int64_t value) {
  const std::string digits = std::to_string(value);
  std::string grouped;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    grouped += digits[i];
    const std::size_t after = digits.size() - 1 - i;
    if (after > 0 && after % 3 == 0 && digits[i] != '-') grouped += ',';
  }
  return grouped;
}

}  // namespace runtime
