// Feeds arbitrary bytes to the lesson reader, which also reads every action file: whatever they
// are, it must give a lesson whose steps it can play, or throw a UsageError of one line; never
// end the process, read out of bounds or leak.
#include <string>

#include "CommandLine.h"
#include "Lesson.h"
#include "OneLine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  for (const LessonUse use : {LessonUse::kLesson, LessonUse::kActionFile}) {
    try {
      const Lesson lesson = ParseLesson(std::string(TextOf(data, size)), "fuzz.txt", use);
      for (const Lesson::Step& step : lesson.steps) {
        if (step.kind == Lesson::Step::Kind::kPhase && step.phase >= lesson.phases.size()) {
          __builtin_trap();
        }
      }
    } catch (const UsageError& fault) {
      if (std::string(fault.what()).find('\n') != std::string::npos) __builtin_trap();
    }
  }
  return 0;
}
