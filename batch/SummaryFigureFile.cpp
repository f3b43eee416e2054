#include "SummaryFigureFile.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "CourseChart.h"
#include "EnsembleColumns.h"
#include "LogNames.h"
#include "NumberText.h"

namespace {
constexpr const char* kValueColumn = "listing_odi";

struct Column {
  const std::vector<double>* numbers;
  const std::vector<std::string>* words;
  std::string Text(std::size_t row) const {
    return words->empty() ? runtime::ShortestText((*numbers)[row]) : (*words)[row];
  }
};

Column ColumnOf(const SummaryTable& table, const std::string& name) {
  const auto found = std::find(table.names.begin(), table.names.end(), name);
  const auto index = static_cast<std::size_t>(found - table.names.begin());
  return {&table.columns.at(index), &table.words.at(index)};
}

std::size_t PlaceOf(std::vector<std::string>& names, const std::string& name) {
  const auto found = std::find(names.begin(), names.end(), name);
  if (found != names.end()) return static_cast<std::size_t>(found - names.begin());
  names.push_back(name);
  return names.size() - 1;
}

double Mean(const std::vector<double>& values) {
  double sum = 0.0;
  for (const double value : values) sum += value;
  return sum / static_cast<double>(values.size());
}

double Deviation(const std::vector<double>& values, double mean) {
  if (values.size() < 2) return 0.0;
  double squares = 0.0;
  for (const double value : values) squares += (value - mean) * (value - mean);
  return std::sqrt(squares / static_cast<double>(values.size() - 1));
}

double HalfBar(const std::vector<double>& values, double mean, ErrorBars bars) {
  const double deviation = Deviation(values, mean);
  if (bars == ErrorBars::kSd || values.size() < 2) return deviation;
  const double sem = deviation / std::sqrt(static_cast<double>(values.size()));
  return bars == ErrorBars::kSem ? sem : StudentT975(values.size() - 1) * sem;
}

// The listed parameter along the x axis: the first that takes numbers; none makes a strip plot.
const ParameterOption* XParameter(const EnsemblePlan& plan) {
  for (const ListedParameter& listed : plan.Listed()) {
    if (listed.option->kind != ValueKind::kWord) return listed.option;
  }
  return nullptr;
}

// The lists whose combinations make the lines: the protocols, every listed parameter but the
// x axis's, and the generator when it is listed.
std::vector<std::pair<std::string, Column>> LineLists(const BatchOptions& options,
                                                      const SummaryTable& table) {
  const EnsemblePlan& plan = options.ensemble->plan;
  std::vector<std::pair<std::string, Column>> lists;
  if (!plan.Protocols().empty()) lists.emplace_back("protocol", ColumnOf(table, "protocol"));
  const ParameterOption* x = XParameter(plan);
  for (const ListedParameter& listed : plan.Listed()) {
    if (listed.option == x) continue;
    lists.emplace_back(listed.option->name, ColumnOf(table, ParameterColumn(*listed.option)));
  }
  if (plan.GeneratorListed()) lists.emplace_back("generator", ColumnOf(table, "generator"));
  return lists;
}

std::string Caption(const std::vector<std::size_t>& counts, ErrorBars bars) {
  const auto [fewest, most] = std::minmax_element(counts.begin(), counts.end());
  const std::string range = *fewest == *most
                                ? std::to_string(*most)
                                : std::to_string(*fewest) + "\u2013" + std::to_string(*most);
  const char* spread = bars == ErrorBars::kSd    ? "SD"
                       : bars == ErrorBars::kSem ? "SEM"
                                                 : "95% CI (t)";
  return range + (*most == 1 ? " unit" : " units") + " per point (summary.csv), mean \u00b1 " +
         spread;
}
}  // namespace

double StudentT975(std::size_t degrees) {
  static constexpr double kTable[] = {12.706, 4.303, 3.182, 2.776, 2.571, 2.447, 2.365, 2.306,
                                      2.262,  2.228, 2.201, 2.179, 2.160, 2.145, 2.131, 2.120,
                                      2.110,  2.101, 2.093, 2.086, 2.080, 2.074, 2.069, 2.064,
                                      2.060,  2.056, 2.052, 2.048, 2.045, 2.042};
  if (degrees <= std::size(kTable)) return kTable[degrees - 1];
  // Beyond the table, the normal quantile's Cornish-Fisher expansion is good to 1e-4.
  const double z = 1.959964, n = static_cast<double>(degrees);
  return z + (z * z * z + z) / (4 * n) +
         (5 * std::pow(z, 5) + 16 * z * z * z + 3 * z) / (96 * n * n);
}

SummaryPlot SummaryPlotOf(const BatchOptions& options, const SummaryTable& table) {
  const EnsemblePlan& plan = options.ensemble->plan;
  SummaryPlot plot;
  plot.valueTitle = "ocular dominance of the listing";
  const ParameterOption* xParameter = XParameter(plan);
  const bool strip = xParameter == nullptr;
  if (!strip) plot.xTitle = xParameter->name;
  const Column checks = ColumnOf(table, "check"), values = ColumnOf(table, kValueColumn);
  const Column x = strip ? Column{} : ColumnOf(table, ParameterColumn(*xParameter));
  const auto lists = LineLists(options, table);
  std::vector<std::string> checkNames;
  // check, line, x: the values of one point
  std::map<std::tuple<std::size_t, std::size_t, double>, std::vector<double>> points;
  for (std::size_t row = 0; row < values.numbers->size(); ++row) {
    const double value = (*values.numbers)[row];
    if (std::isnan(value)) continue;
    std::string label;
    for (const auto& [name, column] : lists) {
      label += (label.empty() ? "" : ",") + name + '=' + column.Text(row);
    }
    const std::size_t check = PlaceOf(checkNames, checks.Text(row));
    const std::size_t line = PlaceOf(plot.lineLabels, label);
    points[{check, line, strip ? 0.0 : (*x.numbers)[row]}].push_back(value);
  }
  for (const std::string& name : checkNames) {
    plot.panels.push_back({name, {}});
    for (const std::string& label : plot.lineLabels)
      plot.panels.back().lines.push_back({label, {}});
  }
  std::vector<std::size_t> counts;
  for (const auto& [key, units] : points) {
    const auto& [check, line, at] = key;
    const double mean = Mean(units);
    plot.panels[check].lines[line].points.push_back(
        {at, mean, HalfBar(units, mean, options.ensemble->errorBars), units});
    counts.push_back(units.size());
  }
  if (!counts.empty()) plot.caption = Caption(counts, options.ensemble->errorBars);
  return plot;
}

bool WriteSummaryFigure(const BatchOptions& options, std::string& error) {
  const runtime::Read<SummaryTable> table =
      ReadEnsembleSummaryFile(options.directory + "/" + kSummaryName);
  if (!table) {
    error = std::string(kSummaryName) + ": " + table.Error();
    return false;
  }
  // One written before these columns were (a summary.csv this run could not replace) has nothing
  // to draw.
  for (const char* needed : {"check", kValueColumn}) {
    if (std::find(table->names.begin(), table->names.end(), needed) == table->names.end()) {
      error = std::string(kSummaryName) + " has no " + needed + " column";
      return false;
    }
  }
  const SummaryPlot plot = SummaryPlotOf(options, *table);
  if (plot.caption.empty()) return true;
  const std::string path = options.directory + "/summary." + options.ensemble->courseFormat;
  return WriteSummaryChart(plot, path, options.courseWidth, options.courseHeight, error);
}
