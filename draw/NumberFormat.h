#pragma once

#include <cstdint>
#include <string>

enum class TFloatFormat { ffFixed };
inline constexpr TFloatFormat ffFixed = TFloatFormat::ffFixed;

// Fixed format: rounded to `digits` decimals, an optional minus sign, at least one digit before a
// full stop (whatever the locale), exactly `digits` after it. The text grows to fit any value;
// `precision` is taken for the familiar call shape and bounds nothing.
std::string FloatToStrF(double value, TFloatFormat format, int precision, int digits);

// Plain decimal.
std::string IntToStr(std::int64_t value);
