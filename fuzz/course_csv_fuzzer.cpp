// Feeds arbitrary bytes to the course.csv reader: whatever they are, it must give rows that the
// writer writes back to exactly those bytes, or a one-line reason; never end the process, throw,
// read out of bounds or leak.
#include "CourseCsv.h"
#include "OneLine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const runtime::Read<std::vector<CourseRow>> rows = course_csv::ReadRows(TextOf(data, size));
  TrapUnlessValueOrOneLine(rows);
  if (!rows) return 0;
  std::string written = course_csv::Header();
  for (const CourseRow& row : *rows) course_csv::AppendRow(written, row);
  if (written != TextOf(data, size)) __builtin_trap();
  return 0;
}
