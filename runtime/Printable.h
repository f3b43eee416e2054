#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace runtime {

// Text from an untrusted file, fit for a one-line message: control characters become '?', and
// anything beyond most characters is cut off and marked with "...".
std::string Printable(std::string_view text, std::size_t most = 80);

}  // namespace runtime
