#pragma once

#include <QList>
#include <array>
#include <cstdint>
#include <map>
#include <string>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;
class Session;
class WindowCommands;

// The window's menu bar: File, Run, Experiment, View and Help. Each command does what the
// matching button or command-line option does; the ones that need a file ask for it first.
class MainMenu {
 public:
  // window: the parent of the menu's dialogs.
  MainMenu(QMenuBar& bar, QWidget* window, WindowCommands& commands, const Session& session);

  // Ticks the Speed item of this many steps a second (0: Full).
  void ShowSpeed(std::int64_t stepsPerSecond);
  // Ticks View → Fit Weights, or unticks it, as a click would.
  void FitWeights(bool fitted);
  // The commands with a key, for the program's other windows to answer it too.
  QList<QAction*> ShortcutActions() const;

 private:
  void AddFile(QMenu& menu);
  void AddLogging(QMenu& file);
  // "all, 4.5 MB written so far"
  std::string LogsText() const;
  void AddRun(QMenu& menu);
  void AddSpeeds(QMenu& menu);
  void AddExperiment(QMenu& menu);
  void AddLessons(QMenu& menu);
  void AddView(QMenu& menu);
  void AddHelp(QMenu& menu);

  QMenuBar& bar_;
  QMenu* speedMenu_ = nullptr;
  QAction* fit_ = nullptr;
  QWidget* window_;
  WindowCommands& commands_;
  const Session& session_;
  std::map<std::int64_t, QAction*> speeds_;
  std::array<QAction*, 3> logChoices_{};  // All, Course only, None
};
