#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "LogChoice.h"
#include "Parameters.h"
#include "Random.h"

// The orvel-batch command that replays a session's logs byte for byte, written down as the
// session goes, or why no command can: orvel-batch acts only between runs of exact lengths, and
// cannot change the parameters, the seed or the logging after its start.
class Replay {
 public:
  Replay(std::uint32_t seed, const Parameters& parameters, runtime::GeneratorKind generator);

  void SetLogs(LogChoice logs) { logs_ = logs; }
  // An action between two runs, as orvel-batch spells it ("check", "left=off", ...).
  void Add(std::string action);
  // A run of steps training steps; an empty one has no orvel-batch spelling.
  void AddRun(std::uint64_t steps);
  // A state was loaded from path between runs; the replay needs that file as it is now.
  void AddLoad(const std::string& path);
  // The first reason is the one told.
  void Impossible(const std::string& why);

  // The command, which writes its logs to folder, or nullopt when there is none; the reason
  // is then in WhyNot.
  std::optional<std::string> Command(const std::string& folder) const;
  std::string WhyNot() const;

 private:
  struct Loaded {
    std::string path;
    std::optional<std::size_t> contents;  // a hash of its bytes; none if unreadable
  };

  std::string start_;
  LogChoice logs_ = LogChoice::kAll;
  std::vector<std::string> actions_;
  std::vector<Loaded> loaded_;
  std::string whyNot_;
};

// word as one word of a POSIX shell's command line.
std::string ShellWord(const std::string& word);
