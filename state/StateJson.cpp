#include "StateJson.h"

#include <limits>
#include <string>

#include "FormatError.h"
#include "JsonFields.h"
#include "NumberText.h"
#include "Printable.h"

namespace {
using runtime::FormatError;
using runtime::JsonFields;
using runtime::Printable;

constexpr std::string_view kFormat = "orvel-state";
// Version 1 holds the classic generator's one state, version 2 pcg32's two streams. A classic
// state is still written as version 1, byte for byte as before, so older programs read it.
constexpr std::uint64_t kClassicVersion = 1;
constexpr std::uint64_t kLatestVersion = 2;

// A newer parameter at its default is left out: the state is then the file it always was.
bool Written(const ParameterOption& option, const Parameters& parameters) {
  return !option.newer || option.get(parameters) != option.get(Parameters{});
}

// Parameters are kept under their option names, as numbers in the options' own exact text, or
// as words; one that follows another is null.
nlohmann::ordered_json ParameterJson(const ParameterOption& option, const Parameters& parameters) {
  if (!option.IsSet(parameters)) return nlohmann::ordered_json();
  const std::string value = option.get(parameters);
  if (option.kind == ValueKind::kWord) return value;
  return nlohmann::ordered_json::parse(value);
}

nlohmann::ordered_json ParametersJson(const Parameters& parameters) {
  nlohmann::ordered_json json = nlohmann::ordered_json::object();
  for (const ParameterOption& option : ParameterOptions()) {
    if (Written(option, parameters))
      json[std::string(option.name)] = ParameterJson(option, parameters);
  }
  return json;
}

nlohmann::ordered_json HistoryJson(const ResponseHistory::Saved& history) {
  return {{"count", history.length},
          {"sinceRefresh", history.sinceRefresh},
          {"sum", history.sum},
          {"peak", history.peak},
          {"squares", history.squares}};
}

nlohmann::ordered_json NeuronJson(const BCMNeuron::Saved& neuron) {
  return {{"theta", neuron.theta},
          {"yLeft", neuron.yLeft},
          {"yRight", neuron.yRight},
          {"weights", neuron.weights},
          {"history", HistoryJson(neuron.history)}};
}

nlohmann::ordered_json StreamJson(const runtime::Pcg32& stream) {
  return {{"state", stream.State()}, {"increment", stream.Increment()}};
}

// Version 1's generator is the classic state itself; version 2's names its generator.
nlohmann::ordered_json GeneratorJson(const Simulation::Saved& saved) {
  if (const auto* classic = saved.generator.As<runtime::CRand>()) return classic->State();
  const auto* measurement = saved.measurement.As<runtime::Pcg32>();
  return {{"name", "pcg32"},
          {"training", StreamJson(*saved.generator.As<runtime::Pcg32>())},
          // Null makes a state whose streams are of two kinds fail its read-back, not crash.
          {"measurement", measurement ? StreamJson(*measurement) : nlohmann::ordered_json()}};
}

// A JSON number as the text an option reads: exact for whole numbers and for doubles alike.
std::string NumberText(const nlohmann::json& number) {
  if (number.is_number_unsigned()) return std::to_string(number.get<std::uint64_t>());
  if (number.is_number_integer()) return std::to_string(number.get<std::int64_t>());
  return runtime::ShortestText(number.get<double>());
}

// The option's value as text, checked to be of its kind.
std::string ValueText(const ParameterOption& option, const JsonFields& json) {
  const nlohmann::json& value = json.Value(option.name);
  if (option.kind == ValueKind::kWord) {
    if (!value.is_string()) throw FormatError(json.PathOf(option.name) + " must be a word");
    return value.get<std::string>();
  }
  if (!value.is_number()) throw FormatError(json.PathOf(option.name) + " must be a number");
  return NumberText(value);
}

void SetParameter(Parameters& parameters, const ParameterOption& option, const JsonFields& json) {
  // States made before a newer parameter existed lack it; so do those that keep its default.
  if (option.newer && !json.Has(option.name)) return;
  // A parameter that may be unset is written as null while it follows another.
  if (json.Value(option.name).is_null() && option.isSet != nullptr) return;
  const std::string text = ValueText(option, json);
  if (!option.set(parameters, text)) {
    throw FormatError(json.PathOf(option.name) + " must be " + std::string(option.valid) +
                      ", not " + Printable(text, runtime::kQuotedField));
  }
}

Parameters ReadParameters(const JsonFields& json) {
  std::vector<std::string_view> names;
  for (const ParameterOption& option : ParameterOptions()) names.push_back(option.name);
  json.Only(names);
  Parameters parameters;
  for (const ParameterOption& option : ParameterOptions()) SetParameter(parameters, option, json);
  return parameters;
}

ResponseHistory::Saved ReadHistory(const JsonFields& json, int tau) {
  json.Only({"count", "sinceRefresh", "sum", "peak", "squares"});
  ResponseHistory::Saved history;
  history.squares = json.Reals("squares");
  if (history.squares.size() > static_cast<std::size_t>(tau)) {
    throw FormatError(json.PathOf("squares") + " holds " + std::to_string(history.squares.size()) +
                      " responses, more than tau (" + std::to_string(tau) + ")");
  }
  history.length = json.Whole("count", std::numeric_limits<std::uint64_t>::max());
  if (history.length < history.squares.size()) {
    throw FormatError(json.PathOf("count") + " is " + std::to_string(history.length) +
                      ", fewer than the " + std::to_string(history.squares.size()) +
                      " responses kept");
  }
  history.sum = json.Real("sum");
  history.peak = json.Real("peak");
  history.sinceRefresh =
      static_cast<int>(json.Whole("sinceRefresh", std::numeric_limits<int>::max()));
  return history;
}

BCMNeuron::Saved ReadNeuron(const JsonFields& json, const Parameters& parameters) {
  json.Only({"theta", "yLeft", "yRight", "weights", "history"});
  BCMNeuron::Saved neuron;
  neuron.theta = json.Real("theta");
  neuron.yLeft = json.Real("yLeft");
  neuron.yRight = json.Real("yRight");
  neuron.weights = json.Reals("weights");
  if (neuron.weights.size() != static_cast<std::size_t>(parameters.inputs)) {
    throw FormatError(json.PathOf("weights") + " holds " + std::to_string(neuron.weights.size()) +
                      " numbers, not " + std::to_string(parameters.inputs));
  }
  neuron.history = ReadHistory(json.Object("history"), parameters.tau);
  return neuron;
}

// Read before anything else, so that a later version's state is named as such, not as a shape
// this version does not know.
std::uint64_t CheckFormat(const JsonFields& state) {
  const std::string format = state.Text("format");
  if (format != kFormat) {
    throw FormatError("not a state of this program: its format is \"" +
                      Printable(format, runtime::kQuotedField) + "\", not \"" +
                      std::string(kFormat) + "\"");
  }
  const std::uint64_t version = state.Whole("version", std::numeric_limits<std::uint64_t>::max());
  if (version < kClassicVersion || version > kLatestVersion) {
    throw FormatError("a state of version " + std::to_string(version) +
                      ", which this program cannot read: it reads versions " +
                      std::to_string(kClassicVersion) + " to " + std::to_string(kLatestVersion));
  }
  return version;
}

runtime::Pcg32 ReadStream(const JsonFields& json) {
  json.Only({"state", "increment"});
  const std::uint64_t most = std::numeric_limits<std::uint64_t>::max();
  const std::uint64_t increment = json.Whole("increment", most);
  // An even increment is no stream pcg32 makes: the file was edited or damaged.
  if (increment % 2 == 0) {
    throw FormatError(json.PathOf("increment") + " must be odd, not " + std::to_string(increment));
  }
  return runtime::Pcg32::Continuing(json.Whole("state", most), increment);
}

// Sets saved's streams from the generator field of a state of this version.
void ReadGenerator(const JsonFields& state, std::uint64_t version, Simulation::Saved& saved) {
  if (version == kClassicVersion) {
    const auto classic = static_cast<std::uint32_t>(
        state.Whole("generator", std::numeric_limits<std::uint32_t>::max()));
    saved.generator = saved.measurement = runtime::Random(runtime::CRand(classic));
    return;
  }
  const JsonFields generator = state.Object("generator");
  generator.Only({"name", "training", "measurement"});
  if (const std::string name = generator.Text("name"); name != "pcg32") {
    throw FormatError(generator.PathOf("name") + " must be pcg32 (a classic state is version 1), " +
                      "not \"" + Printable(name) + "\"");
  }
  saved.generator = runtime::Random(ReadStream(generator.Object("training")));
  saved.measurement = runtime::Random(ReadStream(generator.Object("measurement")));
}
}  // namespace

nlohmann::ordered_json StateJson(const Simulation::Saved& saved) {
  const bool classic = saved.generator.Kind() == runtime::GeneratorKind::kClassic;
  return {{"format", kFormat},
          {"version", classic ? kClassicVersion : kLatestVersion},
          {"parameters", ParametersJson(saved.parameters)},
          {"eyes", {{"left", saved.left}, {"right", saved.right}}},
          {"generator", GeneratorJson(saved)},
          {"neuron", NeuronJson(saved.neuron)}};
}

Simulation::Saved SavedFromJson(const nlohmann::json& state) {
  const JsonFields fields(state, kStateJson);
  const std::uint64_t version = CheckFormat(fields);
  fields.Only({"format", "version", "parameters", "eyes", "generator", "neuron"});
  Simulation::Saved saved;
  saved.parameters = ReadParameters(fields.Object("parameters"));
  const JsonFields eyes = fields.Object("eyes");
  eyes.Only({"left", "right"});
  saved.left = eyes.Flag("left");
  saved.right = eyes.Flag("right");
  ReadGenerator(fields, version, saved);
  saved.neuron = ReadNeuron(fields.Object("neuron"), saved.parameters);
  return saved;
}
