#include "ParameterKeywords.h"

#include <algorithm>
#include <charconv>

#include "CommandLine.h"

namespace py = pybind11;

std::string KeywordOf(const ParameterOption& option) {
  std::string keyword(option.name);
  std::replace(keyword.begin(), keyword.end(), '-', '_');
  return keyword;
}

const ParameterOption& OptionOfKeyword(const std::string& keyword) {
  std::string known;
  for (const ParameterOption& option : ParameterOptions()) {
    if (KeywordOf(option) == keyword) return option;
    known += (known.empty() ? "" : ", ") + KeywordOf(option);
  }
  throw py::type_error("unknown parameter " + keyword + "; the parameters are " + known);
}

std::string ValueText(py::handle value) {
  if (py::isinstance<py::str>(value)) return value.cast<std::string>();
  if (value.is_none() || py::isinstance<py::bool_>(value)) return py::str(value);
  if (PyIndex_Check(value.ptr()) != 0) {
    return py::str(py::reinterpret_steal<py::object>(PyNumber_Index(value.ptr())));
  }
  // Python's repr of a float is its shortest exact text, which the command line reads back.
  return py::repr(py::float_(py::reinterpret_borrow<py::object>(value)));
}

void SetFromKeywords(Parameters& parameters, const py::kwargs& keywords,
                     std::vector<std::string>* given) {
  for (const auto& [key, value] : keywords) {
    const ParameterOption& option = OptionOfKeyword(py::str(key));
    if (value.is_none() && option.isSet != nullptr) continue;
    SetParameter(parameters, option, ValueText(value));
    if (given != nullptr) given->emplace_back(option.name);
  }
}

bool IsWhole(const ParameterOption& option) {
  Parameters probe;
  return option.kind == ValueKind::kNumber && !option.set(probe, "0.5");
}

py::dict ParameterValues(const Parameters& parameters) {
  py::dict values;
  for (const ParameterOption& option : ParameterOptions()) {
    const std::string text = option.get(parameters);
    const py::str keyword(KeywordOf(option));
    if (!option.IsSet(parameters)) {
      values[keyword] = py::none();
    } else if (option.kind == ValueKind::kWord) {
      values[keyword] = py::str(text);
    } else if (IsWhole(option)) {
      values[keyword] = py::int_(py::str(text));
    } else {
      // Whatever locale the Python program has set: the text has a full stop.
      double number = 0.0;
      std::from_chars(text.data(), text.data() + text.size(), number);
      values[keyword] = py::float_(number);
    }
  }
  return values;
}

std::string ParameterManual() {
  const Parameters defaults;
  std::string manual;
  for (const ParameterOption& option : ParameterOptions()) {
    const std::string value = option.IsSet(defaults) ? option.get(defaults)
                                                     : "None (" + std::string(option.follows) + ")";
    manual += "    " + KeywordOf(option) + ": " + std::string(option.meaning) + "; " +
              std::string(option.valid) + "; default " + value + "\n";
  }
  return manual;
}
