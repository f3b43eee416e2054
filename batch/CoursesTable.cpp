#include "CoursesTable.h"

#include "CourseCsv.h"
#include "EnsembleColumns.h"
#include "LogNames.h"
#include "WholeFile.h"

bool WriteCoursesTable(const BatchOptions& options, const UnitStates& units,
                       std::vector<std::string>& damaged, std::string& error) {
  const EnsemblePlan& plan = options.ensemble->plan;
  std::string table = ListedHeader(plan) + "seed," + course_csv::Header();
  std::string row;
  for (std::size_t index = 0; index < units.complete.size(); ++index) {
    if (!units.complete[index]) continue;
    const std::string path = UnitFolder(options, index) + "/" + kCourseName;
    const runtime::Read<std::vector<CourseRow>> course = course_csv::ReadRowsFile(path);
    if (!course) {
      damaged.push_back(path + ": " + course.Error());
      continue;
    }
    const std::string unit =
        ListedValues(options, index) + std::to_string(plan.Unit(index).seed) + ',';
    for (const CourseRow& values : *course) {
      row.clear();
      course_csv::AppendRow(row, values);
      table.append(unit).append(row);
    }
  }
  return runtime::WriteWholeFile(options.directory + "/" + kCoursesName, table, error);
}
