#include "PythonErrors.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <pybind11/pybind11.h>

namespace py = pybind11;

void RaiseOSError(int error, const std::string& path) {
  errno = error;
  PyErr_SetFromErrnoWithFilename(PyExc_OSError, path.c_str());
  throw py::error_already_set();
}

void RaiseOSError(const std::string& message, const std::string& path) {
  py::object error = py::module_::import("builtins").attr("OSError")(message);
  error.attr("filename") = path;
  PyErr_SetObject(PyExc_OSError, error.ptr());
  throw py::error_already_set();
}

void CheckWritableFolder(const std::string& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) RaiseOSError(errno, path);
  if (!S_ISDIR(status.st_mode)) RaiseOSError(ENOTDIR, path);
  if (::access(path.c_str(), W_OK | X_OK) != 0) RaiseOSError(errno, path);
}

void CheckReadableFile(const std::string& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) RaiseOSError(errno, path);
  if (S_ISDIR(status.st_mode)) RaiseOSError(EISDIR, path);
  if (::access(path.c_str(), R_OK) != 0) RaiseOSError(errno, path);
}
