#include "EnsemblePlan.h"

#include <algorithm>

#include "CommandLine.h"

EnsemblePlan::EnsemblePlan(std::vector<ListedParameter> listed,
                           std::vector<runtime::GeneratorKind> generators,
                           std::vector<std::uint32_t> seeds, std::vector<Protocol> protocols)
    : listed_(std::move(listed)),
      generators_(std::move(generators)),
      seeds_(std::move(seeds)),
      protocols_(std::move(protocols)) {
  for (const ListedParameter& parameter : listed_) groups_ *= parameter.values.size();
  groups_ *= generators_.size() * std::max<std::size_t>(protocols_.size(), 1);
}

const Protocol* EnsemblePlan::ProtocolOf(std::size_t group) const {
  if (protocols_.empty()) return nullptr;
  return &protocols_[group / (groups_ / protocols_.size())];
}

runtime::GeneratorKind EnsemblePlan::GeneratorOf(std::size_t group) const {
  return generators_[group % generators_.size()];
}

std::vector<std::string> EnsemblePlan::ValuesOf(std::size_t group) const {
  group /= generators_.size();
  std::vector<std::string> values(listed_.size());
  for (std::size_t i = listed_.size(); i-- > 0;) {
    const std::vector<std::string>& choices = listed_[i].values;
    values[i] = choices[group % choices.size()];
    group /= choices.size();
  }
  return values;
}

EnsembleUnit EnsemblePlan::Unit(std::size_t index) const {
  const std::size_t group = index / seeds_.size();
  return {group, seeds_[index % seeds_.size()], ValuesOf(group), GeneratorOf(group),
          ProtocolOf(group)};
}

Parameters EnsemblePlan::ParametersOf(const EnsembleUnit& unit, const Parameters& base) const {
  Parameters parameters = base;
  for (std::size_t i = 0; i < listed_.size(); ++i) {
    SetParameter(parameters, *listed_[i].option, unit.values[i]);
  }
  return parameters;
}

std::string EnsemblePlan::GroupName(std::size_t group) const {
  const std::vector<std::string> values = ValuesOf(group);
  const Protocol* protocol = ProtocolOf(group);
  std::string name = protocol ? "protocol=" + protocol->name : "";
  for (std::size_t i = 0; i < listed_.size(); ++i) {
    name += std::string(name.empty() ? "" : ",") + std::string(listed_[i].option->name) + "=" +
            values[i];
  }
  if (GeneratorListed()) {
    name += std::string(name.empty() ? "" : ",") +
            "generator=" + std::string(runtime::GeneratorName(GeneratorOf(group)));
  }
  return name;
}

std::string EnsemblePlan::FolderOf(const EnsembleUnit& unit) const {
  const std::string group = GroupName(unit.group);
  return (group.empty() ? "" : group + "/") + "seed-" + std::to_string(unit.seed);
}
