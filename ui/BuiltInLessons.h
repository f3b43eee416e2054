#pragma once

#include <string>
#include <vector>

#include "Lesson.h"

// The lessons that ship with the program, built into it, in their files' order (1-..., 2-...).
struct BuiltInLesson {
  std::string file;  // "2-monocular-deprivation.txt"
  Lesson lesson;
};
std::vector<BuiltInLesson> BuiltInLessons();
