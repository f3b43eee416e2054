#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "Action.h"

// A guided experiment: the actions of an action file, with the texts the window shows beside
// them. orvel-batch reads the same file for its actions alone.
//
//   lesson: TITLE      once, before any other line that is not a comment
//   phase: TITLE       a new phase begins
//   say: TEXT          what the phase does; another say: continues the paragraph, an empty one
//                      begins the next
//   watch: TEXT        what to look at while the phase plays
//   ask: QUESTION      a checkpoint: the lesson waits here for Continue
//   end: TEXT          the closing words, shown with the student's numbers
//   ACTION             any action word: run=N, check=NAME, right=off, closed-noise=0, ...
//
// A line that begins with # is a comment; after an action, # begins a comment too, while a text
// keeps its # as written.
struct Lesson {
  struct Phase {
    std::string title;
    std::vector<std::string> paragraphs;  // say:'s
    std::string watch;
  };
  // What the player meets next, in the file's order.
  struct Step {
    enum class Kind { kPhase, kAsk, kAct };
    Kind kind;
    std::size_t phase = 0;  // kPhase: which
    std::string question;   // kAsk
    Action action{};        // kAct
  };

  std::string title;
  std::vector<Phase> phases;
  std::vector<Step> steps;
  std::vector<std::string> ending;  // end:'s paragraphs

  std::vector<Action> Actions() const;
};

// The lesson in text, which name names in errors. Throws UsageError "NAME:LINE: why" on the first
// fault; a lesson must have its title and at least one run, unless it is read as an action file.
enum class LessonUse { kLesson, kActionFile };
Lesson ParseLesson(const std::string& text, const std::string& name,
                   LessonUse use = LessonUse::kLesson);

// The file at path, read as ParseLesson reads text; throws UsageError naming it.
Lesson ReadLessonFile(const std::string& path, LessonUse use = LessonUse::kLesson);
