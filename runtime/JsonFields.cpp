#include "JsonFields.h"

#include <algorithm>

#include "FormatError.h"
#include "Printable.h"

namespace runtime {

JsonFields::JsonFields(const nlohmann::json& value, const JsonFormat& format, std::string path)
    : object_(value), format_(format), path_(std::move(path)) {
  if (!value.is_object()) {
    throw FormatError((path_.empty() ? std::string(format_.whole) : path_) +
                      " must be a JSON object");
  }
}

void JsonFields::Only(const std::vector<std::string_view>& known) const {
  for (const auto& field : object_.items()) {
    if (std::find(known.begin(), known.end(), field.key()) == known.end()) {
      throw FormatError(Printable(PathOf(field.key()), kQuotedField) + " is not part of " +
                        format_.kind);
    }
  }
}

const nlohmann::json& JsonFields::Value(std::string_view key) const {
  const auto field = object_.find(key);
  if (field == object_.end()) throw FormatError(PathOf(key) + " is missing");
  return *field;
}

JsonFields JsonFields::Object(std::string_view key) const {
  return JsonFields(Value(key), format_, PathOf(key));
}

std::vector<JsonFields> JsonFields::Objects(std::string_view key) const {
  const nlohmann::json& value = Value(key);
  if (!value.is_array()) throw FormatError(PathOf(key) + " must be an array");
  std::vector<JsonFields> objects;
  for (std::size_t i = 0; i < value.size(); ++i) {
    objects.emplace_back(value[i], format_, PathOf(key) + "[" + std::to_string(i) + "]");
  }
  return objects;
}

double JsonFields::Real(std::string_view key) const {
  const nlohmann::json& value = Value(key);
  if (!value.is_number()) throw FormatError(PathOf(key) + " must be a number");
  return value.get<double>();
}

std::vector<double> JsonFields::Reals(std::string_view key) const {
  const nlohmann::json& value = Value(key);
  const auto isNumber = [](const nlohmann::json& element) { return element.is_number(); };
  if (!value.is_array() || !std::all_of(value.begin(), value.end(), isNumber)) {
    throw FormatError(PathOf(key) + " must be an array of numbers");
  }
  return value.get<std::vector<double>>();
}

std::uint64_t JsonFields::Whole(std::string_view key, std::uint64_t most) const {
  const nlohmann::json& value = Value(key);
  const std::string range = "0 ... " + std::to_string(most);
  if (!value.is_number_integer()) {
    throw FormatError(PathOf(key) + " must be a whole number " + range);
  }
  if (!value.is_number_unsigned() || value.get<std::uint64_t>() > most) {
    throw FormatError(PathOf(key) + " must be " + range + ", not " + value.dump());
  }
  return value.get<std::uint64_t>();
}

bool JsonFields::Flag(std::string_view key) const {
  const nlohmann::json& value = Value(key);
  if (!value.is_boolean()) throw FormatError(PathOf(key) + " must be true or false");
  return value.get<bool>();
}

std::string JsonFields::Text(std::string_view key) const {
  const nlohmann::json& value = Value(key);
  if (!value.is_string()) throw FormatError(PathOf(key) + " must be a string");
  return value.get<std::string>();
}

std::vector<std::string> JsonFields::Texts(std::string_view key) const {
  const nlohmann::json& value = Value(key);
  const auto isString = [](const nlohmann::json& element) { return element.is_string(); };
  if (!value.is_array() || !std::all_of(value.begin(), value.end(), isString)) {
    throw FormatError(PathOf(key) + " must be an array of strings");
  }
  return value.get<std::vector<std::string>>();
}

std::string JsonFields::PathOf(std::string_view key) const {
  return path_.empty() ? std::string(key) : path_ + "." + std::string(key);
}

}  // namespace runtime
