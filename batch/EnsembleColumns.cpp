#include "EnsembleColumns.h"

std::string ParameterColumn(const ParameterOption& option) {
  std::string name(option.name);
  for (char& c : name) c = c == '-' ? '_' : c;
  return name;
}

std::string ListedHeader(const EnsemblePlan& plan) {
  std::string header;
  for (const ListedParameter& listed : plan.Listed())
    header += ParameterColumn(*listed.option) + ',';
  return header + "generator,";
}

std::string ListedValues(const BatchOptions& options, std::size_t unit) {
  const EnsemblePlan& plan = options.ensemble->plan;
  const EnsembleUnit of = plan.Unit(unit);
  const Parameters parameters = plan.ParametersOf(of, options.parameters);
  std::string values;
  for (const ListedParameter& listed : plan.Listed())
    values += listed.option->get(parameters) + ',';
  return values + std::string(runtime::GeneratorName(of.generator)) + ',';
}
