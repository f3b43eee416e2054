#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "CourseRow.h"
#include "Read.h"

// course.csv, the course record: a header naming the columns, then one row of every logged step,
// every number in its shortest exact form. This is the format's one owner: its columns, the
// writer of its rows and their strict reader, so that what is written and what is read cannot
// drift apart.
namespace course_csv {

// A column as the course's values: its name, what its numbers are, and its value in a row.
enum class ColumnKind { kCount, kTick, kReal };
struct ColumnValue {
  const char* name;
  ColumnKind kind;
  double (*of)(const CourseRow& row);
};
// Every column, in the file's order: for who wants the course as columns, not rows.
std::vector<ColumnValue> ColumnValues();

// "run,step,trained_steps,...,mean_weight_right\n"
std::string Header();

// A row, with its newline.
void AppendRow(std::string& text, const CourseRow& row);

// The rows of course.csv text, checked whole: its header, then whole rows, each exactly as
// AppendRow writes the numbers it holds (which checks the ocular dominance too). Else the first
// fault, in one line. Never throws.
runtime::Read<std::vector<CourseRow>> ReadRows(std::string_view text);

// The same for the file at path; the reason does not name the file, which the caller knows.
runtime::Read<std::vector<CourseRow>> ReadRowsFile(const std::string& path);

}  // namespace course_csv
