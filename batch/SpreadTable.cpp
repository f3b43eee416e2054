#include "SpreadTable.h"

#include <cmath>

#include "EnsembleColumns.h"
#include "LogNames.h"
#include "NumberText.h"
#include "WholeFile.h"

namespace {
struct Quantity {
  const char* name;
  Spread EnsemblePoint::*spread;
};

constexpr Quantity kQuantities[] = {
    {"max_left", &EnsemblePoint::maxLeft},
    {"max_right", &EnsemblePoint::maxRight},
    {"ocular_dominance", &EnsemblePoint::odi},
    {"theta", &EnsemblePoint::theta},
    {"mean_weight_left", &EnsemblePoint::meanWeightLeft},
    {"mean_weight_right", &EnsemblePoint::meanWeightRight},
};

// A number, or an empty field for none.
std::string Field(double value) {
  return std::isfinite(value) ? runtime::ShortestText(value) : "";
}

// n, mean, sd and sem; a lone value has no spread to tell.
std::string SpreadFields(const Spread& spread) {
  const bool spreads = spread.count > 1;
  const double sem = spread.deviation / std::sqrt(static_cast<double>(spread.count));
  return std::to_string(spread.count) + ',' + Field(spread.mean) + ',' +
         (spreads ? Field(spread.deviation) : "") + ',' + (spreads ? Field(sem) : "");
}
}  // namespace

bool WriteSpreadTable(const BatchOptions& options, const EnsembleCourse& course,
                      std::string& error) {
  const EnsemblePlan& plan = options.ensemble->plan;
  std::string table = ListedHeader(plan) + "trained_steps,quantity,n,mean,sd,sem\n";
  for (const EnsembleGroup& group : course.groups) {
    const std::string listed = ListedValues(options, group.colour * plan.SeedsPerGroup());
    for (const EnsemblePoint& point : group.points) {
      const std::string rowStart = listed + std::to_string(point.totalSteps) + ',';
      for (const Quantity& quantity : kQuantities) {
        table += rowStart + quantity.name + ',' + SpreadFields(point.*quantity.spread) + '\n';
      }
    }
  }
  return runtime::WriteWholeFile(options.directory + "/" + kSpreadName, table, error);
}
