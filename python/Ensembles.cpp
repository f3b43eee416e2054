#include "Ensembles.h"

#include <vector>

#include <pybind11/stl.h>

#include "Batch.h"
#include "BatchOptions.h"
#include "BatchSession.h"
#include "CourseColumns.h"
#include "Ensemble.h"
#include "EnsembleSummary.h"
#include "Interruption.h"
#include "LogNames.h"
#include "ParameterKeywords.h"
#include "PythonErrors.h"
#include "WholeFile.h"

namespace py = pybind11;

namespace {
// A string as it is ("1-5,9"), a range as A-B, an int, or any other iterable of ints as A,B,C.
std::string SeedsText(py::handle seeds) {
  if (py::isinstance<py::str>(seeds) || PyIndex_Check(seeds.ptr()) != 0) return ValueText(seeds);
  if (py::isinstance(seeds, py::module_::import("builtins").attr("range"))) {
    const auto start = seeds.attr("start").cast<long long>();
    const auto stop = seeds.attr("stop").cast<long long>();
    if (seeds.attr("step").cast<long long>() == 1 && stop > start) {
      return std::to_string(start) + "-" + std::to_string(stop - 1);
    }
  }
  std::string text;
  for (py::handle seed : seeds) text += (text.empty() ? "" : ",") + ValueText(seed);
  return text;
}

// One value, or a list of them (which makes one unit per value), as the command line writes it.
std::string ValuesText(py::handle values) {
  if (py::isinstance<py::str>(values) || !py::isinstance<py::iterable>(values)) {
    return ValueText(values);
  }
  std::string text;
  for (py::handle value : values) text += (text.empty() ? "" : ",") + ValueText(value);
  return text;
}

// A path (str or os.PathLike), or a list of them, as --protocol writes them.
std::string PathsText(py::handle paths) {
  const py::object fspath = py::module_::import("os").attr("fspath");
  if (py::isinstance<py::str>(paths) || py::hasattr(paths, "__fspath__")) {
    return py::str(fspath(paths));
  }
  std::string text;
  for (py::handle path : paths)
    text += (text.empty() ? "" : ",") + py::str(fspath(path)).cast<std::string>();
  return text;
}

std::vector<std::string> ActionWords(py::handle actions) {
  if (py::isinstance<py::str>(actions)) {
    return actions.attr("split")().cast<std::vector<std::string>>();
  }
  return actions.cast<std::vector<std::string>>();
}

std::vector<std::string> CommandLine(const std::string& folder, py::handle seeds,
                                     py::handle actions, py::handle jobs, py::handle shard,
                                     const std::string& logs, bool force,
                                     const py::kwargs& parameterLists) {
  std::vector<std::string> arguments = {"--seeds", SeedsText(seeds), "--dir", folder, "--logs",
                                        logs,      "--quiet"};
  if (!jobs.is_none()) arguments.insert(arguments.end(), {"--jobs", ValueText(jobs)});
  if (py::isinstance<py::tuple>(shard)) {
    const auto [k, n] = shard.cast<std::pair<py::object, py::object>>();
    arguments.insert(arguments.end(), {"--shard", ValueText(k) + "/" + ValueText(n)});
  } else if (!shard.is_none()) {
    arguments.insert(arguments.end(), {"--shard", ValueText(shard)});
  }
  if (force) arguments.emplace_back("--force");
  for (const auto& [keyword, values] : parameterLists) {
    if (values.is_none()) continue;
    const std::string name = py::str(keyword);
    if (name == "reseed") {
      if (values.cast<bool>()) arguments.emplace_back("--reseed");
      continue;
    }
    if (name == "protocol") {
      arguments.insert(arguments.end(), {"--protocol", PathsText(values)});
      continue;
    }
    const std::string option =
        name == "generator" ? name : std::string(OptionOfKeyword(py::str(keyword)).name);
    arguments.insert(arguments.end(), {"--" + option, ValuesText(values)});
  }
  for (std::string& word : ActionWords(actions)) arguments.push_back(std::move(word));
  return arguments;
}
}  // namespace

py::dict PlayEnsemble(const std::string& folder, py::handle seeds, py::handle actions,
                      py::handle jobs, py::handle shard, const std::string& logs, bool force,
                      const py::kwargs& parameterLists) {
  const BatchOptions options = ParseCommandLine(
      CommandLine(folder, seeds, actions, jobs, shard, logs, force, parameterLists));
  // As orvel-batch --dir: the folder and its missing parents are made.
  if (std::string error; !runtime::MakeFolder(folder, error)) RaiseOSError(error, folder);
  Interruption interruption;
  interruption.Start();
  int status = 0;
  {
    const py::gil_scoped_release released;
    status = RunEnsemble(options, nullptr, PlayUnit, [&] { return interruption.Poll(); });
  }
  // Ctrl-C: the units played so far are complete and in the summary; the same call finishes.
  interruption.RaisePending();
  // Units that diverged are complete, their step in the summary's diverged_at.
  if (status != 0 && status != kDivergedStatus) {
    throw std::runtime_error("the ensemble in " + folder + " ended with status " +
                             std::to_string(status) + "; standard error says why");
  }
  return Summary(folder);
}

py::dict Summary(const std::string& folder) {
  const std::string path = folder + "/" + kSummaryName;
  CheckReadableFile(path);
  const runtime::Read<SummaryTable> table = ReadEnsembleSummaryFile(path);
  if (!table) throw py::value_error(path + ": " + table.Error());
  return SummaryColumns(*table);
}
