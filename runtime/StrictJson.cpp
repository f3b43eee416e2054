#include "StrictJson.h"

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "FormatError.h"
#include "Printable.h"

namespace runtime {
namespace {
// The library's message without its "[json.exception.parse_error.101] " tag.
std::string Reason(const nlohmann::json::exception& error) {
  const std::string_view what = error.what();
  const std::size_t tagEnd = what.find("] ");
  return Printable(tagEnd == std::string_view::npos ? what : what.substr(tagEnd + 2), 200);
}

// Watches the parse: keys seen in each open object, innermost last.
class KeyWatch {
 public:
  explicit KeyWatch(const JsonFormat& format) : format_(format) {}

  bool operator()(int depth, nlohmann::json::parse_event_t event, nlohmann::json& parsed) {
    using Event = nlohmann::json::parse_event_t;
    if ((event == Event::object_start || event == Event::array_start) &&
        depth >= format_.maxDepth) {
      throw FormatError(std::string("nested deeper than ") + format_.kind + " ever is");
    }
    if (event == Event::object_start) open_.emplace_back();
    if (event == Event::object_end) open_.pop_back();
    if (event == Event::key && !open_.back().insert(parsed.get<std::string>()).second) {
      throw FormatError("the key \"" + Printable(parsed.get<std::string>(), kQuotedField) +
                        "\" appears twice in one object");
    }
    return true;
  }

 private:
  const JsonFormat& format_;
  std::vector<std::set<std::string>> open_;
};
}  // namespace

nlohmann::json ParseStrictJson(std::string_view text, const JsonFormat& format) {
  KeyWatch watch(format);
  try {
    return nlohmann::json::parse(text.begin(), text.end(), std::ref(watch));
  } catch (const nlohmann::json::exception& error) {
    throw FormatError("not JSON: " + Reason(error));
  }
}

}  // namespace runtime
