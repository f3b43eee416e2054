#include "CheckTable.h"

#include <cmath>

#include "Course.h"
#include "NumberText.h"

namespace {
std::string EyeColumns(const char* eye, std::size_t count) {
  std::string columns;
  for (std::size_t i = 0; i < count; ++i) columns += std::string(",") + eye + std::to_string(i);
  return columns;
}
}  // namespace

std::string CheckTableHeader() {
  return "check,steps,max_left,max_right,odi" + EyeColumns("left_", 12) + EyeColumns("right_", 12) +
         "\n";
}

std::string CheckTableRow(int check, std::uint64_t trainedSteps,
                          const std::optional<EyeMaxima>& logged,
                          const std::vector<ListingRow>& rows) {
  std::string line = std::to_string(check) + ',' + std::to_string(trainedSteps) + ',';
  if (logged) {
    line += runtime::ShortestText(logged->maxLeft) + ',' + runtime::ShortestText(logged->maxRight) +
            ',';
    const double odi = OcularDominance(logged->maxLeft, logged->maxRight);
    if (!std::isnan(odi)) line += runtime::ShortestText(odi);
  } else {
    line += ",,";
  }
  for (const ListingRow& row : rows) line += ',' + runtime::ShortestText(row.yLeft);
  for (const ListingRow& row : rows) line += ',' + runtime::ShortestText(row.yRight);
  return line + '\n';
}
