// The orvel Python module: its classes, functions and manual.
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include "CommandLine.h"
#include "CourseColumns.h"
#include "Ensembles.h"
#include "ParameterKeywords.h"
#include "PythonSession.h"
#include "Random.h"
#include "Version.h"

namespace py = pybind11;

namespace {
const char* const kModuleDoc =
    R"(One BCM neuron learning from two eyes, as the orvel window and orvel-batch simulate it.

Session runs one simulation; ensemble() runs many as orvel-batch --seeds does. The same seed and
actions give the same numbers, bit for bit, as orvel-batch, and with logs= the same files.)";

std::string SessionDoc() {
  return R"(Session(seed, *, logs=None, generator="classic", **parameters)

One simulation, driven as orvel-batch drives it: run, check, reset, eyes on and off, save and
restore. seed is the generator's seed (0 ... 4294967295), as orvel-batch --seed takes it.
generator is "classic" (orvel-batch's default) or "pcg32", whose measurement stream keeps
check() and the logged probes from moving training (orvel-batch --generator).

A run() whose learning step makes the response or the threshold infinite or NaN stops there and
raises orvel.Diverged (a RuntimeError) with the step in its step attribute; reset() recovers.

logs=None keeps the course in memory only (the course property); logs="DIR" also writes in DIR
the files orvel-batch --dir DIR writes: the seven logs, course.csv and run.json. They hold every
logged step whenever run() returns.

The parameters, by keyword, with the command line's checks (a bad value raises ValueError with
orvel-batch's message):
)" + ParameterManual() +
         R"(
The neuron's constants (rate, tau, theta0, init_weights) apply to the neuron drawn at the start
and at every reset(); the others to every step.)";
}

std::unique_ptr<PythonSession> MakeSession(const py::object& seed,
                                           const std::optional<std::string>& logs,
                                           const std::string& generator,
                                           const py::kwargs& parameters) {
  Parameters chosen;
  SetFromKeywords(chosen, parameters);
  const auto kind = runtime::GeneratorNamed(generator);
  if (!kind) throw py::value_error("generator takes classic or pcg32, not " + generator);
  return std::make_unique<PythonSession>(ParseSeed(ValueText(seed)), chosen, logs, *kind);
}

void DefineSession(py::module_& module) {
  py::class_<PythonSession>(module, "Session", SessionDoc().c_str())
      .def(py::init(&MakeSession), py::arg("seed"), py::kw_only(), py::arg("logs") = py::none(),
           py::arg("generator") = "classic")
      .def("run", &PythonSession::Run, py::arg("steps"),
           "Trains for steps steps (at least 1), as orvel-batch's run=STEPS. Other Python threads "
           "go on meanwhile; Ctrl-C ends it early with KeyboardInterrupt, the session usable and "
           "its files whole.")
      .def_property_readonly("running", &PythonSession::Running,
                             "Whether run() is going on, in whichever thread.")
      .def_property(
          "left", &PythonSession::Left,
          [](PythonSession& self, bool on) { self.SetEyes(on, self.Right()); },
          "Whether the left eye sees patterns from the next step on (left=on/off).")
      .def_property(
          "right", &PythonSession::Right,
          [](PythonSession& self, bool on) { self.SetEyes(self.Left(), on); },
          "Whether the right eye sees patterns from the next step on (right=on/off).")
      .def("reset", &PythonSession::Reset,
           "Replaces the neuron by a fresh one drawn from the generator (reset).")
      .def("check", &PythonSession::Check,
           "The Check It Out responses (check): a (12, 3) array, a row per pattern position, "
           "columns left eye, right eye, whole response. The neuron does not learn from them, "
           "but the noise they draw moves the generator on.")
      .def_property_readonly("seed", &PythonSession::Seed, "The seed the session started from.")
      .def_property_readonly("weights", &PythonSession::Weights,
                             "A copy of the 24 weights: the left eye's 12, then the right eye's.")
      .def_property_readonly("theta", &PythonSession::Theta, "The sliding threshold.")
      .def_property_readonly("trained_steps", &PythonSession::TrainedSteps,
                             "Training steps of the whole session so far.")
      .def_property_readonly("parameters", &PythonSession::ParameterValues,
                             "Every parameter by keyword; closed_noise is None while it follows "
                             "noise.")
      .def_property_readonly("course", &PythonSession::Course,
                             "The course record: a dict of numpy arrays, one per column of "
                             "course.csv, a row per logged step of every run.")
      .def(
          "course_frame", [](const PythonSession& self) { return Frame(self.Course()); },
          "The course record as a pandas DataFrame (needs pandas).")
      .def("save", &PythonSession::Save, py::arg("path"),
           "Saves the state whole (save=FILE): the neuron, its history, the generator, the "
           "parameters and the eyes. OSError when it cannot be written.")
      .def("restore", &PythonSession::Restore, py::arg("path"),
           "restore(path, **overrides)\n\nContinues the state saved at path in this session, "
           "eyes included (load=FILE); the keywords replace the state's parameters, as "
           "--override-parameters does. OSError when the file cannot be read, ValueError when "
           "it is not a state.")
      .def_static(
          "load",
          [](const std::string& path, const std::optional<std::string>& logs,
             const py::kwargs& overrides) {
            auto session = std::make_unique<PythonSession>(0, Parameters{}, logs,
                                                           runtime::GeneratorKind::kClassic);
            session->Restore(path, overrides);
            return session;
          },
          py::arg("path"), py::kw_only(), py::arg("logs") = py::none(),
          "load(path, *, logs=None, **overrides)\n\nA new session continuing the state saved at "
          "path; see restore().")
      .def("close", &PythonSession::Close,
           "Writes every pending log line and closes the files; later actions raise "
           "RuntimeError. A session closes itself when it is collected.")
      .def("__enter__", [](PythonSession& self) -> PythonSession& { return self; })
      .def("__exit__", [](PythonSession& self, const py::args&) { self.Close(); })
      .def("__repr__", [](const PythonSession& self) {
        return "<orvel.Session seed=" + std::to_string(self.Seed()) +
               (self.Running() ? " running>"
                               : " trained_steps=" + std::to_string(self.TrainedSteps()) + ">");
      });
}

void DefineEnsembles(py::module_& module) {
  module.def(
      "ensemble", &PlayEnsemble, py::arg("dir"), py::arg("seeds"), py::arg("actions"),
      py::kw_only(), py::arg("jobs") = py::none(), py::arg("shard") = py::none(),
      py::arg("logs") = "all", py::arg("force") = false,
      R"(ensemble(dir, seeds, actions, *, jobs=None, shard=None, logs="all", force=False, protocol=None, reseed=False, **parameter_lists)

Plays the ensemble orvel-batch --seeds plays, with orvel-batch's own code: a unit per seed and
combination of listed values, each in its folder under dir (made with its missing parents), a rerun
skipping complete units; then returns the summary (see summary()). A unit whose run diverged is
complete: its step is in the summary's diverged_at, and the figure leaves it out.

seeds: "1-5,9", an int, a range or a list of ints. actions: "run=100000 check" or a list of such
words. jobs: units at once (default: the cores). shard: "K/N" or (K, N). logs: "all", "course" or
"none". force: replace an ensemble made by other arguments. Each parameter keyword takes a value or
a list of values, as Session's; a list makes one unit per value. generator: "pcg32" (the default
of ensembles), "classic" or a list of both. protocol: an action file or a list of them, each a
listed dimension played after actions (folders protocol=NAME, NAME the file's without .txt, and a
protocol column in the summary). reseed=True: every load= restarts the generator from the unit's
seed, so units branched from one saved state differ. In actions, save=NAME saves in each unit's
folder and load=PATH fills in {seed} and {unit}.

Other Python threads go on while it plays. Ctrl-C ends it early with KeyboardInterrupt: the units
under way stop with their logs whole and stay incomplete, summary.csv holds the complete ones, and
the same call again finishes the ensemble.)");
  module.def("summary", &Summary, py::arg("dir"),
             "The ensemble's summary.csv in dir as a dict of numpy arrays: a row per check of "
             "every complete unit.");
  module.def(
      "summary_frame", [](const std::string& dir) { return Frame(Summary(dir)); }, py::arg("dir"),
      "The ensemble's summary as a pandas DataFrame (needs pandas).");
}
}  // namespace

PYBIND11_MODULE(orvel, module) {
  module.doc() = kModuleDoc;
  module.attr("__version__") = runtime::kVersion;
  py::register_exception_translator([](std::exception_ptr thrown) {
    try {
      if (thrown) std::rethrow_exception(thrown);
    } catch (const UsageError& error) {
      PyErr_SetString(PyExc_ValueError, error.what());
    }
  });
  // A RuntimeError, so that code catching those catches this too; raised with its step set.
  py::exception<std::runtime_error>(module, "Diverged", PyExc_RuntimeError).doc() =
      "A run() made the neuron's response or threshold infinite or NaN; step is the training "
      "step it happened at.";
  DefineSession(module);
  DefineEnsembles(module);
}
