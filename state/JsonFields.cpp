#include "JsonFields.h"

#include <algorithm>

#include "Printable.h"
#include "StateError.h"

JsonFields::JsonFields(const nlohmann::json& value, std::string path)
    : object_(value), path_(std::move(path)) {
  if (!value.is_object()) {
    throw StateError((path_.empty() ? "the state" : path_) + " must be a JSON object");
  }
}

void JsonFields::Only(const std::vector<std::string_view>& known) const {
  for (const auto& field : object_.items()) {
    if (std::find(known.begin(), known.end(), field.key()) == known.end()) {
      throw StateError(Printable(PathOf(field.key())) + " is not part of a state");
    }
  }
}

const nlohmann::json& JsonFields::Value(std::string_view key) const {
  const auto field = object_.find(key);
  if (field == object_.end()) throw StateError(PathOf(key) + " is missing");
  return *field;
}

JsonFields JsonFields::Object(std::string_view key) const {
  return JsonFields(Value(key), PathOf(key));
}

double JsonFields::Real(std::string_view key) const {
  const nlohmann::json& value = Value(key);
  if (!value.is_number()) throw StateError(PathOf(key) + " must be a number");
  return value.get<double>();
}

std::vector<double> JsonFields::Reals(std::string_view key) const {
  const nlohmann::json& value = Value(key);
  const auto isNumber = [](const nlohmann::json& element) { return element.is_number(); };
  if (!value.is_array() || !std::all_of(value.begin(), value.end(), isNumber)) {
    throw StateError(PathOf(key) + " must be an array of numbers");
  }
  return value.get<std::vector<double>>();
}

std::uint64_t JsonFields::Whole(std::string_view key, std::uint64_t most) const {
  const nlohmann::json& value = Value(key);
  const std::string range = "0 ... " + std::to_string(most);
  if (!value.is_number_integer()) {
    throw StateError(PathOf(key) + " must be a whole number " + range);
  }
  if (!value.is_number_unsigned() || value.get<std::uint64_t>() > most) {
    throw StateError(PathOf(key) + " must be " + range + ", not " + value.dump());
  }
  return value.get<std::uint64_t>();
}

bool JsonFields::Flag(std::string_view key) const {
  const nlohmann::json& value = Value(key);
  if (!value.is_boolean()) throw StateError(PathOf(key) + " must be true or false");
  return value.get<bool>();
}

std::string JsonFields::Text(std::string_view key) const {
  const nlohmann::json& value = Value(key);
  if (!value.is_string()) throw StateError(PathOf(key) + " must be a string");
  return value.get<std::string>();
}

std::string JsonFields::PathOf(std::string_view key) const {
  return path_.empty() ? std::string(key) : path_ + "." + std::string(key);
}
