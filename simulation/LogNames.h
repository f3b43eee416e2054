#pragma once

#include <array>

// The names of the files a session writes, the one place they are typed: every reader and
// writer, and the scripts (grep for the quoted names), take them from here.

// The seven log files, in the order they are created.
inline constexpr std::array<const char*, 7> kLogNames = {
    "log.txt",         "log-learn.txt",  "log-left.txt",    "log-right.txt",
    "log-learn-2.txt", "log-left-2.txt", "log-right-2.txt",
};

// Beside the logs: one row of every logged step, and what made the session.
inline constexpr const char* kCourseName = "course.csv";
inline constexpr const char* kRunRecordName = "run.json";

// An ensemble unit's folder holds, besides a session's files, its listing, the listing's exact
// numbers and, written last, the marker that it is complete.
inline constexpr const char* kCheckListingName = "checks.txt";
inline constexpr const char* kCheckTableName = "checks.csv";
inline constexpr const char* kUnitCompleteName = "complete";

// The ensemble's folder: the command that made it, the summary of its units' checks, the numbers
// behind its course figure and, on request, every unit's course in one table.
inline constexpr const char* kEnsembleRecordName = "ensemble.json";
inline constexpr const char* kSummaryName = "summary.csv";
inline constexpr const char* kSpreadName = "spread.csv";
inline constexpr const char* kCoursesName = "courses.csv";
