#include "NumberFormat.h"

#include "NumberText.h"

std::string FloatToStrF(double value, TFloatFormat, int, int digits) {
  std::string text;
  runtime::AppendFixed(text, value, 0, digits);
  return text;
}

std::string IntToStr(std::int64_t value) {
  std::string text;
  runtime::AppendInteger(text, value, 0);
  return text;
}
