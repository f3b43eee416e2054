#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "TempDir.h"

// Bad input, parsed in-process as a program would parse it in folder (a fresh empty one unless
// given): parse must throw a UsageError of one line naming what is wrong, and leave folder as it
// was. The arguments are written with spaces between them. The programs print the message and
// exit with status 2; command_line_test runs them to see that they do.
template <class Parse>
void ExpectRefused(Parse parse, const std::string& arguments, const std::string& named,
                   std::filesystem::path folder = {}) {
  const TempDir fresh;
  if (folder.empty()) folder = fresh.path();
  std::vector<std::string> words;
  std::istringstream in(arguments);
  for (std::string word; in >> word;) words.push_back(word);
  const auto entries = [&folder] {
    return std::distance(std::filesystem::directory_iterator(folder), {});
  };
  const auto before = entries();
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(folder);
  std::string message;
  try {
    parse(words);
    ADD_FAILURE() << arguments << " was accepted";
  } catch (const UsageError& error) {
    message = error.what();
  }
  std::filesystem::current_path(previous);
  EXPECT_NE(message.find(named), std::string::npos) << arguments << ": " << message;
  EXPECT_EQ(message.find('\n'), std::string::npos) << arguments << ": " << message;
  EXPECT_EQ(entries(), before) << arguments << " wrote a file";
}

// Damaged texts, each refused by read with a reason of one line that contains what its row names.
template <class Read>
void ExpectEachRefused(Read read, const std::vector<std::pair<std::string, std::string>>& damaged) {
  for (const auto& [text, named] : damaged) {
    const std::string reason = read(text).Error();
    EXPECT_NE(reason.find(named), std::string::npos) << named << " / " << reason;
    EXPECT_EQ(reason.find('\n'), std::string::npos) << reason;
  }
}
