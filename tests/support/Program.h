#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

// What a run of one of the real programs left: its exit status and both output streams.
struct Outcome {
  int status;
  std::string out;
  std::string err;
};

// Runs program with the arguments (shell words) in directory, capturing both output streams.
inline Outcome RunProgram(const std::string& program, const std::string& arguments,
                          const std::filesystem::path& directory) {
  const std::filesystem::path err = directory / ".." / (directory.filename().string() + ".err");
  const std::string command = "cd '" + directory.string() + "' && " + program + " " + arguments +
                              " 2>'" + err.string() + "'";
  Outcome outcome{};
  std::FILE* pipe = ::popen(command.c_str(), "r");
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
    outcome.out.append(buffer, n);
  }
  const int status = ::pclose(pipe);
  outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  std::ifstream in(err);
  std::ostringstream text;
  text << in.rdbuf();
  outcome.err = text.str();
  std::filesystem::remove(err);
  return outcome;
}

#ifdef ORVEL_BATCH
// Runs orvel-batch with the arguments, in directory.
inline Outcome RunBatch(const std::string& arguments, const std::filesystem::path& directory) {
  return RunProgram(ORVEL_BATCH, arguments, directory);
}
#endif
