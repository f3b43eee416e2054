#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "StrictJson.h"

namespace runtime {

// One object of a JSON file read from an untrusted file, field by field. Every reader throws
// FormatError naming the field by its path ("neuron.history.count", "events[2].at") and saying
// what it must be.
class JsonFields {
 public:
  // Throws unless value is an object. path is "" for the whole file.
  JsonFields(const nlohmann::json& value, const JsonFormat& format, std::string path = "");

  // Throws at the first key not among known.
  void Only(const std::vector<std::string_view>& known) const;

  bool Has(std::string_view key) const { return object_.contains(key); }
  // The field's value, whatever its type; throws when the key is missing.
  const nlohmann::json& Value(std::string_view key) const;
  JsonFields Object(std::string_view key) const;
  // An array of objects.
  std::vector<JsonFields> Objects(std::string_view key) const;
  double Real(std::string_view key) const;
  std::vector<double> Reals(std::string_view key) const;
  // A whole number from 0 to most.
  std::uint64_t Whole(std::string_view key, std::uint64_t most) const;
  bool Flag(std::string_view key) const;
  std::string Text(std::string_view key) const;
  std::vector<std::string> Texts(std::string_view key) const;

  // "neuron.history.count" for key "count" of the object at "neuron.history".
  std::string PathOf(std::string_view key) const;

 private:
  const nlohmann::json& object_;
  const JsonFormat& format_;
  std::string path_;
};

}  // namespace runtime
