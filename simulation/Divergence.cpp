#include "Divergence.h"

#include <cmath>
#include <cstdio>

std::string DivergenceValueText(double value) {
  if (std::isnan(value)) return "nan";
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

std::string DivergenceText(const Divergence& divergence) {
  return "diverged at training step " + std::to_string(divergence.step) + ": the " +
         divergence.quantity + " became " + DivergenceValueText(divergence.value);
}
