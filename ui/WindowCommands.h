#pragma once

#include <cstdint>
#include <string>

#include "Lesson.h"
#include "LogChoice.h"
#include "Settings.h"

// What the menu asks of the window beyond the session: the commands that show their results in
// the window, or that need a file once one is chosen. Each that needs a file reports a failure in
// a message and returns false.
class WindowCommands {
 public:
  virtual ~WindowCommands() = default;

  virtual void StartClick() = 0;
  virtual void StopClick() = 0;
  virtual void PauseClick() = 0;
  virtual void ResetWeightsClick() = 0;
  virtual void CheckItOutClick() = 0;
  // As the window's close button.
  virtual void Quit() = 0;

  virtual bool SavePictureTo(const std::string& path) = 0;
  virtual bool SaveStateTo(const std::string& path) = 0;
  // A bad file changes nothing; a good one continues, in a run if one is going.
  virtual bool OpenStateFrom(const std::string& path) = 0;
  virtual bool ExportCourseTo(const std::string& path) = 0;
  // Where the logs and run.json go: absolute, without a trailing slash.
  virtual const std::string& LogFolder() const = 0;
  // File → Logging: writes less from now on (see Session::NarrowLogs).
  virtual void NarrowLogs(LogChoice logs) = 0;

  // Training steps a second; 0 for as fast as the machine goes.
  virtual void SetSpeed(std::int64_t stepsPerSecond) = 0;
  virtual std::int64_t Speed() const = 0;

  // What the Parameters dialog shows and sets.
  virtual Settings CurrentSettings() const = 0;
  virtual void ApplySettings(const Settings& settings) = 0;

  // The Course window, opened on first use.
  virtual void ShowCourse() = 0;
  // Experiment → Lessons: plays lesson beside the window, in place of any lesson playing.
  virtual void PlayLesson(const Lesson& lesson) = 0;
  // View → Fit Weights: the weight plot at a scale that fits the weights, or the classic one.
  virtual void SetFitWeights(bool fitted) = 0;
};
