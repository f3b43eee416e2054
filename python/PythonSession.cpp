#include "PythonSession.h"

#include "BatchOptions.h"
#include "CourseColumns.h"
#include "ParameterKeywords.h"
#include "PythonErrors.h"

namespace py = pybind11;

namespace {
// In run.json and at the start of every message on standard error.
constexpr const char* kProgram = "orvel.Session";

SessionFiles FilesFor(const std::optional<std::string>& logs) {
  if (!logs) return {"", kProgram, false, std::nullopt, LogChoice::kNone};
  CheckWritableFolder(*logs);
  return {*logs, kProgram, true, std::nullopt, LogChoice::kAll};
}
}  // namespace

PythonSession::PythonSession(std::uint32_t seed, const Parameters& parameters,
                             const std::optional<std::string>& logs,
                             runtime::GeneratorKind generator)
    : session_(seed, parameters, generator), host_(session_), logging_(logs.has_value()) {
  // As orvel-batch's start-up.
  host_.ShowNeuron(session_.simulation().neuron());
  session_.onCourseRow = [this](const CourseRow& row) { course_.push_back(row); };
  host_.interrupted = [this] { return interruption_.Poll(); };
  session_.OpenFiles(FilesFor(logs));
}

void PythonSession::CheckIdle() const {
  if (running_) throw std::runtime_error("the session is running in another thread");
  if (closed_) throw std::runtime_error("the session is closed");
}

void PythonSession::Run(std::int64_t steps) {
  CheckIdle();
  if (steps < 1) {
    throw py::value_error("run needs a whole number of steps >= 1, not " + std::to_string(steps));
  }
  interruption_.Start();
  running_ = true;
  {
    struct Idle {
      std::atomic<bool>& running;
      ~Idle() { running = false; }
    } idle{running_};
    const py::gil_scoped_release released;
    host_.Run(steps, nullptr, "");
    // Whenever run() returns, interrupted or not, the files hold every logged step.
    if (logging_) session_.Logs()->Flush();
  }
  interruption_.RaisePending();
  if (const auto& diverged = session_.simulation().diverged()) {
    const py::object type = py::module_::import("orvel").attr("Diverged");
    const py::object error = type(DivergenceText(*diverged) + ": reset() draws a fresh neuron");
    error.attr("step") = diverged->step;
    PyErr_SetObject(type.ptr(), error.ptr());
    throw py::error_already_set();
  }
}

void PythonSession::SetEyes(bool left, bool right) {
  CheckIdle();
  session_.SetEyes(left, right);
}

void PythonSession::Reset() {
  CheckIdle();
  session_.ResetWeights();
  host_.ShowNeuron(session_.simulation().neuron());
}

py::array_t<double> PythonSession::Check() {
  CheckIdle();
  const std::vector<ListingRow> rows = session_.Check();
  py::array_t<double> table({static_cast<py::ssize_t>(rows.size()), py::ssize_t{3}});
  auto cells = table.mutable_unchecked<2>();
  for (py::ssize_t i = 0; i < cells.shape(0); ++i) {
    const ListingRow& row = rows[static_cast<std::size_t>(i)];
    cells(i, 0) = row.yLeft;
    cells(i, 1) = row.yRight;
    cells(i, 2) = row.y;
  }
  return table;
}

py::array_t<double> PythonSession::Weights() const {
  CheckIdle();
  const std::vector<double>& weights = session_.simulation().neuron().Weights();
  return py::array_t<double>(static_cast<py::ssize_t>(weights.size()), weights.data());
}

double PythonSession::Theta() const {
  CheckIdle();
  return session_.simulation().neuron().Theta();
}

std::uint64_t PythonSession::TrainedSteps() const {
  CheckIdle();
  return session_.simulation().trainedSteps();
}

py::dict PythonSession::ParameterValues() const {
  CheckIdle();
  return ::ParameterValues(session_.simulation().parameters());
}

py::dict PythonSession::Course() const {
  CheckIdle();
  return CourseColumns(course_);
}

void PythonSession::Save(const std::string& path) const {
  CheckIdle();
  std::string error;
  if (!session_.SaveState(path, error)) RaiseOSError("cannot save " + path + ": " + error, path);
}

// As orvel-batch's load= with --override-parameters and the overrides as its options.
void PythonSession::Restore(const std::string& path, const py::kwargs& overrides) {
  CheckIdle();
  BatchOptions options;
  options.overrideParameters = true;
  SetFromKeywords(options.parameters, overrides, &options.givenParameters);
  CheckReadableFile(path);
  const std::string problem = session_.LoadState(path, [&options](const Simulation::Saved& saved) {
    return ParametersAfterLoad(saved, options);
  });
  if (!problem.empty()) throw py::value_error(path + ": " + problem);
  host_.ShowNeuron(session_.simulation().neuron());
}

void PythonSession::Close() {
  if (running_) throw std::runtime_error("the session is running in another thread");
  closed_ = true;
  session_.Close();
}
