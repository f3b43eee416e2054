// Feeds arbitrary bytes to the picture decoder: whatever they are, it must return (a picture or a
// reason), never end the process, read out of bounds or leak.
#include <cstddef>
#include <cstdint>
#include <string>

#include "Picture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string error;
  const auto picture = DecodeJpeg(data, size, &error);
  if (!picture && error.empty()) __builtin_trap();
  return 0;
}
