#include "Lesson.h"

#include <algorithm>
#include <optional>
#include <sstream>

#include "CommandLine.h"
#include "Printable.h"
#include "RegularFile.h"

namespace {
// A lesson or an action file lists a line each; a megabyte holds tens of thousands of them.
constexpr std::size_t kMaxLessonBytes = 1 << 20;

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

struct TextLine {
  std::string key;  // "say", ...
  std::string text;
};

// line as one of a lesson's texts, or none when it is an action, a comment or blank.
std::optional<TextLine> TextOf(const std::string& line) {
  static constexpr const char* kKeys[] = {"lesson", "phase", "say", "watch", "ask", "end"};
  const std::string trimmed = Trimmed(line);
  const auto colon = trimmed.find(':');
  if (colon == std::string::npos) return std::nullopt;
  const std::string key = trimmed.substr(0, colon);
  if (std::find(std::begin(kKeys), std::end(kKeys), key) == std::end(kKeys)) return std::nullopt;
  return TextLine{key, Trimmed(trimmed.substr(colon + 1))};
}

// Texts that continue are joined by a blank; an empty one begins a new paragraph.
void Continue(std::vector<std::string>& paragraphs, const std::string& text) {
  if (text.empty() || paragraphs.empty() || paragraphs.back().empty()) {
    paragraphs.push_back(text);
  } else {
    paragraphs.back() += ' ' + text;
  }
}

class LessonReader {
 public:
  explicit LessonReader(LessonUse use) : use_(use) {}

  // Throws UsageError, without the line's place, on a fault.
  void Read(const std::string& line) {
    if (const std::optional<TextLine> text = TextOf(line)) {
      Text(*text);
    } else if (const std::string word = Trimmed(line.substr(0, line.find('#'))); !word.empty()) {
      if (word.front() == '@') throw UsageError("an action file cannot name another");
      begun_ = true;
      lesson_.steps.push_back({Lesson::Step::Kind::kAct, 0, "", ParseAction(word)});
    }
  }

  // Throws UsageError, naming no line, when the whole is not a lesson.
  Lesson Finish() {
    if (use_ == LessonUse::kActionFile) return std::move(lesson_);
    if (lesson_.title.empty()) throw UsageError("a lesson begins with lesson: TITLE");
    const auto runs = [](const Lesson::Step& step) {
      return step.kind == Lesson::Step::Kind::kAct && step.action.kind == Action::Kind::Run;
    };
    if (std::none_of(lesson_.steps.begin(), lesson_.steps.end(), runs)) {
      throw UsageError("a lesson needs at least one run=N");
    }
    while (!lesson_.ending.empty() && lesson_.ending.back().empty()) lesson_.ending.pop_back();
    return std::move(lesson_);
  }

 private:
  void Text(const TextLine& line) {
    const bool empty = line.text.empty();
    if (line.key == "lesson") {
      if (begun_) throw UsageError("lesson: comes first, and once");
      if (empty) throw UsageError("lesson: needs a title");
      lesson_.title = line.text;
    } else if (line.key == "end") {
      Continue(lesson_.ending, line.text);
    } else if (line.key == "phase" || line.key == "ask") {
      if (empty) throw UsageError(line.key + ": needs its text");
      line.key == "phase" ? Phase(line.text) : Ask(line.text);
    } else {
      PhaseText(line);
    }
    begun_ = true;
  }

  void Phase(const std::string& title) {
    lesson_.steps.push_back({Lesson::Step::Kind::kPhase, lesson_.phases.size(), "", {}});
    lesson_.phases.push_back({title, {}, ""});
  }

  // Questions that follow one another make one checkpoint.
  void Ask(const std::string& question) {
    if (!lesson_.steps.empty() && lesson_.steps.back().kind == Lesson::Step::Kind::kAsk) {
      lesson_.steps.back().question += ' ' + question;
    } else {
      lesson_.steps.push_back({Lesson::Step::Kind::kAsk, 0, question, {}});
    }
  }

  void PhaseText(const TextLine& line) {
    if (lesson_.phases.empty()) {
      throw UsageError(line.key + ": belongs to a phase: write phase: TITLE before it");
    }
    Lesson::Phase& phase = lesson_.phases.back();
    if (line.key == "say") {
      Continue(phase.paragraphs, line.text);
    } else if (line.text.empty()) {
      throw UsageError("watch: needs its text");
    } else {
      phase.watch += (phase.watch.empty() ? "" : " ") + line.text;
    }
  }

  LessonUse use_;
  Lesson lesson_;
  bool begun_ = false;
};
}  // namespace

std::vector<Action> Lesson::Actions() const {
  std::vector<Action> actions;
  for (const Step& step : steps) {
    if (step.kind == Step::Kind::kAct) actions.push_back(step.action);
  }
  return actions;
}

Lesson ParseLesson(const std::string& text, const std::string& name, LessonUse use) {
  LessonReader reader(use);
  std::istringstream lines(text);
  std::string line;
  int number = 1;
  for (; std::getline(lines, line); ++number) {
    const std::string where = runtime::Printable(name) + ":" + std::to_string(number) + ": ";
    if (number == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
    if (!runtime::IsUtf8(line))
      throw UsageError(where + "not UTF-8 text: " + runtime::Printable(line));
    if (Trimmed(line).rfind('#', 0) == 0) continue;
    try {
      reader.Read(line);
    } catch (const UsageError& fault) {
      throw UsageError(where + fault.what());
    }
  }
  try {
    return reader.Finish();
  } catch (const UsageError& fault) {
    throw UsageError(runtime::Printable(name) + ": " + fault.what());
  }
}

Lesson ReadLessonFile(const std::string& path, LessonUse use) {
  const bool lesson = use == LessonUse::kLesson;
  std::string problem;
  const std::optional<std::string> text = runtime::ReadRegularFile(
      path, kMaxLessonBytes, lesson ? "a lesson" : "an action file", problem);
  if (!text) {
    throw UsageError((lesson ? "lesson " : "action file ") + runtime::Printable(path) + ": " +
                     problem);
  }
  return ParseLesson(*text, path, use);
}
