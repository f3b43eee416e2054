#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

// One object of a state read from an untrusted file, field by field. Every reader throws
// StateError naming the field by its path ("neuron.history.count") and saying what it must be.
class JsonFields {
 public:
  // Throws unless value is an object. path is "" for the whole state.
  JsonFields(const nlohmann::json& value, std::string path);

  // Throws at the first key not among known.
  void Only(const std::vector<std::string_view>& known) const;

  // The field's value, whatever its type; throws when the key is missing.
  const nlohmann::json& Value(std::string_view key) const;
  JsonFields Object(std::string_view key) const;
  double Real(std::string_view key) const;
  std::vector<double> Reals(std::string_view key) const;
  // A whole number from 0 to most.
  std::uint64_t Whole(std::string_view key, std::uint64_t most) const;
  bool Flag(std::string_view key) const;
  std::string Text(std::string_view key) const;

  // "neuron.history.count" for key "count" of the object at "neuron.history".
  std::string PathOf(std::string_view key) const;

 private:
  const nlohmann::json& object_;
  std::string path_;
};
