#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Divergence.h"
#include "LogChoice.h"
#include "Parameters.h"
#include "Random.h"
#include "Read.h"

// run.json beside the logs: what made this session's logs, so that anyone can tell and repeat
// it. It is written at start-up and rewritten whole at every action or run boundary: the
// program, its version, the seed, the generator, every parameter, the log folder, the start time,
// and the session's events, each at the session's training step it happened after. The record's
// keys are this class's alone: it writes them, and ReadRunEvents below reads them back.
class RunRecord {
 public:
  struct Event {
    std::uint64_t at;  // training steps of the session before it
    // "run", "eyes", "reset", "load", "parameters", "seed", "generator", "logs" or "diverged"
    std::string kind;
    int run = 0;                       // run: its number
    bool left = true, right = true;    // eyes: the boxes from now on
    std::string file;                  // load: the state file
    LogChoice logs = LogChoice::kAll;  // logs: what is written from now on
    std::optional<Parameters> parameters =
        std::nullopt;        // parameters: every one of them from now on
    std::uint32_t seed = 0;  // seed: the generator's new seed
    // generator: the generator from now on
    runtime::GeneratorKind generator = runtime::GeneratorKind::kClassic;
    std::string quantity = {}, value = {};  // diverged: which became what ("threshold", "inf")
  };

  // Writes nothing yet; Save does.
  RunRecord(std::string folder, std::string program, std::uint32_t seed,
            const Parameters& parameters,
            runtime::GeneratorKind generator = runtime::GeneratorKind::kClassic);

  // orvel-batch: the actions as given on its command line.
  void SetActions(std::vector<std::string> actions) { actions_ = std::move(actions); }
  // What the session writes from its start; recorded unless all.
  void SetLogs(LogChoice logs) { logs_ = logs; }
  void NoteLogs(std::uint64_t at, LogChoice logs) {
    events_.push_back({at, "logs", 0, true, true, "", logs});
  }
  void NoteRun(std::uint64_t at, int run) { events_.push_back({at, "run", run, true, true, ""}); }
  // Noted only when the boxes differ from the last noted ones.
  void NoteEyes(std::uint64_t at, bool left, bool right);
  void NoteReset(std::uint64_t at) { events_.push_back({at, "reset", 0, true, true, ""}); }
  void NoteLoad(std::uint64_t at, const std::string& file);
  // Noted with every value, only when they differ from the last noted ones; the top-level
  // parameters stay those the session started with.
  void NoteParameters(std::uint64_t at, const Parameters& parameters);
  void NoteSeed(std::uint64_t at, std::uint32_t seed);
  // at: the step that diverged.
  void NoteDivergence(const Divergence& divergence);
  // Noted only when it differs from the last noted one; the top-level generator stays the start's.
  void NoteGenerator(std::uint64_t at, runtime::GeneratorKind generator);

  const std::vector<Event>& Events() const { return events_; }

  // The record's text: JSON, ending in a newline.
  std::string Text() const;
  // Writes run.json whole; false with a one-line reason in error.
  bool Save(std::string& error) const;

 private:
  std::string folder_;
  std::string program_;
  std::uint32_t seed_;
  runtime::GeneratorKind generator_;
  runtime::GeneratorKind notedGenerator_;
  Parameters parameters_;
  Parameters notedParameters_;
  std::string startTime_;
  std::vector<std::string> actions_;
  LogChoice logs_ = LogChoice::kAll;
  std::vector<Event> events_;
  bool left_ = true, right_ = true;
};

// A run record lists a session's actions and events; far more than any script holds.
inline constexpr std::size_t kMaxRunRecordBytes = std::size_t{64} << 20;

// The events of a run record's text, after checking the whole record against what Text writes:
// every key there and of its type, no other. Else what is wrong, in one line. Never throws.
runtime::Read<std::vector<RunRecord::Event>> ReadRunEvents(std::string_view text);

// The same for the file at path; the reason does not name the file, which the caller knows.
runtime::Read<std::vector<RunRecord::Event>> ReadRunEventsFile(const std::string& path);
